#include "TFatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

void FatalError(std::string_view className, std::string_view message)
{
    std::string line;
    line.reserve(className.size() + message.size() + 3);
    line.append(className).append("::").append(message).append("\n");
    std::fflush(stdout);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}
