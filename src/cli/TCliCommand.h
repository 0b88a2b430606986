#pragma once
// tonvek-cli commands register themselves from their own source files:
//   static TCliRegistration reg{"unit", "unit show|new ...", RunUnit};
// A command gets the program's context (made once by main) and its arguments after its
// name, and returns the exit status.
// Errors are one clear line on stderr and a non-zero status.

#include <functional>
#include <string>
#include <vector>

class TProgramContext;

using TCliArgs = std::vector<std::string>;
using TCliRun = std::function<int(TProgramContext& context, const TCliArgs& args)>;

struct TCliCommand {
    std::string name;
    std::string usage; // one or more lines shown by --help
    TCliRun run;
};

std::vector<TCliCommand>& CliCommands();

struct TCliRegistration {
    TCliRegistration(std::string name, std::string usage, TCliRun run)
    {
        CliCommands().push_back({std::move(name), std::move(usage), std::move(run)});
    }
};

// Prints "tonvek-cli: <message>" on stderr and returns 1.
int CliFail(const std::string& message);
