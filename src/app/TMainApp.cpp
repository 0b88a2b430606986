#include "TMainApp.h"

#include "QtHost.h"
#include "TMainWindow.h"
#include "TCursorView.h"
#include "TStartScreen.h"
#include "core/TProgramFolder.h"
#include "shell/TMainConfig.h"
#include "shell/TOutOfMemory.h"
#include "shell/TShell.h"
#include "ui/TCommandIds.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScreen>

TMainApp::TMainApp()
    : window_(std::make_unique<TMainWindow>()), host_(std::make_unique<QtHost>(*window_)),
      shell_(std::make_unique<TShell>(*host_))
{
    window_->setWindowTitle(kBaseTitle);
    window_->SetAvailability([this](int id) { return CommandAvailable(id); });
    window_->SetCommandHandler([this](int id) { return RunCommand(id); });
    window_->SetCloseGuard([this] { return CloseRequested(); });
    window_->SwitchMenu(window_->CurrentMenu());
    shell_->onProjectClosed = [this] { window_->MdiArea()->closeAllSubWindows(); };
    TCursorView::Install(window_.get());
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
    TMainConfig config = TMainConfig::Read(TProgramFolder::Resolve(TMainConfig::FileName));
    if (config.rect) {
        const QRect s = window_->screen()->availableGeometry();
        if (auto r = PlaceOnScreen(*config.rect, {s.left(), s.top(), s.left() + s.width(), s.top() + s.height()})) {
            window_->move(r->left, r->top);
            window_->resize(r->right - r->left, r->bottom - r->top);
        }
    }
    shell_->SetShowUnitHint(config.showUnitHint);
    window_->show();
    TOutOfMemory::Install(*host_);
    if (!options.project.isEmpty())
        shell_->OpenProject(options.project.toStdString());
}

bool TMainApp::CloseRequested()
{
    if (!shell_->CanClose())
        return false;
    TMainConfig config;
    QRect g = window_->geometry();
    config.rect = TWindowRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    config.showUnitHint = shell_->ShowUnitHint();
    (void)config.Write(TProgramFolder::Resolve(TMainConfig::FileName)); // failures are ignored
    return true;
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
