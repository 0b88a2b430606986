#include "QtHost.h"

#include "QtCanvas.h"
#include "TCursorView.h"
#include "TDialogView.h"
#include "THelpViewer.h"
#include "TMainWindow.h"
#include "TModelSubWindow.h"
#include "TModelView.h"
#include "TToolPlacement.h"
#include "core/TProgramFolder.h"
#include "ui/TDialogModel.h"
#include "ui/TWindowModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>

QtHost::QtHost(TMainWindow& window, const TProgramFolder& folder) : window_(window), folder_(folder) {}

QtHost::~QtHost()
{
    for (auto& [model, view] : views_)
        if (view)
            delete view.data();
    for (auto& [model, view] : dialogs_)
        if (view)
            delete view.data();
}

TMsgAnswer QtHost::Message(const std::string& text, const std::string& title, TMsgButtons buttons, TMsgIcon icon)
{
    QMessageBox box(&window_);
    // Texts carry "\r\n" line ends from their stored form.
    QString t = QString::fromStdString(text);
    t.replace("\r\n", "\n");
    box.setText(t);
    box.setWindowTitle(QString::fromStdString(title));
    switch (icon) {
    case TMsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case TMsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case TMsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case TMsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case TMsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case TMsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case TMsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case TMsgButtons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return TMsgAnswer::Ok;
    case QMessageBox::Yes: return TMsgAnswer::Yes;
    case QMessageBox::No: return TMsgAnswer::No;
    case QMessageBox::Retry: return TMsgAnswer::Retry;
    default: return TMsgAnswer::Cancel;
    }
}

void QtHost::Beep() { QApplication::beep(); }

void QtHost::MessageWithCheckBox(const std::string& text, const std::string& title, const std::string& checkText,
                                 bool& checked)
{
    QMessageBox box(&window_);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    box.setIcon(QMessageBox::Information);
    auto* check = new QCheckBox(QString::fromStdString(checkText), &box);
    check->setChecked(checked);
    box.setCheckBox(check);
    box.addButton("&OK", QMessageBox::AcceptRole);
    box.exec();
    checked = check->isChecked();
}

bool QtHost::InputText(const std::string& title, const std::string& prompt, std::string& value, int maxLength)
{
    QInputDialog dialog(&window_);
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString::fromStdString(value));
    // The field takes no more than is kept, and is wide enough to show all of it.
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        if (maxLength > 0) {
            edit->setMaxLength(maxLength);
            edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * std::min(maxLength, 60) + 16);
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QString text = dialog.textValue();
    if (maxLength > 0)
        text.truncate(maxLength);
    value = text.toStdString();
    return true;
}

QString QtHost::QtFilter(const std::string& filter)
{
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        QString name = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        if (name.contains('('))
            name = name.left(name.indexOf('(')).trimmed();
        out << QString("%1 (%2)").arg(name, patterns);
    }
    return out.join(";;");
}

QString QtHost::StartPath(const TProgramFolder& programFolder, const TFileRequest& request,
                          const QString& projectFolder, const QString& lastFolder)
{
    // A name with a folder is where the file is (relative ones by the program folder
    // rule); a bare name or none starts beside the open project, else where the user
    // last went, else the working folder, never the program's own folder.
    const std::string& name = request.initialName;
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return QString::fromStdString(programFolder.Resolve(TProgramFolder::Normalise(name)));
    QString folder = !request.initialFolder.empty() ? QString::fromStdString(request.initialFolder)
                     : !projectFolder.isEmpty()     ? projectFolder
                     : !lastFolder.isEmpty()        ? lastFolder
                                                    : QDir::currentPath();
    return name.empty() ? folder : QDir(folder).filePath(QString::fromStdString(name));
}

QString QtHost::InitialPath(const TFileRequest& request) const
{
    return StartPath(folder_, request, projectFolder ? QString::fromStdString(projectFolder()) : QString(),
                     lastFolder_);
}

void QtHost::NoteChosen(const QString& path) { lastFolder_ = QFileInfo(path).absolutePath(); }

