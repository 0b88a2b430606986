#pragma once
// Helpers shared by the measured data tests: grids and temporary files.

#include "measdata/TMeasCurveReader.h"
#include "settings/TFilterGrid.h"

#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace meastest {

using Curve = std::array<std::complex<double>, TMeasGrid::kMaxPoints>;

inline const TFilterGrid& FilterGrid()
{
    static const TFilterGrid grid;
    return grid;
}

inline TMeasGrid OnFilterGrid()
{
    return {FilterGrid().Frequencies().data(), FilterGrid().Logarithms().data(), FilterGrid().Count()};
}

inline double Db(std::complex<double> z) { return 20.0 * std::log10(std::abs(z)); }
inline double Degrees(std::complex<double> z) { return std::atan2(z.imag(), z.real()) * 180.0 / 3.141592653589793; }

// A folder under the system temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tonvek-meas-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()))
            path_ = name.data();
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::string Write(const std::string& name, const std::string& content) const
    {
        std::ofstream(File(name), std::ios::binary) << content;
        return File(name);
    }

private:
    std::string path_;
};

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace meastest
