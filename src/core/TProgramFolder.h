#pragma once
// The program folder: where unit files, projects, help texts and the settings files
// are found. Set once at start (the executable's folder); tests point it elsewhere.
//
// A stored name is relative when it is not an absolute path; names read from files
// may use "\" separators, taken as "/". Before a chosen path is stored, a leading
// program folder is removed, compared without regard to letter case.

#include <string>

namespace TProgramFolder {

// Sets the folder; a trailing "/" is added when missing.
void Set(const std::string& folder);
// The folder, always ending in "/".
const std::string& Get();

// "\" separators become "/".
std::string Normalise(const std::string& name);
bool IsRelative(const std::string& name);
// A relative name with the program folder put in front; an absolute one as it is.
std::string Resolve(const std::string& name);
// The name to store: without a leading program folder (case-insensitive match of the
// whole folder including its final "/"), otherwise unchanged.
std::string Strip(const std::string& path);

// The folder of a running executable named by argv[0] or /proc/self/exe.
std::string FolderOfExecutable(const char* argv0);

} // namespace TProgramFolder