bool QtHost::ChooseOpenFile(const TFileRequest& request, std::string& path)
{
    QString chosen = QFileDialog::getOpenFileName(&window_, QString::fromStdString(request.title), InitialPath(request),
                                                  QtFilter(request.filter));
    if (chosen.isEmpty())
        return false;
    NoteChosen(chosen);
    path = chosen.toStdString();
    return true;
}

bool QtHost::ChooseSaveFile(const TFileRequest& request, std::string& path)
{
    QFileDialog dialog(&window_, QString::fromStdString(request.title), InitialPath(request), QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    // A name typed without extension takes the chosen type's, not always the first one.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        QRegularExpressionMatch m = QRegularExpression(R"(\*\.(\w+))").match(filter);
        if (m.hasMatch())
            dialog.setDefaultSuffix(m.captured(1));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    NoteChosen(dialog.selectedFiles().first());
    path = dialog.selectedFiles().first().toStdString();
    return true;
}

void QtHost::BeginWait() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void QtHost::EndWait() { QApplication::restoreOverrideCursor(); }

void QtHost::EnableCommand(int id, bool enabled) { window_.EnableCommand(id, enabled); }
void QtHost::RemoveCommand(int id) { window_.RemoveCommand(id); }
void QtHost::SetCommandText(int id, const std::string& text) { window_.SetCommandText(id, QString::fromStdString(text)); }
void QtHost::CheckCommand(int id, bool checked) { window_.CheckCommand(id, checked); }
void QtHost::SwitchMenu(int menu) { window_.SwitchMenu(menu); }
void QtHost::RestoreRemovedCommands() { window_.RestoreRemovedCommands(); }
// "[*]" is where the frame shows its modified marker.
void QtHost::SetMainTitle(const std::string& title) { window_.setWindowTitle(QString::fromStdString(title) + "[*]"); }

void QtHost::PostDeferred(std::function<void()> step) { QTimer::singleShot(0, &window_, std::move(step)); }

void QtHost::OpenHelp(const std::string& fileName)
{
    std::string path = folder_.Resolve("help/" + fileName);
    helpViewers_.push_back(THelpViewer::Open(QString::fromStdString(path), &window_));
}

bool QtHost::StartNewInstance()
{
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

bool QtHost::PrintPages(const std::string& jobName, int pageCount, const TPagePainter& painter)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(jobName));
    // The pages are laid out on the whole sheet: painting starts at its corner, not at
    // the printable area's, which would push everything off the far edges.
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, &window_);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QPainter p;
    if (!p.begin(&printer))
        return false;
    QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
    for (int i = 0; i < pageCount; ++i) {
        if (i > 0)
            printer.newPage();
        QtCanvas canvas(p, page.width(), page.height());
        painter(canvas, i);
    }
    return p.end();
}

bool QtHost::SetClipboardText(const std::string& text)
{
    QApplication::clipboard()->setText(QString::fromStdString(text));
    return true;
}

bool QtHost::CopyViewPicture(TWindowModel& window)
{
    TModelSubWindow* sub = SubWindowOf(window);
    if (!sub)
        return false;
    QPixmap pixmap = sub->View()->grab();
    if (pixmap.isNull())
        return false;
    QApplication::clipboard()->setPixmap(pixmap);
    return true;
}

TModelSubWindow* QtHost::SubWindowOf(const TWindowModel& window) const
{
    auto it = views_.find(&window);
    return it == views_.end() ? nullptr : it->second.data();
}

void QtHost::CreateView(TWindowModel& window)
{
    if (SubWindowOf(window))
        return;
    auto* sub = new TModelSubWindow(window);
    window_.MdiArea()->addSubWindow(sub);
    views_[&window] = sub;
    const TViewPlacement p = window.placement; // showing stores the placement anew
    sub->ApplyRestoredRect();
    switch (p.show) {
    case TShowState::Hidden: sub->hide(); break;
    case TShowState::Normal: sub->showNormal(); break;
    case TShowState::Minimised: sub->showMinimized(); break;
    case TShowState::Maximised: sub->showMaximized(); break;
    }
}

