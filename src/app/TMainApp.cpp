#include "TMainApp.h"

#include "QtHost.h"
#include "TMainWindow.h"
#include "ui/TCommandIds.h"

#include <QMdiArea>
#include <QMessageBox>

TMainApp::TMainApp() : window_(std::make_unique<TMainWindow>()), host_(std::make_unique<QtHost>(*window_))
{
    window_->setWindowTitle(kMainTitle);
    window_->SetAvailability([this](int id) { return CommandAvailable(id); });
    window_->SetCommandHandler([this](int id) { return RunCommand(id); });
    window_->SwitchMenu(window_->CurrentMenu());
}

TMainApp::~TMainApp()
{
    host_.reset();
    window_.reset();
}

void TMainApp::Start(const QString&)
{
    window_->show();
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
    default: return false;
    }
}

bool TMainApp::RunCommand(int id)
{
    switch (id) {
    case TCmd::Exit: window_->close(); return true;
    case TCmd::About: About(); return true;
    case TCmd::NewInstance: host_->StartNewInstance(); return true;
    case TCmd::Cascade: window_->MdiArea()->cascadeSubWindows(); return true;
    case TCmd::Tile: window_->MdiArea()->tileSubWindows(); return true;
    case TCmd::ArrangeIcons: window_->MdiArea()->tileSubWindows(); return true;
    default: return false;
    }
}

void TMainApp::About()
{
    QMessageBox::about(window_.get(), "About Tonvek",
                       "Tonvek 4.10 Beta\n\nDesign tool for loudspeaker systems:\n"
                       "enclosures, crossovers and measured drivers.");
}
