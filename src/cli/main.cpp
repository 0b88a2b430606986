#include "TCliCommand.h"
#include "core/TProgramFolder.h"
#include "settings/TProgramContext.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::vector<TCliCommand>& CliCommands()
{
    static std::vector<TCliCommand> commands;
    return commands;
}

int CliFail(const std::string& message)
{
    std::fprintf(stderr, "tonvek-cli: %s\n", message.c_str());
    return 1;
}

namespace {
void PrintHelp()
{
    std::printf("Usage: tonvek-cli COMMAND [ARGS...]\n\n"
                "Tonvek without a window: reads and writes unit files, projects and\n"
                "measurement files, prints reports and renders plots.\n\nCommands:\n");
    auto commands = CliCommands();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const auto& c : commands)
        std::printf("  %s\n", c.usage.c_str());
    std::printf("  --help               this list; COMMAND --help: that command alone\n");
}

bool AsksForHelp(int argc, char** argv)
{
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || (i == 2 && !std::strcmp(argv[i], "-h")))
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    // What outlives a project, for whichever command runs.
    TProgramContext context(TProgramFolder::FolderOfExecutable(argv[0]));
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintHelp();
        return argc < 2 ? 2 : 0;
    }
    for (const auto& c : CliCommands()) {
        if (c.name != argv[1])
            continue;
        if (AsksForHelp(argc, argv)) {
            std::printf("Usage: tonvek-cli %s\n", c.usage.c_str());
            return 0;
        }
        return c.run(context, TCliArgs(argv + 2, argv + argc));
    }
    return CliFail(std::string("unknown command \"") + argv[1] + "\" (see tonvek-cli --help)");
}
