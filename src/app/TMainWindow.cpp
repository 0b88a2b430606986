#include "TMainWindow.h"

#include "TAppIcon.h"

#include "shell/TMenus.h"
#include "ui/TCommandIds.h"
#include "ui/TMenuSpec.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QKeySequence>

namespace {
QString PlainText(const QString& text)
{
    QString t = text;
    t.remove('&');
    return t;
}

// The keys desktop users reach for; Ctrl+N follows the open project's type.
QKeySequence StandardShortcut(int id)
{
    switch (id) {
    case TCmd::Open: return QKeySequence(Qt::CTRL | Qt::Key_O);
    case TCmd::Save: return QKeySequence(Qt::CTRL | Qt::Key_S);
    case TCmd::SaveAs: return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    case TCmd::PrintWindow: return QKeySequence(Qt::CTRL | Qt::Key_P);
    case TCmd::Exit: return QKeySequence(Qt::CTRL | Qt::Key_Q);
    default: return {};
    }
}
} // namespace

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this))
{
    // The child windows and dialogs take the program's icon from here.
    setWindowIcon(TAppIcon::Get());
    mdi_->setBackground(QBrush(QColor(128, 128, 128)));
    setCentralWidget(mdi_);
    // Room for two plots beside the information window where the screen allows.
    QSize size(1400, 840);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    SwitchMenu(TMenus::NoProject);
}

QAction* TMainWindow::ActionFor(const TMenuItem& item)
{
    auto it = actions_.find(item.id);
    if (it != actions_.end())
        return it->second;
    auto* action = new QAction(QString::fromStdString(item.text), this);
    int id = item.id;
    action->setShortcut(id == TCmd::NewProjectBase + newShortcutType_ ? QKeySequence(Qt::CTRL | Qt::Key_N)
                                                                      : StandardShortcut(id));
    connect(action, &QAction::triggered, this, [this, id] { Trigger(id); });
    action->setVisible(removed_.count(id) == 0);
    actions_[id] = action;
    return action;
}

void TMainWindow::AddItems(QMenu* menu, const std::vector<TMenuItem>& items, const QString& path)
{
    for (const TMenuItem& item : items) {
        if (item.separator()) {
            menu->addSeparator();
        } else if (item.id == 0) {
            QMenu* sub = menu->addMenu(QString::fromStdString(item.text));
            AddItems(sub, item.items, path + PlainText(QString::fromStdString(item.text)) + ">");
        } else {
            QAction* action = ActionFor(item);
            menu->addAction(action);
            byPath_[path + PlainText(action->text())] = action;
        }
    }
}

void TMainWindow::SwitchMenu(int menu)
{
    menu_ = menu;
    menuBar()->clear();
    for (QMenu* old : menus_)
        old->deleteLater();
    menus_.clear();
    byPath_.clear();
    for (const TMenuItem& top : TMenus::Bar(menu)) {
        if (top.id != 0) {
            QAction* action = ActionFor(top);
            menuBar()->addAction(action);
            byPath_[PlainText(action->text())] = action;
            continue;
        }
        QMenu* m = menuBar()->addMenu(QString::fromStdString(top.text));
        menus_.push_back(m);
        AddItems(m, top.items, PlainText(QString::fromStdString(top.text)) + ">");
    }
    BuildRecentMenu();
    RefreshAvailability();
}

void TMainWindow::BuildRecentMenu()
{
    recentMenu_ = nullptr;
    QAction* exit = Action(TCmd::Exit);
    if (!exit)
        return;
    for (QMenu* m : menus_) {
        if (!m->actions().contains(exit))
            continue;
        recentMenu_ = new QMenu("&Recent projects", m);
        m->insertMenu(exit, recentMenu_);
        m->insertSeparator(exit);
        break;
    }
    if (!recentMenu_)
        return;
    recentMenu_->setEnabled(!recent_.isEmpty());
    for (int i = 0; i < recent_.size(); ++i) {
        const QString path = recent_[i];
        QString label = QString("&%1 %2").arg(i + 1).arg(fontMetrics().elidedText(path, Qt::ElideMiddle, 420));
        QAction* a = recentMenu_->addAction(label);
        a->setToolTip(path);
        connect(a, &QAction::triggered, this, [this, path] {
            if (onOpenRecent)
                onOpenRecent(path);
        });
    }
}

void TMainWindow::SetRecentProjects(const QStringList& paths)
{
    if (paths == recent_)
        return;
    recent_ = paths;
    SwitchMenu(menu_); // the old menus go with their recent entries
}

void TMainWindow::SetNewShortcutType(int typeCode)
{
    if (typeCode == newShortcutType_)
        return;
    if (QAction* old = Action(TCmd::NewProjectBase + newShortcutType_))
        old->setShortcut(StandardShortcut(TCmd::NewProjectBase + newShortcutType_));
    newShortcutType_ = typeCode;
    if (QAction* now = Action(TCmd::NewProjectBase + typeCode))
        now->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
}

void TMainWindow::RefreshAvailability()
{
    for (auto& [id, action] : actions_) {
        bool built = !available_ || available_(id);
        auto e = enabled_.find(id);
        action->setEnabled(built && (e == enabled_.end() || e->second));
    }
}

void TMainWindow::EnableCommand(int id, bool enabled)
{
    enabled_[id] = enabled;
    if (QAction* a = Action(id))
        a->setEnabled(enabled && (!available_ || available_(id)));
}

void TMainWindow::RemoveCommand(int id)
{
    // A new project removes its commands before the shell builds its menu.
    removed_.insert(id);
    if (QAction* a = Action(id))
        a->setVisible(false);
}

void TMainWindow::RestoreRemovedCommands()
{
    for (int id : removed_)
        if (QAction* a = Action(id))
            a->setVisible(true);
    removed_.clear();
}

void TMainWindow::SetCommandText(int id, const QString& text)
{
    if (QAction* a = Action(id))
        a->setText(text);
}

void TMainWindow::CheckCommand(int id, bool checked)
{
    if (QAction* a = Action(id)) {
        a->setCheckable(true);
        a->setChecked(checked);
    }
}

QAction* TMainWindow::Action(int id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* TMainWindow::ActionByPath(const QString& path) const
{
    auto it = byPath_.find(path);
    return it == byPath_.end() ? nullptr : it->second;
}

bool TMainWindow::Trigger(int id)
{
    return handler_ && handler_(id);
}

void TMainWindow::closeEvent(QCloseEvent* event)
{
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    event->accept();
}
