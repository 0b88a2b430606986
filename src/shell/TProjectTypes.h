#pragma once
// Project type codes: the first four bytes of every project file.

namespace TProjectTypes {

// Menu number of a project type, or 0 when the code names no project.
int MenuOf(int typeCode);
bool IsBoxCode(int typeCode);
bool IsFilterCode(int typeCode);

} // namespace TProjectTypes
