#pragma once
// The program folder: where unit files, projects, help texts and the settings files
// are found. The program's context owns one, set where the program starts (the
// executable's folder); tests make their own over a temporary folder.
//
// A stored name is relative when it is not an absolute path; names read from files
// may use "\" separators, taken as "/". Before a chosen path is stored, a leading
// program folder is removed, compared without regard to letter case.
//
// Normalise, IsRelative and FolderOfExecutable need no folder: they are static, so the
// rule's helpers sit in one place.

#include <string>

class TProgramFolder {
public:
    // A trailing "/" is added when missing; an empty name is the working folder "./".
    explicit TProgramFolder(const std::string& folder = "./");

    // The folder, always ending in "/".
    const std::string& Path() const { return folder_; }

    // A relative name with the program folder put in front; an absolute one as it is.
    std::string Resolve(const std::string& name) const;
    // The name to store: without a leading program folder (case-insensitive match of
    // the whole folder including its final "/"), otherwise unchanged.
    std::string Strip(const std::string& path) const;

    // "\" separators become "/".
    static std::string Normalise(const std::string& name);
    static bool IsRelative(const std::string& name);
    // The folder of a running executable named by argv[0] or /proc/self/exe.
    static std::string FolderOfExecutable(const char* argv0);

private:
    std::string folder_;
};
