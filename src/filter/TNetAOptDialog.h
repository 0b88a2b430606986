#pragma once
// The optimiser dialog of one advanced network ("Net 1, optimize"): the target, the
// range, the angle, the step size, the optimisation list and the plot of the network's
// level against the target. "Start" runs sweeps while the program is idle: each sweep
// is posted through THost::PostDeferred and posts the next while the network's
// optimiser state is 2, so the window stays live between sweeps; "Stop" only sets the
// state, and closing the dialog ends a run the same way. A posted sweep holds a weak
// token of its dialog, so none runs once the dialog is gone.
//
// Every field is bound to the network's settings (TNetAOptimiserFields), so the
// command line reaches them by label and the record keeps them.

#include "filter/TNetAOptimiser.h"
#include "ui/TDialogModel.h"

#include <functional>
#include <memory>

class TNetA;
class TNetADialog;

class TNetAOptDialog : public TDialogModel {
public:
    static constexpr int kStepSize = 101, kList = 102, kStart = 103, kStop = 104, kAngle = 105, kTargetLevel = 107,
                         kHighPassCutoff = 108, kLowPassCutoff = 109, kHighPassOrder = 110, kLowPassOrder = 113,
                         kLiveUpdate = 114, kIncludeUpper = 115, kLowPassType = 116, kViewUnfiltered = 118,
                         kHighPassType = 119, kRefresh = 120, kLock = 121, kIncludeLower = 122, kExcludeUpper = 123,
                         kExcludeLower = 124, kSlope = 125, kPlot = 130;
    // The plot's picture, in logical units (pixels in the dialog).
    static constexpr int kPlotWidth = 395, kPlotHeight = 235;

    TNetAOptDialog(THost& host, TNetA& net, TNetADialog& netDialog);
    ~TNetAOptDialog() override;

    // What opening does: state 1, the ray chosen, the network calculated for the
    // optimiser, the lists filled and the plot drawn. The owner opens the dialog after.
    void Prepare();
    void Start();
    void Stop();
    // Closes without the closing recalculation (the network dialog, and perhaps the
    // project, is going away): a run ends and the state is 0 again.
    void Abandon();
    bool Running() const { return running_; }

    TNetAOptimiser& Optimiser() { return optimiser_; }
    const TNetAOptimiser& Optimiser() const { return optimiser_; }
    void SetRandom(TNetAOptimiser::TRandom random) { optimiser_.SetRandom(std::move(random)); }
    // The components of list 102, in its order.
    const std::vector<TCompA*>& Entries() const { return entries_; }
    // The value dialog a double click opened, while open.
    TDialogModel* OpenSubDialog() const;
    // Called after every sweep (the command line prints a line).
    std::function<void(const TNetAOptDialog&)> onSweep;

    // The plot: frame, grid, labels, the unfiltered, target and level curves and the
    // range limits, on any canvas mapped to kPlotWidth x kPlotHeight.
    void Paint(TCanvas& canvas) const;

private:
    // The target shape and the error measure again, the plot repainted, the target
    // level shown.
    void Redraw();
    void FillList();
    void FillAngles();
    void PostSweep();
    void DoSweep();
    void ShowRunning(bool running);
    void Double();
    void StepSelected(int direction);
    void ChangedComp(TCompA& comp);
    void RefreshNetDialog();

    TNetA& net_;
    TNetADialog& netDialog_;
    TNetAOptimiser optimiser_;
    std::vector<TCompA*> entries_;
    std::unique_ptr<TDialogModel> sub_;
    bool running_ = false;
    bool abandoned_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
