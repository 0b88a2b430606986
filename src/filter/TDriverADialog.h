#pragma once
// The driver set dialog of one advanced network: one to four drivers, their connection,
// polarity and symbol size, Re, Le and Rex, and per driver the position, piston radius,
// scalings, measured files and whether it uses driver 1's data. A file is chosen with
// "Browse" or named in its file field.

#include "ui/TDialogModel.h"

#include <functional>

class TNetA;

class TDriverADialog : public TDialogModel {
public:
    static constexpr int kY = 102, kRex = 103, kPistonRadius = 104, kSplScaling = 105, kZ = 106, kPairs = 107,
                         kSplBrowse = 108, kImpedanceScaling = 109, kImpedanceBrowse = 110, kConnection = 111,
                         kCount = 113, kSize = 115, kLe = 116, kX = 117, kImpedanceFile = 118, kSelector = 119,
                         kSplSameAs = 120, kImpedanceSameAs = 121, kInvert = 127, kRe = 130, kSplFile = 140;
    // What a file field shows when no file is named.
    static constexpr const char* kNotInUse = "Not in use";
    // A longer name shows only its end.
    static constexpr std::size_t kShownNameLength = 43;

    TDriverADialog(THost& host, TNetA& net);

    // The driver the per-driver fields show (0-based).
    int SelectedDriver() const { return selected_; }

    // The driver count or the connection changed: the network's other open dialogs
    // follow (its branch list shows the shunt positions that exist).
    std::function<void()> onLayoutChanged;

    // The file name as the dialog shows it: "Not in use" or the last 43 characters.
    static std::string ShownName(const std::string& name);

private:
    void AddFile(int id, bool spl);
    void Browse(bool spl);
    TNetA& net_;
    int selected_ = 0;
};
