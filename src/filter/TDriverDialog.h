#pragma once
// The driver dialog of one simple network: one or two drivers, their connection and
// polarity, Re, Le and Rex, and per driver the position, piston radius, scalings and
// measured files. A file is chosen with "Browse" or named in its file field.

#include "ui/TDialogModel.h"

class TNet;

class TDriverDialog : public TDialogModel {
public:
    static constexpr int kY = 102, kRex = 103, kPistonRadius = 104, kSplScaling = 105, kZ = 106, kSplBrowse = 108,
                         kImpedanceScaling = 109, kImpedanceBrowse = 110, kConnection = 111, kCount = 113, kLe = 116,
                         kX = 117, kImpedanceFile = 118, kSelector = 119, kInvert = 127, kRe = 130, kSplFile = 140;
    // What a file field shows when no file is named.
    static constexpr const char* kNotInUse = "Not in use";

    TDriverDialog(THost& host, TNet& net);

    // The driver the position, radius, scaling and file fields show (0 or 1).
    int SelectedDriver() const { return selected_; }

private:
    void AddFile(int id, bool spl);
    void LoadBoundFields();
    TNet& net_;
    int selected_ = 0;
};