void QtHost::DestroyView(TWindowModel& window)
{
    auto it = views_.find(&window);
    if (it == views_.end())
        return;
    // Taking a view out of the area sends it hide and move events, which would store
    // "hidden" as the model's placement; a view made anew must find what the model holds.
    const TViewPlacement placement = window.placement;
    if (it->second) {
        window_.MdiArea()->removeSubWindow(it->second.data());
        delete it->second.data();
    }
    views_.erase(it);
    window.placement = placement;
}

void QtHost::ShowView(TWindowModel& window)
{
    TModelSubWindow* sub = SubWindowOf(window);
    if (!sub) {
        CreateView(window);
        sub = SubWindowOf(window);
    }
    const TRect restored = window.placement.restored; // showing stores the placement anew
    sub->showNormal();
    window.placement.restored = restored;
    sub->ApplyRestoredRect();
    sub->raise();
    sub->StorePlacement();
}

void QtHost::HideView(TWindowModel& window)
{
    if (TModelSubWindow* sub = SubWindowOf(window)) {
        sub->hide();
        sub->StorePlacement();
    }
}

void QtHost::RedrawView(TWindowModel& window)
{
    if (TModelSubWindow* sub = SubWindowOf(window)) {
        // A window may say in its caption what it shows (the room window's two modes).
        const QString title = QString::fromStdString(window.Title());
        if (sub->windowTitle() != title)
            sub->setWindowTitle(title);
        sub->View()->update();
    }
}

bool QtHost::IsViewMinimised(const TWindowModel& window) const
{
    TModelSubWindow* sub = SubWindowOf(window);
    return !sub || sub->isMinimized() || sub->isHidden();
}

TWindowModel* QtHost::ActiveView() const
{
    auto* sub = qobject_cast<TModelSubWindow*>(window_.MdiArea()->activeSubWindow());
    return sub ? &sub->Model() : nullptr;
}

void QtHost::ViewClientSize(const TWindowModel& window, int& width, int& height) const
{
    TModelSubWindow* sub = SubWindowOf(window);
    if (!sub) {
        width = window.DefaultWidth();
        height = window.DefaultHeight();
        return;
    }
    QSize client = sub->View()->ClientSize();
    width = client.width();
    height = client.height();
}

void QtHost::ShowDialog(TDialogModel& dialog)
{
    auto it = dialogs_.find(&dialog);
    if (it != dialogs_.end() && it->second) {
        it->second->show();
        it->second->raise();
        return;
    }
    QWidget* view = TDialogView::Create(dialog, &window_);
    dialogs_[&dialog] = view;
    if (!dialog.position.Placed()) {
        // Not shown yet, the window has no frame: its title bar is reckoned in.
        QSize frame = view->size() + QSize(0, window_.style()->pixelMetric(QStyle::PM_TitleBarHeight));
        view->move(TToolPlacement::Beside(window_, frame, view));
        view->show();
        // Polished and shown, a window may come out a little larger than reckoned.
        QSize shown = view->frameGeometry().size();
        if (shown == view->size())
            shown += frame - view->size();
        if (shown != frame)
            view->move(TToolPlacement::Beside(window_, shown, view));
        return;
    }
    view->show();
}

void QtHost::CloseDialog(TDialogModel& dialog)
{
    auto it = dialogs_.find(&dialog);
    if (it == dialogs_.end())
        return;
    if (it->second)
        it->second->deleteLater();
    dialogs_.erase(it);
}

void QtHost::RefreshDialog(TDialogModel& dialog)
{
    auto it = dialogs_.find(&dialog);
    if (it != dialogs_.end() && it->second)
        TDialogView::Reload(it->second.data());
}

std::unique_ptr<TFieldView> QtHost::CreateFieldView(TFieldSource& source)
{
    return TCursorView::Create(source, &window_);
}

std::vector<QWidget*> QtHost::DialogWidgets() const
{
    std::vector<QWidget*> out;
    for (const auto& [model, view] : dialogs_)
        if (view && view->isVisible())
            out.push_back(view.data());
    return out;
}
