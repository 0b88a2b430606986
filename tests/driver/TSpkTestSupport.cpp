#include "TSpkTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace spktest {

namespace {

std::vector<std::string> SplitCsvLine(const std::string& line)
{
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.push_back(cell);
            cell.clear();
        } else if (c != '\r') {
            cell += c;
        }
    }
    cells.push_back(cell);
    return cells;
}

std::vector<TDriverRow> ReadRows()
{
    std::ifstream in(std::string(TONVEK_REFDATA) + "/drivers.csv");
    if (!in)
        throw std::runtime_error("drivers.csv not found in " TONVEK_REFDATA);
    std::string line;
    std::getline(in, line);
    std::vector<std::string> header = SplitCsvLine(line);
    std::vector<TDriverRow> rows;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        std::vector<std::string> cells = SplitCsvLine(line);
        TDriverRow row;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i) {
            if (!cells[i].empty())
                row.cells[header[i]] = cells[i];
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

std::string TDriverRow::Text(const std::string& column) const
{
    auto it = cells.find(column);
    return it == cells.end() ? std::string() : it->second;
}

std::optional<double> TDriverRow::Number(const std::string& column) const
{
    auto it = cells.find(column);
    if (it == cells.end())
        return std::nullopt;
    char* end = nullptr;
    double v = std::strtod(it->second.c_str(), &end);
    if (end == it->second.c_str())
        return std::nullopt;
    return v;
}

const std::vector<TDriverRow>& DriverRows()
{
    static const std::vector<TDriverRow> rows = ReadRows();
    return rows;
}

const TDriverRow& DriverRow(const std::string& id)
{
    for (const TDriverRow& r : DriverRows()) {
        if (r.Id() == id)
            return r;
    }
    throw std::runtime_error("no row " + id + " in drivers.csv");
}

TSpkData UnitFromRow(const TDriverRow& row)
{
    TSpkData u;
    auto set = [&](double& target, const char* column, double factor) {
        if (auto v = row.Number(column))
            target = *v * factor;
    };
    set(u.fs, "fs_hz", 1);
    set(u.Qms, "qms", 1);
    set(u.Qes, "qes", 1);
    set(u.Qts, "qts", 1);
    set(u.Vas, "vas_l", 1e-3);
    set(u.Re, "re_ohm", 1);
    set(u.Le, "le_mh", 1e-3);
    if (auto sd = row.Number("sd_cm2"))
        u.SetSd(*sd * 1e-4);
    set(u.Bl, "bl_tm", 1);
    set(u.Mms, "mms_g", 1e-3);
    set(u.Mmd, "mmd_g", 1e-3);
    set(u.Cms, "cms_mm_per_n", 1e-3);
    set(u.Rms, "rms_kg_s", 1);
    set(u.Pmax, "pmax_w", 1);
    u.SetManufacturer(row.Text("maker"));
    u.SetModel(row.Text("model"));
    u.UpdateSquares();
    return u;
}

TSpkData FilledUnit()
{
    TSpkData u;
    for (int i = 0; i < kSpkParamCount; ++i)
        u.Param(static_cast<TSpkParam>(i)) = 0.001 * (i + 1) + 1.0 / 3.0;
    u.crossCalc = 1;
    u.doubleVoiceCoil = 1;
    u.speakerType = 3;
    u.SetManufacturer("Example");
    u.SetModel("8 inch woofer");
    u.SetUserNote("first line\r\nsecond line");
    u.UpdateSquares();
    return u;
}

TScratchFolder::TScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tonvek-spk-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        throw std::runtime_error("cannot make a scratch folder");
    path_ = buffer.data();
}

TScratchFolder::~TScratchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace spktest
