#pragma once
// What a read of a measurement file met on its way: which lines it passed over, what
// it assumed, and how the grid was filled. The reader fills it; the command line tool
// prints it and a dialog can show it.

#include <string>
#include <vector>

struct TMeasReadReport {
    bool opened = false;
    bool loaded = false;
    bool readError = false;

    // Lines, counted up to where reading stopped.
    long lines = 0;
    long blankLines = 0;
    long commentLines = 0;
    long textLines = 0;                // not numbers, "0 ..." or negative frequencies, text levels
    long nonPositiveFrequencyLines = 0;
    long binaryLines = 0;
    long longLines = 0;
    long singleNumberHeaderLines = 0;  // one-number lines before the data, not taken as data
    long dataLines = 0;
    long missingPhaseLines = 0;        // data lines without a third field
    long missingValueLines = 0;        // data lines with a frequency only
    long nonNumericFieldLines = 0;     // data lines whose phase is not a number
    long commaLines = 0;
    long semicolonLines = 0;
    long decimalCommaLines = 0;
    long repeatedFrequencyLines = 0;
    long descendingLines = 0;          // data lines below the line before
    bool byteOrderMark = false;
    long crLfLines = 0;
    long crLines = 0;
    bool mentionsGroupDelay = false;   // a header line speaks of group delay

    // Data
    bool sorted = false;               // frequencies going down: points sorted before use
    bool pointLimitReached = false;    // more points to sort than the reader keeps
    bool restUnread = false;           // the grid was complete before the end of the file
    double firstFrequency = 0.0;
    double lowestFrequency = 0.0;
    double highestFrequency = 0.0;

    // Grid
    int gridPoints = 0;
    int pointsBelowData = 0;           // take the first line's value
    int pointsAboveData = 0;           // take the last interpolated value
};

// One line per remark, for the user: what was skipped and what was assumed.
std::vector<std::string> MeasReadNotes(const TMeasReadReport& report);
