#pragma once
// Names of files a project refers to (its driver unit): stored relative to the
// project's own folder when the file lies in that folder or below, so a project folder
// can be moved or copied as a whole. Names read back may also be absolute or relative
// to the program folder, as older projects store them.

#include <string>

class TProgramFolder;

namespace TProjectRelative {

// The name to write for `name` (absolute or relative to `folder`, the program folder)
// into a project saved as `projectPath`.
std::string Store(const TProgramFolder& folder, const std::string& name, const std::string& projectPath);
// The name to use for a stored `name` of the project at `projectPath`: a relative name
// found beside the project wins; otherwise the name as the program folder takes it.
std::string Locate(const TProgramFolder& folder, const std::string& name, const std::string& projectPath);

} // namespace TProjectRelative
