#include "measdata/TMeasCurveReader.h"

#include "measdata/TMeasLineParser.h"
#include "measdata/TMeasTextSource.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <vector>

namespace {

// Points kept when a falling file has to be sorted: far beyond any measurement, and
// small enough to hold (6 MB).
constexpr std::size_t kMaxUnorderedPoints = 250000;

struct TMeasPoint {
    double f = 0.0;
    double value = 0.0;
    double phase = 0.0; // radians
};

double ToRadians(double degrees) { return degrees * (1.0 / 180.0) * 3.14159265359; }

bool MentionsDelay(std::string_view line)
{
    static constexpr std::string_view kWord = "delay";
    if (line.size() < kWord.size())
        return false;
    for (std::size_t i = 0; i + kWord.size() <= line.size(); ++i) {
        std::size_t k = 0;
        while (k < kWord.size() &&
               std::tolower(static_cast<unsigned char>(line[i + k])) == kWord[k])
            ++k;
        if (k == kWord.size())
            return true;
    }
    return false;
}

// Turns lines into data points: skips what is not data, carries a missing level or
// phase over from the line before, and notices a file whose frequencies go down.
class TLinePoints {
public:
    TLinePoints(TMeasTextSource& source, TMeasReadReport& report, bool stopWhenDescending)
        : source_(source), report_(report), stopWhenDescending_(stopWhenDescending)
    {
    }

    bool Next(TMeasPoint& point)
    {
        std::string_view text;
        bool tooLong = false;
        while (source_.NextLine(text, tooLong)) {
            ++report_.lines;
            if (tooLong) {
                ++report_.longLines;
                continue;
            }
            const TMeasLineFields line = ParseMeasLine(text);
            switch (line.kind) {
            case TMeasLineKind::Blank:
                ++report_.blankLines;
                continue;
            case TMeasLineKind::Binary:
                ++report_.binaryLines;
                continue;
            case TMeasLineKind::Comment:
                ++report_.commentLines;
                if (!inData_ && MentionsDelay(text))
                    report_.mentionsGroupDelay = true;
                continue;
            case TMeasLineKind::Text:
                ++report_.textLines;
                if (line.nonPositiveFrequency)
                    ++report_.nonPositiveFrequencyLines;
                continue;
            case TMeasLineKind::Data:
                break;
            }
            // The first data line needs a level: a lone number before the data is a
            // point count or a page number. A level that is not a number ("512
            // points", "1 sample averaged") makes the line a text line anywhere.
            if (line.fieldCount >= 2 && !line.numeric[1]) {
                ++report_.textLines;
                continue;
            }
            if (!inData_ && line.fieldCount < 2) {
                ++report_.singleNumberHeaderLines;
                continue;
            }
            inData_ = true;
            if (line.fieldCount >= 2)
                value_ = line.value[1];
            else
                ++report_.missingValueLines;
            if (line.fieldCount >= 3) {
                phaseDegrees_ = line.value[2];
                if (!line.numeric[2])
                    ++report_.nonNumericFieldLines;
            } else {
                ++report_.missingPhaseLines;
            }
            report_.commaLines += line.commaSeparated;
            report_.semicolonLines += line.semicolonSeparated;
            report_.decimalCommaLines += line.decimalComma;

            const double f = line.value[0];
            if (report_.dataLines == 0) {
                report_.lowestFrequency = report_.highestFrequency = f;
                firstF_ = f;
            } else {
                if (f == lastF_)
                    ++report_.repeatedFrequencyLines;
                if (f < lastF_)
                    ++report_.descendingLines;
                report_.lowestFrequency = std::min(report_.lowestFrequency, f);
                report_.highestFrequency = std::max(report_.highestFrequency, f);
                // The first change of frequency tells the direction of the file. A file
                // that goes down is sorted; in one that goes up, a stray line below
                // the one before is passed over by the walk.
                if (!directionKnown_ && f != firstF_) {
                    directionKnown_ = true;
                    if (f < firstF_ && stopWhenDescending_) {
                        descending_ = true;
                        return false;
                    }
                }
            }
            ++report_.dataLines;
            lastF_ = f;
            point.f = f;
            point.value = value_;
            point.phase = ToRadians(phaseDegrees_);
            return true;
        }
        return false;
    }

