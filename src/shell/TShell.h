#pragma once
// The program's frame logic without a window: at most one open project, created by
// its type code, New and Open with their questions and messages, the unit hint flag,
// and the forwarding of commands and recalculation requests to the project.

#include "TMainConfig.h"
#include "TProjectFactory.h"
#include "ui/TRecalc.h"

#include <functional>
#include <memory>
#include <string>

class THost;
class TProgramContext;
class TGeneralDialog;
class TProject;
class TYankee;

class TShell {
public:
    // The context is the program's: every project the shell makes shares it.
    TShell(THost& host, TProgramContext& context, TProjectFactory factory = TProjectFactory::Standard());
    ~TShell();

    // Commands the shell itself runs (New, Open, project commands); false otherwise.
    bool HandleCommand(int id);
    // Whether a command can run now; commands of parts not built stay disabled.
    bool CommandAvailable(int id) const;

    // New project by type code: ask to save, reset, close, create, start it.
    void NewProject(int typeCode);
    // "&Open...": ask to save, the chooser, then OpenProject.
    void OpenWithChooser();
    // Opens a project file (no question asked).
    void OpenProject(const std::string& path);
    // Asks to save the open project; true when it is fine to go on.
    bool AskSaveOpenProject();
    void CloseProject();
    // Before the main window closes: ask to save; false keeps the program open.
    bool CanClose() { return AskSaveOpenProject(); }

    void RecalcRequest(TRecalc kind);

    TProject* Project() const { return project_.get(); }
    // The unit conversion tool, created on first use; it lives as long as the shell.
    TYankee& YankeeTool();
    // "&General": the general settings dialog, created on first use; it lives as long
    // as the shell, and a new project (which resets the settings) closes it.
    TGeneralDialog& GeneralSettings();
    int TypeCode() const { return typeCode_; }
    bool ShowUnitHint() const { return showUnitHint_; }
    void SetShowUnitHint(bool show) { showUnitHint_ = show; }
    const std::string& OpenFileName() const { return openFileName_; }
    TProgramContext& Context() const { return context_; }

    // Called when the open project is closed, so the front end can remove what it owns.
    std::function<void()> onProjectClosed;

    static constexpr const char* OpenFilter =
        "Box project files (*.box)|*.box|Filter project files (*.flt)|*.flt|All files (*.*)|*.*|";

private:
    // Whether a project of this type reads the whole file without a failure.
    bool ReadsCleanly(int typeCode, const std::string& path) const;

    THost& host_;
    TProgramContext& context_;
    TProjectFactory factory_;
    std::unique_ptr<TProject> project_;
    std::unique_ptr<TYankee> yankee_;
    std::unique_ptr<TGeneralDialog> generalDialog_;
    int typeCode_ = -1;
    bool showUnitHint_ = true;
    std::string openFileName_;
};

inline constexpr const char* kBaseTitle = "Tonvek 4.10 Beta ";
