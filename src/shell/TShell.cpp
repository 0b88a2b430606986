#include "TShell.h"

#include "TMenus.h"
#include "TProjectTypes.h"
#include "TYankee.h"
#include "box/TBoxEmbryo.h"
#include "core/TBinaryStream.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"
#include "ui/TProject.h"

TShell::TShell(THost& host, TProjectFactory factory) : host_(host), factory_(std::move(factory)) {}

TShell::~TShell()
{
    project_.reset();
    yankee_.reset();
}

TYankee& TShell::YankeeTool()
{
    if (!yankee_)
        yankee_ = std::make_unique<TYankee>(host_);
    return *yankee_;
}

bool TShell::CommandAvailable(int id) const
{
    if (id >= TCmd::NewProjectBase && id < TCmd::NewProjectBase + 30)
        return factory_.Knows(id - TCmd::NewProjectBase);
    if (id == TCmd::Open || id == TCmd::YankeeTool)
        return true;
    return project_ && project_->HandlesCommand(id);
}

bool TShell::HandleCommand(int id)
{
    if (id >= TCmd::NewProjectBase && id < TCmd::NewProjectBase + 30) {
        if (!factory_.Knows(id - TCmd::NewProjectBase))
            return false;
        NewProject(id - TCmd::NewProjectBase);
        return true;
    }
    if (id == TCmd::Open) {
        OpenWithChooser();
        return true;
    }
    if (id == TCmd::YankeeTool) {
        YankeeTool().Open();
        return true;
    }
    if (project_ && project_->HandlesCommand(id))
        return project_->HandleCommand(id);
    return false;
}

bool TShell::AskSaveOpenProject()
{
    return !project_ || project_->AskSaveChanges();
}

void TShell::CloseProject()
{
    if (yankee_ && yankee_->IsOpen())
        yankee_->Close();
    project_.reset();
    typeCode_ = -1;
    if (onProjectClosed)
        onProjectClosed();
}

void TShell::NewProject(int typeCode)
{
    if (!AskSaveOpenProject())
        return;
    CloseProject();
    auto project = factory_.Create(typeCode, host_);
    if (!project) {
        host_.SwitchMenu(TMenus::NoProject);
        host_.SetMainTitle(kBaseTitle);
        return;
    }
    host_.SwitchMenu(TProjectTypes::MenuOf(typeCode));
    project_ = std::move(project);
    typeCode_ = typeCode;
    project_->SetMainTitle(false);
    // The hint is read over the project's plots, and the unit chooser follows it.
    if (auto* box = dynamic_cast<TBoxEmbryo*>(project_.get()))
        box->RestoreStartWindows();
    if (project_->IsBoxProject() && showUnitHint_) {
        bool dontShow = false;
        host_.MessageWithCheckBox("In order to be able to proceed you must load a driver unit.\n\n"
                                  "The Driver Unit | Load dialog will be opened automatically \n"
                                  "after this dialog is closed.",
                                  "Load a driver unit", "Don't show this message later", dontShow);
        showUnitHint_ = !dontShow;
    }
    project_->StartNew(showUnitHint_);
}

void TShell::OpenWithChooser()
{
    if (!AskSaveOpenProject())
        return;
    TFileRequest request{"Open", OpenFilter, "box", openFileName_, {}};
    std::string path;
    if (!host_.ChooseOpenFile(request, path))
        return;
    OpenProject(path);
}

void TShell::OpenProject(const std::string& path)
{
    openFileName_ = path;
    TBinaryReader reader;
    // Only the type code is needed here; the project reads the file itself.
    if (!reader.Open(path, sizeof(std::int32_t))) {
        host_.Message("Could not open project.\nThe filname probably points at\na nonexisting file.", "Tonvek project",
                      TMsgButtons::Ok, TMsgIcon::Warning);
        return;
    }
    std::int32_t code = 0;
    if (!reader.ReadInt32(code)) {
        host_.Message("Could not read project.\nThe project file is corrupt.", "Box project", TMsgButtons::Ok,
                      TMsgIcon::Warning);
        return;
    }
    CloseProject();
    auto project = factory_.Create(code, host_);
    if (!project) {
        host_.SwitchMenu(TMenus::NoProject);
        host_.SetMainTitle(kBaseTitle);
        host_.Message("Bad data in file.\nThe project file is corrupt.", "Error", TMsgButtons::Ok, TMsgIcon::Error);
        return;
    }
    host_.SwitchMenu(TProjectTypes::MenuOf(code));
    project_ = std::move(project);
    typeCode_ = code;
    if (project_->Load(path)) {
        project_->SetMainTitle(true);
        return;
    }
    host_.Message("Error while reading box data.\nThe project file is corrupt.", "", TMsgButtons::Ok, TMsgIcon::Error);
    project_->Reset();
    project_->SetMainTitle(false);
}

void TShell::RecalcRequest(int kind)
{
    if (project_)
        project_->RecalcRequest(kind);
}
