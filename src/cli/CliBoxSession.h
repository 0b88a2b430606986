#pragma once
// A box project opened by a tonvek-cli command: the headless host, the project read
// from its file, its dialogs opened as a user opens them, and the save that ends a
// command which changed it.

#include "TCliHost.h"

#include "box/TBoxEmbryo.h"

#include <memory>
#include <string>
#include <vector>

class TDialogModel;
class TProgramContext;

struct TBoxSession {
    explicit TBoxSession(TProgramContext& c) : context(c) {}
    TProgramContext& context;
    TCliHost host;
    std::unique_ptr<TBoxEmbryo> project;
};

// A name on the command line means a file in the working folder; the engine would take
// a bare name as one in the program folder.
std::string FromWorkingFolder(const std::string& path);

// Reads the project; says why on stderr when it cannot.
bool OpenProject(TBoxSession& s, const std::string& name);

// What a user does first: open the dialogs, so that their fields show the project.
std::vector<TDialogModel*> OpenDialogs(TBoxSession& s);

// Writes the project and prints "saved NAME"; says why on stderr when it cannot.
bool SaveProject(TBoxSession& s, const std::string& path);

// The warnings the host showed from message number `from` on, as one refusal text
// ("Too high Qts"); empty when there were none.
std::string WarningsSince(const TBoxSession& s, std::size_t from);
