#pragma once
// What the shell needs of an open project, box or filter. The shell owns at most one,
// creates it by its project type code and forwards commands and recalculation
// requests to it.

#include "ui/TRecalc.h"

#include <string>

class TProject {
public:
    virtual ~TProject() = default;

    virtual int TypeCode() const = 0;
    // Box projects use menu 4 (15 for the reflex bandpass box), filters 5 or 21.
    virtual int MenuNumber() const = 0;
    virtual bool IsBoxProject() const = 0;

    // Asks "Project has been changed..." when needed; false when the user cancelled.
    virtual bool AskSaveChanges() = 0;
    // Reads the whole project file, type code included; false on any failure.
    [[nodiscard]] virtual bool Load(const std::string& path) = 0;
    // Back to an empty project of the same type (after a failed load).
    virtual void Reset() = 0;
    // Title of the main window: the base title, or with the file name after a load.
    virtual void SetMainTitle(bool withFileName) = 0;
    // The windows a new project shows before anything is asked.
    virtual void ShowStartWindows() {}
    // Runs after New: windows to restore, the unit to load.
    virtual void StartNew(bool showUnitHint) = 0;

    // Unsaved changes, for the title's modified marker.
    virtual bool IsModified() const { return false; }
    // The project file, empty while it has none.
    virtual std::string FileName() const { return {}; }

    virtual bool HandlesCommand(int id) const = 0;
    virtual bool HandleCommand(int id) = 0;
    virtual void RecalcRequest(TRecalc kind) = 0;
};
