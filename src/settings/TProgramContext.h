#pragma once
// What outlives projects: the measurement setup every box project shares, the general
// settings with the filter grid, and the program folder. Whoever starts the program
// makes one (the desktop's main, tonvek-cli, a fuzz or benchmark driver, a test
// fixture) and hands it down by reference: the shell and its project factory, every
// project, and the dialogs, readers and writers that need the setup or the folder take
// it from their owner. There is no other way to reach these objects, so a test's
// context never meets another's and nothing has to be saved and restored.
//
// A context is a value: the shell reads a file on a scratch copy before it lets the
// file touch the program's own setup.

#include "core/TProgramFolder.h"
#include "settings/TGeneral.h"
#include "settings/TMeasSetup.h"

#include <string>

class TProgramContext {
public:
    // The setup starts with factory values; box projects load "msetup.prf" from the
    // folder (by default the working folder).
    explicit TProgramContext(const std::string& folder = "./");

    TMeasSetup& MeasSetup() { return measSetup_; }
    const TMeasSetup& MeasSetup() const { return measSetup_; }
    TGeneral& General() { return general_; }
    const TGeneral& General() const { return general_; }
    const TProgramFolder& Folder() const { return folder_; }
    // Where the program starts only (tonvek-cli setup --folder, a test fixture).
    void SetFolder(const std::string& folder) { folder_ = TProgramFolder(folder); }

private:
    TProgramFolder folder_;
    TMeasSetup measSetup_;
    TGeneral general_;
};