    bool Descending() const { return descending_; }

private:
    TMeasTextSource& source_;
    TMeasReadReport& report_;
    bool stopWhenDescending_;
    bool inData_ = false;
    bool directionKnown_ = false;
    bool descending_ = false;
    double firstF_ = 0.0;
    double value_ = 0.0;
    double phaseDegrees_ = 0.0;
    double lastF_ = 0.0;
};

// The sorted points of a file whose frequencies go down.
class TSortedPoints {
public:
    explicit TSortedPoints(std::vector<TMeasPoint> points) : points_(std::move(points)) {}
    bool Next(TMeasPoint& point)
    {
        if (next_ >= points_.size())
            return false;
        point = points_[next_++];
        return true;
    }
    bool Descending() const { return false; }

private:
    std::vector<TMeasPoint> points_;
    std::size_t next_ = 0;
};

// Relative distance within which a line counts as lying on a grid frequency: beyond
// the rounding of a frequency printed with six decimals.
constexpr double kSameFrequency = 1e-6;

// Levels beyond any sound keep the pressure ratio finite, so a damaged file cannot put
// infinities into a filter sum.
constexpr double kMaxLevelDb = 1000.0;

double PressureRatio(double db) { return std::pow(10.0, 0.05 * std::clamp(db, -kMaxLevelDb, kMaxLevelDb)); }

std::complex<double> PointValue(TMeasKind kind, double value, double phase)
{
    const double magnitude = kind == TMeasKind::Spl ? PressureRatio(value) : value;
    return {magnitude * std::cos(phase), magnitude * std::sin(phase)};
}

enum class TWalk { NotLoaded, Loaded, Descending };

template <class Points>
TWalk Walk(Points& points, const double* f, const double* lnf, int n, TMeasKind kind, std::complex<double>* out,
           TMeasReadReport& report)
{
    TMeasPoint current;
    if (!points.Next(current))
        return TWalk::NotLoaded;
    report.firstFrequency = current.f;

    int q = 0;
    while (q < n && current.f > f[q]) {
        out[q] = PointValue(kind, current.value, current.phase);
        ++q;
    }
    report.pointsBelowData = q;
    if (q == n)
        return TWalk::Loaded;

    TMeasPoint previous;
    double lnCurrent = 0.0;
    double lnPrevious = 0.0;
    bool endOfData = false;
    for (; q < n; ++q) {
        if (current.f <= f[q]) {
            // The neighbours of the grid point are the last line at or below it and
            // the first line above it, however dense the data; a line below the one
            // before (a stray line in a rising file) is passed over.
            previous = current;
            for (;;) {
                if (!points.Next(current)) {
                    endOfData = true;
                    break;
                }
                if (current.f > f[q])
                    break;
                if (current.f >= previous.f)
                    previous = current;
            }
            if (endOfData) {
                // A last line on the grid point itself, as in a curve written on this
                // grid with six decimals, gives the point its value instead of leaving
                // it to be held from the point below. Data that end on the lowest grid
                // point still do not make a curve.
                if (q > 0 && std::fabs(previous.f - f[q]) <= kSameFrequency * f[q]) {
                    out[q] = PointValue(kind, previous.value, previous.phase);
                    ++q;
                }
                break;
            }
            lnPrevious = std::log(previous.f);
            lnCurrent = std::log(current.f);
        }
        const double t = (lnf[q] - lnPrevious) / (lnCurrent - lnPrevious);
        const double magnitude = kind == TMeasKind::Spl
                                     ? PressureRatio((1.0 - t) * previous.value + t * current.value)
                                     : (1.0 - t) * previous.value + t * current.value;
        double phase = 0.0;
        if (previous.phase * current.phase > 0.0)
            phase = (1.0 - t) * previous.phase + t * current.phase;
        else
            phase = t >= 0.5 ? current.phase : previous.phase;
        out[q] = {magnitude * std::cos(phase), magnitude * std::sin(phase)};
    }
    if (endOfData && points.Descending())
        return TWalk::Descending;
    if (q == n)
        return TWalk::Loaded;
    if (q == 0)
        return TWalk::NotLoaded;
    for (int k = q; k < n; ++k)
        out[k] = out[q - 1];
    report.pointsAboveData = n - q;
    return TWalk::Loaded;
}

void ResetLineCounts(TMeasReadReport& report)
{
    TMeasReadReport fresh;
    fresh.opened = report.opened;
    fresh.gridPoints = report.gridPoints;
    report = fresh;
}

TMeasReadResult ReadFrom(TMeasTextSource& source, const TMeasGrid& grid, TMeasKind kind,
                         std::complex<double>* response, TMeasReadReport& report)
{
    report.opened = true;
    const int n = grid.count;
    report.gridPoints = n;
    if (n < 1 || n > TMeasGrid::kMaxPoints || !grid.frequencies || !response)
        return TMeasReadResult::NotLoaded;

    std::array<double, TMeasGrid::kMaxPoints> ownLogarithms;
    const double* lnf = grid.logarithms;
    if (!lnf) {
        for (int i = 0; i < n; ++i)
            ownLogarithms[static_cast<std::size_t>(i)] = std::log(grid.frequencies[i]);
        lnf = ownLogarithms.data();
    }

    // Filled aside, so that a file that does not load leaves the response as it was.
    std::array<std::complex<double>, TMeasGrid::kMaxPoints> values;
    TWalk result = TWalk::NotLoaded;
    {
        TLinePoints points(source, report, true);
        result = Walk(points, grid.frequencies, lnf, n, kind, values.data(), report);
    }
    if (result == TWalk::Descending) {
        ResetLineCounts(report);
        if (!source.Rewind()) {
            report.readError = true;
            return TMeasReadResult::NotLoaded;
        }
        std::vector<TMeasPoint> collected;
        TLinePoints points(source, report, false);
        TMeasPoint point;
        while (points.Next(point)) {
            if (collected.size() >= kMaxUnorderedPoints) {
                report.pointLimitReached = true;
                break;
            }
            collected.push_back(point);
        }
        std::stable_sort(collected.begin(), collected.end(),
                         [](const TMeasPoint& a, const TMeasPoint& b) { return a.f < b.f; });
        report.sorted = true;
        TSortedPoints sorted(std::move(collected));
        result = Walk(sorted, grid.frequencies, lnf, n, kind, values.data(), report);
        report.restUnread = report.pointLimitReached;
    } else {
        report.restUnread = !source.AtEnd();
    }
    report.crLfLines = source.CrLfLines();
    report.crLines = source.CrLines();
    report.byteOrderMark = source.HadByteOrderMark();
    report.readError = report.readError || source.ReadError();
    // A file that could be read only in part is not the measurement it claims to be.
    report.loaded = result == TWalk::Loaded && !report.readError;
    if (!report.loaded)
        return TMeasReadResult::NotLoaded;
    std::copy(values.begin(), values.begin() + n, response);
    return TMeasReadResult::Loaded;
}

} // namespace

TMeasReadResult ReadMeasCurveFile(const std::string& path, const TMeasGrid& grid, TMeasKind kind,
                                  std::complex<double>* response, TMeasReadReport* report)
{
    TMeasReadReport local;
    TMeasReadReport& r = report ? *report : local;
    r = TMeasReadReport();
    TMeasTextSource source;
    if (!source.Open(path))
        return TMeasReadResult::NotOpened;
    return ReadFrom(source, grid, kind, response, r);
}

TMeasReadResult ReadMeasCurveText(std::string_view text, const TMeasGrid& grid, TMeasKind kind,
                                  std::complex<double>* response, TMeasReadReport* report)
{
    TMeasReadReport local;
    TMeasReadReport& r = report ? *report : local;
    r = TMeasReadReport();
    TMeasTextSource source(text);
    return ReadFrom(source, grid, kind, response, r);
}
