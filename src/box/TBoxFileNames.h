#pragma once
// The file choosers' filters of a box project and the name shown for a path.

#include "core/TProgramFolder.h"

#include <string>

namespace TBoxFileNames {

inline constexpr const char* kUnitFilter = "Unit files (*.unt)|*.unt|All files (*.*)|*.*|";
inline constexpr const char* kProjectFilter =
    "Box project files (*.box)|*.box|Filter project files (*.flt)|*.flt|All files (*.*)|*.*|";
inline constexpr const char* kSnapshotFilter = "Snapshot files (*.snp)|*.snp|All files (*.*)|*.*|";
inline constexpr const char* kSplExportFilter =
    "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
    "|CSV files (*.csv)|*.csv|";
inline constexpr const char* kImpedanceExportFilter =
    "LAUD impedance (*.zma)|*.zma|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
    "|CSV files (*.csv)|*.csv|";

// The name and extension of a path, without its folder.
inline std::string NameAndExtension(const std::string& path)
{
    std::string p = TProgramFolder::Normalise(path);
    std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

} // namespace TBoxFileNames
