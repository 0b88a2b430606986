#include "core/TProjectRelative.h"

#include "core/TProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
fs::path FolderOf(const std::string& projectPath)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(projectPath), ec);
    return ec ? fs::path() : absolute.lexically_normal().parent_path();
}
} // namespace

namespace TProjectRelative {

std::string Store(const TProgramFolder& programFolder, const std::string& name, const std::string& projectPath)
{
    if (name.empty() || projectPath.empty())
        return name;
    fs::path folder = FolderOf(projectPath);
    std::error_code ec;
    fs::path file = fs::absolute(fs::path(programFolder.Resolve(name)), ec);
    if (folder.empty() || ec)
        return name;
    fs::path relative = file.lexically_normal().lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..")
        return name;
    return relative.generic_string();
}

std::string Locate(const TProgramFolder& programFolder, const std::string& name, const std::string& projectPath)
{
    if (name.empty() || projectPath.empty() || !TProgramFolder::IsRelative(name))
        return name;
    fs::path folder = FolderOf(projectPath);
    if (folder.empty())
        return name;
    fs::path beside = (folder / name).lexically_normal();
    std::error_code ec;
    if (!fs::is_regular_file(beside, ec))
        return name;
    return programFolder.Strip(beside.generic_string());
}

} // namespace TProjectRelative
