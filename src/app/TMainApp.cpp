#include "TMainApp.h"

#include "QtHost.h"
#include "TMainWindow.h"
#include "TStartScreen.h"
#include "settings/TProgramContext.h"
#include "shell/TMainConfig.h"
#include "shell/TOutOfMemory.h"
#include "shell/TRecentProjects.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"
#include "ui/TProject.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScreen>

namespace {
constexpr const char* kRecentKey = "recentProjects";

TRecentProjects LoadRecent()
{
    QSettings settings;
    std::vector<std::string> items;
    for (const QString& p : settings.value(kRecentKey).toStringList())
        items.push_back(p.toStdString());
    return TRecentProjects(items);
}
} // namespace

TMainApp::TMainApp(TProgramContext& context)
    : context_(context), window_(std::make_unique<TMainWindow>()),
      host_(std::make_unique<QtHost>(*window_, context.Folder())), shell_(std::make_unique<TShell>(*host_, context))
{
    window_->setWindowTitle(QString(kBaseTitle) + "[*]");
    window_->SetAvailability([this](int id) { return CommandAvailable(id); });
    window_->SetCommandHandler([this](int id) { return RunCommand(id); });
    window_->SetCloseGuard([this] { return CloseRequested(); });
    window_->SwitchMenu(window_->CurrentMenu());
    shell_->onProjectClosed = [this] { window_->MdiArea()->closeAllSubWindows(); };
    window_->onOpenRecent = [this](const QString& path) { OpenRecent(path); };
    host_->projectFolder = [this] {
        TProject* project = shell_->Project();
        std::string file = project ? project->FileName() : std::string();
        return file.empty() ? std::string() : QFileInfo(QString::fromStdString(file)).absolutePath().toStdString();
    };
    SetRecent(LoadRecent());
    // Saves and edits happen inside project commands and dialogs; a light poll keeps
    // the title's marker and the recent list in step without hooks in every one.
    follow_ = new QTimer(this);
    follow_->setInterval(250);
    connect(follow_, &QTimer::timeout, this, [this] { FollowProject(); });
    follow_->start();
}

void TMainApp::SetRecent(const TRecentProjects& recent)
{
    QStringList paths;
    for (const std::string& p : recent.Items())
        paths << QString::fromStdString(p);
    window_->SetRecentProjects(paths);
}

void TMainApp::FollowProject()
{
    TProject* project = shell_->Project();
    window_->setWindowModified(project && project->IsModified());
    window_->SetNewShortcutType(project ? project->TypeCode() : 0);
    const std::string name = project ? project->FileName() : std::string();
    if (name.empty())
        return;
    // Absolute, so the entry still opens after a start from another folder.
    const std::string file = QFileInfo(QString::fromStdString(name)).absoluteFilePath().toStdString();
    TRecentProjects recent = LoadRecent();
    if (!recent.Add(file))
        return;
    QStringList stored;
    for (const std::string& p : recent.Items())
        stored << QString::fromStdString(p);
    QSettings().setValue(kRecentKey, stored);
    SetRecent(recent);
}

void TMainApp::OpenRecent(const QString& path)
{
    if (!shell_->AskSaveOpenProject())
        return;
    shell_->OpenProject(path.toStdString());
    if (!QFileInfo::exists(path)) {
        // A project that is gone leaves the list.
        TRecentProjects recent = LoadRecent();
        recent.Remove(path.toStdString());
        QStringList stored;
        for (const std::string& p : recent.Items())
            stored << QString::fromStdString(p);
        QSettings().setValue(kRecentKey, stored);
        SetRecent(recent);
    }
    window_->RefreshAvailability();
    FollowProject();
}

TMainApp::~TMainApp()
{
    TOutOfMemory::Uninstall();
    shell_.reset();
    host_.reset();
    window_.reset();
}

void TMainApp::Start(const StartOptions& options)
{
    if (options.startScreen)
        TStartScreen::Show();
    TMainConfig config = TMainConfig::Read(context_.Folder().Resolve(TMainConfig::FileName));
    if (config.rect) {
        const QRect s = window_->screen()->availableGeometry();
        if (auto r = PlaceOnScreen(*config.rect, {s.left(), s.top(), s.left() + s.width(), s.top() + s.height()})) {
            // The stored rectangle is the client area, without the window manager's
            // frame: placing it by its frame would creep down by a title bar per run.
            window_->setGeometry(r->left, r->top, r->right - r->left, r->bottom - r->top);
        }
    }
    shell_->SetShowUnitHint(config.showUnitHint);
    window_->show();
    TOutOfMemory::Install(*host_);
    if (!options.project.isEmpty())
        shell_->OpenProject(options.project.toStdString());
    FollowProject();
}

bool TMainApp::CloseRequested()
{
    if (!shell_->CanClose())
        return false;
    TMainConfig config;
    QRect g = window_->geometry();
    config.rect = TWindowRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    config.showUnitHint = shell_->ShowUnitHint();
    (void)config.Write(context_.Folder().Resolve(TMainConfig::FileName)); // failures are ignored
    // The frame goes last: tool windows and dialogs must not keep the program running
    // (the cursor readout refuses a close of its own), window manager or not.
    EndProgram();
    return true;
}

void TMainApp::EndProgram()
{
    shell_->CloseProject();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != window_.get() && w->isVisible())
            w->hide();
    QCoreApplication::quit();
}

bool TMainApp::CommandAvailable(int id) const
{
    switch (id) {
    case TCmd::Exit:
    case TCmd::About:
    case TCmd::NewInstance:
    case TCmd::Cascade:
    case TCmd::Tile:
    case TCmd::ArrangeIcons: return true;
    default: return shell_ && shell_->CommandAvailable(id);
    }
}

bool TMainApp::FrameCommand(int id)
{
    switch (id) {
    case TCmd::Exit: window_->close(); return true;
    case TCmd::About: About(); return true;
    case TCmd::NewInstance:
        if (!host_->StartNewInstance())
            host_->Message("Could not start a new instance.", "New instance", TMsgButtons::Ok, TMsgIcon::Warning);
        return true;
    case TCmd::Cascade: window_->MdiArea()->cascadeSubWindows(); return true;
    case TCmd::Tile: window_->MdiArea()->tileSubWindows(); return true;
    case TCmd::ArrangeIcons: ArrangeIcons(); return true;
    default: return false;
    }
}

bool TMainApp::RunCommand(int id)
{
    if (FrameCommand(id))
        return true;
    bool handled = shell_->HandleCommand(id);
    window_->RefreshAvailability(); // availability follows the project
    FollowProject();
    return handled;
}

void TMainApp::ArrangeIcons()
{
    // Minimised children line up along the bottom of the client area, left to right.
    QMdiArea* area = window_->MdiArea();
    int x = 0;
    const int bottom = area->viewport()->height();
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (!w->isMinimized() || w->isHidden())
            continue;
        QSize size = w->size();
        if (x > 0 && x + size.width() > area->viewport()->width())
            x = 0;
        w->move(x, bottom - size.height());
        x += size.width();
    }
}

void TMainApp::About()
{
    QMessageBox::about(window_.get(), "About Tonvek",
                       "Tonvek 4.10 Beta\n\nDesign tool for loudspeaker systems:\n"
                       "enclosures, crossovers and measured drivers.");
}
