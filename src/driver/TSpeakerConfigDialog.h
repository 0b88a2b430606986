#pragma once
// The "Driver unit configuration" dialog of a box project: number of drivers and their
// wiring, extra mass, isobaric pair, double voice coil wiring, the non-linear effects
// and the imported SPL data. Every change goes straight into the TSpeakerObject and
// ends with a recalculation request of kind 0; the project reloads the dialog after
// each calculation.

#include "driver/TSpeakerConnectionDialog.h"
#include "ui/TDialogModel.h"
#include "ui/TRecalc.h"

#include <functional>
#include <memory>
#include <string>

class TSpeakerObject;

class TSpeakerConfigDialog : public TDialogModel {
public:
    static constexpr const char* kTitle = "Driver unit configuration";
    static constexpr const char* kFrontTitle = "Front driver unit configuration";
    static constexpr const char* kRearTitle = "Rear driver unit configuration";
    static constexpr const char* kHelpFile = "drvcfg.txt";
    static constexpr const char* kNotInUse = "Not in use";
    static constexpr const char* kNoLevel = "---";

    // Field ids.
    enum : int {
        kManufacturer = 101,
        kModel,
        kFileName,
        kDrivers = 110,
        kExtraMass,
        kConnection,
        kIsobaric = 120,
        kIsobaricChoice,
        kDvcChoice = 130,
        kLoadResistor,
        kBlNonLinear = 140,
        kCmsNonLinear,
        kCoilHeating,
        kBrowse = 150,
        kStatus,
        kLevelOffset,
        kLevelOffsetNone, // shows "---" in place of the level offset
        kAutoLevel,
        kTransition,
        kPhaseLag,
        kDisable,
    };

    // evenDriverCounts: the bandpass box that takes 2 .. 8 drivers in steps of 2.
    // menuCommand: the project's command that opens this dialog (disabled while open).
    TSpeakerConfigDialog(THost& host, TSpeakerObject& speaker, std::string title = kTitle, int menuCommand = 0,
                         bool evenDriverCounts = false);
    ~TSpeakerConfigDialog() override;

    // How the dialog reaches its project: a recalculation request of a kind, and the
    // note that the dialog closed (the project drops its reference).
    std::function<void(TRecalc kind)> onRecalculate;
    std::function<void()> onClosed;

    // Opens with the driver's values, at the position saved in the driver configuration
    // if it has one.
    void OpenAtSavedPosition();

    // The connection list while it is open, else nullptr.
    TSpeakerConnectionDialog* ConnectionList() { return connection_.get(); }

    // The status line text for a stored name: "Not in use" when empty, the last 43
    // characters of a longer one.
    static std::string StatusText(const std::string& name);

private:
    void Browse();
    void OpenConnectionList();
    void Recalculate();

    TSpeakerObject& speaker_;
    std::unique_ptr<TSpeakerConnectionDialog> connection_;
};
