#pragma once
// What a dialog's change asks of the open project. The values are those the project
// windows have always passed (0 to 3).

enum class TRecalc {
    Recalculate = 0,   // recalculate now when "Calculate immediately" is on
    MarkChanged = 1,   // the project changed; nothing is calculated
    ReportOnly = 2,    // rebuild the report from the last results
    MarkUnchanged = 3, // the project is as saved (after a load)
};
