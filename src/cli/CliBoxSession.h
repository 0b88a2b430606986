#pragma once
// What the box project commands share: a project opened from the command line over the
// command-line host, and saving it back.

#include "TCliHost.h"

#include "box/TBoxEmbryo.h"

#include <memory>
#include <string>

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
// Opens a box project into the session; false after reporting why on stderr.
bool OpenProject(TBoxSession& s, const std::string& name);
// Saves the session's project and prints "saved NAME"; false after reporting.
bool SaveProject(TBoxSession& s, const std::string& path);
