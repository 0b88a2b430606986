#include "measdata/TCurveExport.h"

#include "core/TBinaryStream.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

double PhaseDegrees(std::complex<double> z) { return std::atan2(z.imag(), z.real()) * 180.0 / kPi; }

// printf's "%f" (six decimals) without the process locale, which may use a comma.
void AppendFixed(std::string& out, double value)
{
    char text[400];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (ec != std::errc()) {
        out += "0.000000";
        return;
    }
    out.append(text, end);
}

// The shortest text that reads back as the same double, again without the locale:
// spreadsheets take both plain and exponent notation.
void AppendShortest(std::string& out, double value)
{
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    if (ec != std::errc()) {
        out += '0';
        return;
    }
    out.append(text, end);
}

bool HasPhase(TCurveKind kind) { return kind != TCurveKind::GroupDelay && kind != TCurveKind::TimeResponse; }

// The CSV leaves out the column of zeros the other layouts carry for curves without phase.
int ColumnCount(TExportFormat format, TCurveKind kind)
{
    if (format == TExportFormat::Fm)
        return 2;
    if (format == TExportFormat::Csv)
        return HasPhase(kind) ? 3 : 2;
    return 3;
}

std::string CsvHeader(TCurveKind kind)
{
    switch (kind) {
    case TCurveKind::Spl:
    case TCurveKind::SplRoomCabinet:
    case TCurveKind::SplStandingWaves:
        return "Frequency (Hz),SPL (dB),Phase (deg)";
    case TCurveKind::FilterGain:
        return "Frequency (Hz),Gain (dB),Phase (deg)";
    case TCurveKind::Impedance:
        return "Frequency (Hz),Impedance (ohm),Phase (deg)";
    case TCurveKind::GroupDelay:
        return "Frequency (Hz),Group delay (ms)";
    case TCurveKind::TimeResponse:
        return "Time (ms),Amplitude";
    }
    return {};
}

std::string CsvText(const TExportCurve& curve, int count)
{
    const int columns = ColumnCount(TExportFormat::Csv, curve.kind);
    std::string out = CsvHeader(curve.kind) + "\n";
    out.reserve(static_cast<std::size_t>(count) * 64 + out.size());
    for (int i = 0; i < count; ++i) {
        AppendShortest(out, curve.x[i]);
        out += ',';
        AppendShortest(out, curve.y[i]);
        if (columns == 3) {
            out += ',';
            AppendShortest(out, curve.phase ? curve.phase[i] : 0.0);
        }
        out += '\n';
    }
    return out;
}

} // namespace

std::optional<TExportFormat> ExportFormatOf(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    std::string ext = fileName.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (ext == ".FRD")
        return TExportFormat::Frd;
    if (ext == ".ZMA")
        return TExportFormat::Zma;
    if (ext == ".GDT")
        return TExportFormat::Gdt;
    if (ext == ".FMP")
        return TExportFormat::Fmp;
    if (ext == ".FM")
        return TExportFormat::Fm;
    if (ext == ".CSV")
        return TExportFormat::Csv;
    return std::nullopt;
}

std::string CurveTitle(const TExportCurve& curve)
{
    switch (curve.kind) {
    case TCurveKind::Spl:
        return "Acoustic on Axis Free Air Response";
    case TCurveKind::SplRoomCabinet:
        return "Acoustic on Axis Response in Room/Cabinet";
    case TCurveKind::SplStandingWaves:
        return "Acoustic Response with Standing wave Modes";
    case TCurveKind::FilterGain:
        return "Filter gain";
    case TCurveKind::Impedance:
        return "Impedance: ohm, phase";
    case TCurveKind::GroupDelay:
        return "Group delay";
    case TCurveKind::TimeResponse:
        return curve.caption;
    }
    return {};
}

std::string CurveColumnHeader(TCurveKind kind, TExportFormat format)
{
    if (format == TExportFormat::Csv)
        return CsvHeader(kind);
    const bool two = ColumnCount(format, kind) == 2;
    switch (kind) {
    case TCurveKind::Spl:
    case TCurveKind::SplRoomCabinet:
    case TCurveKind::SplStandingWaves:
    case TCurveKind::FilterGain:
        return two ? "   Hz\t\tdB" : "   Hz\t\tdB\t\tdeg";
    case TCurveKind::Impedance:
        return two ? "   Hz\t\tohm" : "   Hz\t\tohm\t\tdeg";
    case TCurveKind::GroupDelay:
        return "   Hz\t\tms";
    case TCurveKind::TimeResponse:
        return "   ms";
    }
    return {};
}

std::string ExportDateTime(std::time_t when)
{
    std::tm local{};
    if (!localtime_r(&when, &local))
        return "Thu Jan  1 00:00:00 1970";
    char text[64];
    if (std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y", &local) == 0)
        return "Thu Jan  1 00:00:00 1970";
    return text;
}

std::string CurveFileText(TExportFormat format, const TExportCurve& curve, const std::string& dateTime)
{
    const std::string title = CurveTitle(curve);
    const std::string header = CurveColumnHeader(curve.kind, format);
    const int count = curve.count > 0 && curve.x && curve.y ? curve.count : 0;
    if (format == TExportFormat::Csv)
        return CsvText(curve, count);
    std::string out;
    out.reserve(static_cast<std::size_t>(count) * 40 + 400);
    switch (format) {
    case TExportFormat::Frd:
    case TExportFormat::Zma:
        out += header + "\n";
        break;
    case TExportFormat::Gdt:
        out += "* LEAP Version 4.00, Export Graph Data table (GDT) Format\n";
        out += "* " + dateTime + "\n";
        out += "* DGL Library Name : Tonvek\n";
        out += "* DGL Entry Number : 1, Name : ---\n";
        out += "* Number of Points : " + std::to_string(count) + "\n";
        out += "*  Graph 1 > " + title + "\n";
        out += "* " + header + "\n";
        break;
    case TExportFormat::Fmp:
    case TExportFormat::Fm:
        out += title + "\n" + header + "\n";
        break;
    case TExportFormat::Csv:
        break;
    }
    const bool phaseColumn = curve.phase && HasPhase(curve.kind);
    for (int i = 0; i < count; ++i) {
        out += ' ';
        AppendFixed(out, curve.x[i]);
        out += '\t';
        AppendFixed(out, curve.y[i]);
        if (format != TExportFormat::Fm) {
            out += '\t';
            AppendFixed(out, phaseColumn ? curve.phase[i] : 0.0);
        }
        out += '\n';
    }
    if (format == TExportFormat::Gdt)
        out += "* End of LEAP GDT File.\n";
    return out;
}

bool WriteCurveFile(const std::string& path, TExportFormat format, const TExportCurve& curve)
{
    const std::string text = CurveFileText(format, curve, ExportDateTime(std::time(nullptr)));
    return SaveFileSafely(path, text.data(), text.size());
}

void LevelAndPhase(const std::complex<double>* values, int count, double* levelDb, double* phaseDegrees)
{
    for (int i = 0; i < count; ++i) {
        // A zero gain (a filter's null, silence) is written as -400 dB rather than
        // "-inf", which no reader takes as a number.
        levelDb[i] = 20.0 * std::log10(std::max(std::abs(values[i]), 1e-20));
        phaseDegrees[i] = PhaseDegrees(values[i]);
    }
}

void MagnitudeAndPhase(const std::complex<double>* values, int count, double* magnitude, double* phaseDegrees)
{
    for (int i = 0; i < count; ++i) {
        magnitude[i] = std::abs(values[i]);
        phaseDegrees[i] = PhaseDegrees(values[i]);
    }
}
