#include "TShell.h"

#include "TMenus.h"
#include "TYankee.h"
#include "core/TBinaryStream.h"
#include "settings/TGeneralDialog.h"
#include "settings/TProgramContext.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"
#include "ui/THost.h"
#include "ui/TProject.h"

TShell::TShell(THost& host, TProgramContext& context, TProjectFactory factory)
    : host_(host), context_(context), factory_(std::move(factory))
{}

TShell::~TShell()
{
    project_.reset();
    yankee_.reset();
    generalDialog_.reset();
}

TGeneralDialog& TShell::GeneralSettings()
{
    if (!generalDialog_)
        generalDialog_ = std::make_unique<TGeneralDialog>(host_, context_.General());
    return *generalDialog_;
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
    if (id == TCmd::Open || id == TCmd::YankeeTool || id == TCmd::GeneralSettings)
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
    if (id == TCmd::GeneralSettings) {
        GeneralSettings().Show();
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
    // The commands the closed project did not offer may be the next one's.
    host_.RestoreRemovedCommands();
    if (onProjectClosed)
        onProjectClosed();
}

void TShell::NewProject(int typeCode)
{
    if (!AskSaveOpenProject())
        return;
    // Every new project starts from the default general settings; opening a file
    // does not reset them (a filter file brings its own).
    context_.General().Reset();
    CloseProject();
    auto project = factory_.Create(typeCode, host_, context_);
    if (!project) {
        host_.SwitchMenu(TMenus::NoProject);
        host_.SetMainTitle(kBaseTitle);
        return;
    }
    host_.SwitchMenu(project->MenuNumber());
    project_ = std::move(project);
    typeCode_ = typeCode;
    project_->SetMainTitle(false);
    // The hint is read over the project's plots, and the unit chooser follows it.
    project_->ShowStartWindows();
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

namespace {
// The messages of a failed open end with the file they are about.
std::string AboutFile(const char* text, const std::string& path) { return std::string(text) + "\n\n" + path; }
} // namespace

bool TShell::ReadsCleanly(int typeCode, const std::string& path) const
{
    // A trial read on a project of its own: its messages go nowhere and it reads into
    // a scratch copy of the context, so a damaged file leaves the program's
    // measurement setup as it was.
    THeadlessHost quiet;
    TProgramContext scratch = context_;
    std::unique_ptr<TProject> trial = factory_.Create(typeCode, quiet, scratch);
    return trial && trial->Load(path);
}

void TShell::OpenProject(const std::string& path)
{
    openFileName_ = path;
    TBinaryReader reader;
    // Only the type code is needed here; the trial project reads the file itself.
    if (!reader.Open(path, sizeof(std::int32_t))) {
        host_.Message(AboutFile("Could not open project.\nThe filname probably points at\na nonexisting file.", path),
                      "Tonvek project", TMsgButtons::Ok, TMsgIcon::Warning);
        return;
    }
    std::int32_t code = 0;
    if (!reader.ReadInt32(code)) {
        host_.Message(AboutFile("Could not read project.\nThe project file is corrupt.", path), "Box project",
                      TMsgButtons::Ok, TMsgIcon::Warning);
        return;
    }
    // The whole file is read and checked before the open project is given up, so a
    // damaged file leaves the user's work as it was.
    if (!factory_.Knows(code)) {
        host_.Message(AboutFile("Bad data in file.\nThe project file is corrupt.", path), "Error", TMsgButtons::Ok,
                      TMsgIcon::Error);
        return;
    }
    if (!ReadsCleanly(code, path)) {
        host_.Message(AboutFile("Error while reading box data.\nThe project file is corrupt.", path), "",
                      TMsgButtons::Ok, TMsgIcon::Error);
        return;
    }
    CloseProject();
    auto project = factory_.Create(code, host_, context_);
    host_.SwitchMenu(project->MenuNumber());
    project_ = std::move(project);
    typeCode_ = code;
    if (project_->Load(path)) {
        project_->SetMainTitle(true);
        return;
    }
    // Changed on disk since the check: an empty project of its type, as before.
    host_.Message(AboutFile("Error while reading box data.\nThe project file is corrupt.", path), "", TMsgButtons::Ok,
                  TMsgIcon::Error);
    project_->Reset();
    project_->SetMainTitle(false);
}

void TShell::RecalcRequest(TRecalc kind)
{
    if (project_)
        project_->RecalcRequest(kind);
}
