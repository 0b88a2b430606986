#pragma once
// The "Frequency fit opt." dialog of a box project: the fit's settings, the mean error,
// "&Run" and "&Halt". A run is a chain of steps posted through THost::PostDeferred, one
// iteration each, so the window stays live between them; "&Halt" is seen at the next
// step. The steps hold a weak token of the dialog, so a step still queued when the
// project (and with it the dialog) is gone does nothing.
//
// The base does everything; a box type's dialog only names its plan (target shape,
// variables in order), its elements and which of the three layouts it shows.

#include "box/optimize/TBoxFit.h"
#include "ui/TDialogModel.h"

#include <functional>
#include <memory>

class TAbrBox;
class TBandpassBox;
class TBassReflexBox;
class TBassReflexDorvelBox;
class TBoxEmbryo;
class TClosedBox;
class TDoubleTunedBox;

// The three layouts: one box Q (high-pass types with one volume), the bandpass layout
// with an upper cutoff and rear and front Q, the double tuned layout without upper cutoff.
enum class TFitLayout { Single, Bandpass, DoubleTuned };

class TOptFitDialog : public TDialogModel {
public:
    static constexpr int kLowerCutoff = 101, kUpperCutoff = 102, kOptimiseQ = 103, kOptimiseFrontQ = 104,
                         kShowIntermediate = 105, kFineStep = 106, kMeanError = 107, kRun = 110, kHalt = 111;
    // The box dialogs' "&Optimize" commands, disabled while an optimiser dialog is open.
    static constexpr int kTableLookupCommand = 12210, kFrequencyFitCommand = 12211, kQuickBoxCommand = 12212;
    static constexpr int kOptimizeCommands[] = {kTableLookupCommand, kFrequencyFitCommand, kQuickBoxCommand};

    ~TOptFitDialog() override;

    // What opening does: shows the settings, marks the project changed, turns fast
    // mode on and calculates once. The owner opens the dialog afterwards.
    void Prepare();

    // The fit's own operations.
    virtual void Run();  // "&Run": the type's target, then the run start
    virtual void Stop(); // ends a run (the next step after "&Halt")
    virtual double MeanError() { return fit_.MeanError(); }
    virtual void Anchor() { fit_.Anchor(); }

    bool Running() const { return !halted_; }
    const TBoxFit& Fit() const { return fit_; }
    TBoxFit& Fit() { return fit_; }
    void SetRandom(TBoxFit::TRandom random) { fit_.SetRandom(std::move(random)); }
    // Called after every step (the command line prints a line).
    std::function<void(const TBoxFit&)> onStep;

protected:
    TOptFitDialog(THost& host, TBoxEmbryo& project, TDialogModel& boxDialog, TFitLayout layout, const TFitPlan& plan,
                  TFitElements elements);

private:
    void PostStep();
    void DoStep();
    // The check boxes into the project's settings; a type without the front Q box
    // leaves that byte as it is (the cutoff fields are stored as they are typed).
    void StoreChecks();
    void ShowRunning(bool running);
    void EnableOptimizeCommands(bool enabled);

    TBoxEmbryo& project_;
    TDialogModel& boxDialog_;
    TBoxFit fit_;
    bool halted_ = true;
    bool haltRequested_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class TOptClosedFitDialog : public TOptFitDialog {
public:
    TOptClosedFitDialog(THost& host, TClosedBox& box, TDialogModel& boxDialog);
};
class TOptBassReflexFitDialog : public TOptFitDialog {
public:
    TOptBassReflexFitDialog(THost& host, TBassReflexBox& box, TDialogModel& boxDialog);
};
class TOptAbrFitDialog : public TOptFitDialog {
public:
    TOptAbrFitDialog(THost& host, TAbrBox& box, TDialogModel& boxDialog);
};
class TOptBassReflexDorvelFitDialog : public TOptFitDialog {
public:
    TOptBassReflexDorvelFitDialog(THost& host, TBassReflexDorvelBox& box, TDialogModel& boxDialog);
};
// Bandpass types 1 to 4 differ in their target and in the second port.
class TOptBandpassFitDialog : public TOptFitDialog {
protected:
    TOptBandpassFitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog, TFitShape shape);
};
class TOptBP5FitDialog : public TOptBandpassFitDialog {
public:
    TOptBP5FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog);
};
class TOptBP6FitDialog : public TOptBandpassFitDialog {
public:
    TOptBP6FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog);
};
class TOptBP7FitDialog : public TOptBandpassFitDialog {
public:
    TOptBP7FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog);
};
class TOptBP8FitDialog : public TOptBandpassFitDialog {
public:
    TOptBP8FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog);
};
class TOptBassReflexDTFitDialog : public TOptFitDialog {
public:
    TOptBassReflexDTFitDialog(THost& host, TDoubleTunedBox& box, TDialogModel& boxDialog);
};
class TOptBassReflexDT2FitDialog : public TOptFitDialog {
public:
    TOptBassReflexDT2FitDialog(THost& host, TDoubleTunedBox& box, TDialogModel& boxDialog);
};

// The fit dialog of the project's box type, made for its box dialog; nullptr for a
// project of no known type.
std::unique_ptr<TOptFitDialog> MakeFitDialog(THost& host, TBoxEmbryo& project, TDialogModel& boxDialog);
// "By &frequency fit...": prepares and opens the type's fit dialog, or raises the open
// optimiser dialog. Returns the fit dialog shown, nullptr when another optimiser
// dialog is open.
TOptFitDialog* OpenFrequencyFit(THost& host, TBoxEmbryo& project, TDialogModel& boxDialog);
