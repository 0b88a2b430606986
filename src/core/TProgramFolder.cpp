#include "TProgramFolder.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <unistd.h>

TProgramFolder::TProgramFolder(const std::string& folder) : folder_(Normalise(folder))
{
    if (folder_.empty())
        folder_ = "./";
    if (folder_.back() != '/')
        folder_ += '/';
}

std::string TProgramFolder::Normalise(const std::string& name)
{
    std::string out = name;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

bool TProgramFolder::IsRelative(const std::string& name)
{
    std::string n = Normalise(name);
    return n.empty() || n.front() != '/';
}

std::string TProgramFolder::Resolve(const std::string& name) const
{
    std::string n = Normalise(name);
    if (!IsRelative(n))
        return n;
    return folder_ + n;
}

std::string TProgramFolder::Strip(const std::string& path) const
{
    std::string p = Normalise(path);
    if (p.size() < folder_.size())
        return p;
    for (std::size_t i = 0; i < folder_.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(p[i])) != std::tolower(static_cast<unsigned char>(folder_[i])))
            return p;
    }
    return p.substr(folder_.size());
}

std::string TProgramFolder::FolderOfExecutable(const char* argv0)
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
