#include "measdata/TMeasReadReport.h"

#include <cstdio>

namespace {
std::string Format(const char* format, long n)
{
    char text[160];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

std::string Hz(double f)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g Hz", f);
    return text;
}
} // namespace

std::vector<std::string> MeasReadNotes(const TMeasReadReport& r)
{
    std::vector<std::string> notes;
    if (!r.opened) {
        notes.emplace_back("file could not be opened");
        return notes;
    }
    if (r.readError)
        notes.emplace_back("read error: the file was read only in part");
    if (r.byteOrderMark)
        notes.emplace_back("UTF-8 byte order mark skipped");
    if (r.crLfLines > 0)
        notes.push_back(Format("%ld lines end in CR LF", r.crLfLines));
    if (r.crLines > 0)
        notes.push_back(Format("%ld lines end in a lone CR", r.crLines));
    if (r.commentLines > 0)
        notes.push_back(Format("%ld comment or header lines skipped", r.commentLines));
    if (r.blankLines > 0)
        notes.push_back(Format("%ld blank lines skipped", r.blankLines));
    if (r.textLines > 0)
        notes.push_back(Format("%ld lines that are not data skipped", r.textLines));
    if (r.nonPositiveFrequencyLines > 0)
        notes.push_back(Format("%ld of them with a frequency of 0 or below", r.nonPositiveFrequencyLines));
    if (r.singleNumberHeaderLines > 0)
        notes.push_back(Format("%ld one-number lines before the data skipped", r.singleNumberHeaderLines));
    if (r.binaryLines > 0)
        notes.push_back(Format("%ld lines with control characters (binary data) skipped", r.binaryLines));
    if (r.longLines > 0)
        notes.push_back(Format("%ld lines longer than 1024 characters skipped", r.longLines));
    if (r.commaLines > 0)
        notes.push_back(Format("%ld lines with comma-separated values", r.commaLines));
    if (r.semicolonLines > 0)
        notes.push_back(Format("%ld lines with semicolon-separated values", r.semicolonLines));
    if (r.decimalCommaLines > 0)
        notes.push_back(Format("%ld lines read with a decimal comma", r.decimalCommaLines));
    if (r.missingPhaseLines > 0) {
        notes.push_back(r.missingPhaseLines == r.dataLines && r.missingValueLines == 0
                            ? std::string("no phase column: phase taken as 0")
                            : Format("%ld data lines without phase: phase of the line before used (0 at the start)",
                                     r.missingPhaseLines));
    }
    if (r.missingValueLines > 0)
        notes.push_back(Format("%ld data lines with a frequency only: value of the line before used",
                               r.missingValueLines));
    if (r.nonNumericFieldLines > 0)
        notes.push_back(Format("%ld data lines with a phase that is not a number: phase read as 0",
                               r.nonNumericFieldLines));
    if (r.repeatedFrequencyLines > 0)
        notes.push_back(Format("%ld lines repeat the frequency of the line before", r.repeatedFrequencyLines));
    if (r.sorted)
        notes.emplace_back("frequencies go down: the points were sorted by frequency");
    else if (r.descendingLines > 0)
        notes.push_back(Format("%ld lines below the frequency of the line before passed over", r.descendingLines));
    if (r.pointLimitReached)
        notes.emplace_back("too many points to sort: only the first 250000 were used");
    if (r.mentionsGroupDelay)
        notes.emplace_back("the header mentions group delay: the third column is read as phase in degrees all the same");
    if (r.dataLines > 0) {
        notes.push_back(Format("%ld data lines read", r.dataLines) + ", " + Hz(r.lowestFrequency) + " to " +
                        Hz(r.highestFrequency));
    } else {
        notes.emplace_back("no data line found");
    }
    if (r.restUnread)
        notes.emplace_back("the grid was complete before the end of the file: the rest was not read");
    if (r.pointsBelowData > 0)
        notes.push_back(Format("%ld grid points below the first data line take its value", r.pointsBelowData));
    if (r.pointsAboveData > 0)
        notes.push_back(Format("%ld grid points above the data take the last value", r.pointsAboveData));
    if (!r.loaded && r.dataLines > 0)
        notes.emplace_back("not loaded: the file holds no data above the lowest grid frequency");
    return notes;
}
