#include "TProgramFolder.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <unistd.h>

namespace {
std::string& Folder()
{
    static std::string folder = "./";
    return folder;
}
} // namespace

namespace TProgramFolder {

void Set(const std::string& folder)
{
    std::string f = Normalise(folder);
    if (f.empty())
        f = "./";
    if (f.back() != '/')
        f += '/';
    Folder() = f;
}

const std::string& Get() { return Folder(); }

std::string Normalise(const std::string& name)
{
    std::string out = name;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

bool IsRelative(const std::string& name)
{
    std::string n = Normalise(name);
    return n.empty() || n.front() != '/';
}

std::string Resolve(const std::string& name)
{
    std::string n = Normalise(name);
    if (!IsRelative(n))
        return n;
    return Folder() + n;
}

std::string Strip(const std::string& path)
{
    std::string p = Normalise(path);
    const std::string& f = Folder();
    if (p.size() < f.size())
        return p;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(p[i])) != std::tolower(static_cast<unsigned char>(f[i])))
            return p;
    }
    return p.substr(f.size());
}

std::string FolderOfExecutable(const char* argv0)
{
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string exe;
    if (n > 0)
        exe.assign(buffer, static_cast<std::size_t>(n));
    else if (argv0)
        exe = argv0;
    std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos)
        return "./";
    return exe.substr(0, slash + 1);
}

} // namespace TProgramFolder
