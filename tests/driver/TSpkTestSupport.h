#pragma once
// Shared pieces of the speaker unit tests: the reference driver table
// (TONVEK_REFDATA/drivers.csv), units built from its rows, a scratch folder.

#include "driver/TSpkData.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace spktest {

// One row of drivers.csv by column name; empty cells are absent.
struct TDriverRow {
    std::map<std::string, std::string> cells;
    std::string Id() const { return Text("id"); }
    std::string Text(const std::string& column) const;
    std::optional<double> Number(const std::string& column) const;
};

// All rows of drivers.csv (quoted cells may hold commas).
const std::vector<TDriverRow>& DriverRows();
const TDriverRow& DriverRow(const std::string& id);

// The datasheet values of a row in stored (SI) units; columns left empty stay undefined.
TSpkData UnitFromRow(const TDriverRow& row);

// A unit with every parameter, flag and text set to something recognisable.
TSpkData FilledUnit();

// A fresh empty folder, removed with the object.
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace spktest
