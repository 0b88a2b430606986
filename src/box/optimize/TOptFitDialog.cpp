#include "box/optimize/TOptFitDialog.h"

#include "box/TAbrBox.h"
#include "box/TBP5Box.h"
#include "box/TBP6Box.h"
#include "box/TBP7Box.h"
#include "box/TBP8Box.h"
#include "box/TBandpassBox.h"
#include "box/TBassReflexBox.h"
#include "box/TBassReflexDT2Box.h"
#include "box/TBassReflexDTBox.h"
#include "box/TBassReflexDorvelBox.h"
#include "box/TClosedBox.h"
#include "box/TDoubleTunedBox.h"
#include "box/elements/TBoxObject.h"
#include "ui/THost.h"

#include <cstdio>

namespace {
using V = TFitVariable;

using S = TFitSettings;
const TFieldInfo kLowerCutoffInfo{"Lower cufoff freq.", "Hz", "%ld", S::kMinLowerCutoff, S::kMaxLowerCutoff, 1.0,
                                  TValueKind::Whole};
const TFieldInfo kUpperCutoffInfo{"Upper cufoff freq.", "Hz", "%ld", S::kMinUpperCutoff, S::kMaxUpperCutoff, 1.0,
                                  TValueKind::Whole};

// The check box captions of the three layouts: Q, front Q, show, fine.
struct TFitCaptions {
    const char* q;
    const char* frontQ; // nullptr: the layout has none
    const char* show;
    const char* fine;
};
TFitCaptions CaptionsOf(TFitLayout layout)
{
    switch (layout) {
    case TFitLayout::Single:
        return {"Optimize box Q-value", nullptr, "Show intermediate results", "Fine step optimize"};
    case TFitLayout::Bandpass:
        return {"Optimize rear box Q-value", "Optimize front box Q-value", "Show intermediate results",
                "Fine step optimize"};
    case TFitLayout::DoubleTuned:
        return {"Optimize rear box Q value", "Optimize front box Q value", "Show immediate results",
                "Fine step optimization"};
    }
    return {};
}

const TFitPlan kClosedPlan{TFitShape::SecondOrder, {V::FirstVolume, V::FirstQ}, V::FirstVolume};
const TFitPlan kReflexPlan{TFitShape::FourthOrder, {V::FirstVolume, V::FirstQ, V::FirstPort}, V::FirstVolume};
const TFitPlan kAbrPlan{TFitShape::FourthOrder, {V::FirstVolume, V::FirstQ, V::RadiatorMass}, V::FirstVolume};
// Two volumes: the second one's trial is drawn.
constexpr V kTwoChambers[] = {V::FirstVolume, V::SecondVolume, V::FirstQ, V::SecondQ, V::FirstPort, V::SecondPort};

TFitPlan TwoChamberPlan(TFitShape shape, bool secondPort)
{
    TFitPlan plan{shape, {std::begin(kTwoChambers), std::end(kTwoChambers)}, V::SecondVolume};
    if (!secondPort)
        plan.order.pop_back();
    return plan;
}
} // namespace

TOptFitDialog::TOptFitDialog(THost& host, TBoxEmbryo& project, TDialogModel& boxDialog, TFitLayout layout,
                             const TFitPlan& plan, TFitElements elements)
    : TDialogModel(host, "Frequency fit opt.", "optfit.txt"), project_(project), boxDialog_(boxDialog),
      fit_(project, plan, elements, host)
{
    const TFitCaptions captions = CaptionsOf(layout);
    const auto idle = [this] { return halted_; };
    Group("");
    AddField(kLowerCutoff, kLowerCutoffInfo, BindMember(project.optimiserIterations)).EnabledIf(idle);
    if (layout == TFitLayout::Bandpass)
        AddField(kUpperCutoff, kUpperCutoffInfo, BindMember(project.optimiserSpare)).EnabledIf(idle);
    AddCheck(kOptimiseQ, "", captions.q, false);
    if (captions.frontQ)
        AddCheck(kOptimiseFrontQ, "", captions.frontQ, false);
    AddCheck(kShowIntermediate, "", captions.show, true);
    AddCheck(kFineStep, "", captions.fine, false);
    AddText(kMeanError, "Mean error").unit = "dB";
    AddButton(kRun, "&Run", true);
    AddButton(kHalt, "&Halt", true).Disabled();

    // The settings live in the project: a typed cutoff is kept at once.
    afterCommit = [this] { project_.RecalcRequest(TRecalc::MarkChanged); };
    onCommand = [this](int id) {
        if (id == kRun)
            Run();
        else if (id == kHalt)
            haltRequested_ = true;
    };
    onClose = [this] {
        // A run does not outlive its window: it ends here with the final state drawn.
        if (!halted_)
            Stop();
        StoreChecks();
        project_.fastMode = false;
        EnableOptimizeCommands(true);
    };
}

TOptFitDialog::~TOptFitDialog()
{
    // A step still queued finds the token gone and does nothing.
    alive_.reset();
}

void TOptFitDialog::Prepare()
{
    const TFitSettings s = TFitSettings::Of(project_);
    // The fields show what a run will use.
    project_.optimiserIterations = static_cast<std::int16_t>(s.lowerCutoff);
    if (Find(kUpperCutoff))
        project_.optimiserSpare = static_cast<std::int16_t>(s.upperCutoff);
    SetChecked(kOptimiseQ, s.optimiseQ);
    if (Find(kOptimiseFrontQ))
        SetChecked(kOptimiseFrontQ, s.optimiseFrontQ);
    SetChecked(kShowIntermediate, s.showIntermediate);
    SetChecked(kFineStep, s.fineStep);
    ShowRunning(false);
    project_.RecalcRequest(TRecalc::MarkChanged);
    EnableOptimizeCommands(false);
    project_.MeasSetup().setupChanged = true;
    project_.fastMode = true;
    project_.Calculate(0);
}

void TOptFitDialog::StoreChecks()
{
    project_.optimiserOptions[0] = Checked(kOptimiseQ) ? 1 : 0;
    if (Find(kOptimiseFrontQ))
        project_.optimiserOptions[1] = Checked(kOptimiseFrontQ) ? 1 : 0;
    project_.optimiserOptions[2] = Checked(kShowIntermediate) ? 1 : 0;
    project_.optimiserOptions[3] = Checked(kFineStep) ? 1 : 0;
}

void TOptFitDialog::ShowRunning(bool running)
{
    SetEnabled(kRun, !running);
    SetEnabled(kHalt, running);
    for (int id : {kOptimiseQ, kOptimiseFrontQ, kShowIntermediate, kFineStep})
        if (Find(id))
            SetEnabled(id, !running);
    // The cutoff fields follow halted_ through their enabling rule.
    if (IsOpen())
        Reload();
}

void TOptFitDialog::EnableOptimizeCommands(bool enabled)
{
    for (int id : kOptimizeCommands)
        boxDialog_.EnableCommand(id, enabled);
    if (boxDialog_.IsOpen())
        Host().RefreshDialog(boxDialog_);
}

void TOptFitDialog::Run()
{
    if (!halted_)
        return;
    if (!project_.FrontDriver().complete) {
        Host().Message("The driver unit is not complete, so there is no response to fit.\n"
                       "Load a unit file or complete the unit first.",
                       title, TMsgButtons::Ok, TMsgIcon::Warning);
        return;
    }
    StoreChecks();
    const TFitSettings settings = TFitSettings::Of(project_);
    fit_.ComputeTarget(settings);
    fit_.Start(settings);
    halted_ = false;
    haltRequested_ = false;
    ShowRunning(true);
    PostStep();
}

void TOptFitDialog::Stop()
{
    if (halted_)
        return;
    halted_ = true;
    haltRequested_ = false;
    fit_.Finish();
    ShowRunning(false);
    if (boxDialog_.IsOpen())
        boxDialog_.Reload();
}

void TOptFitDialog::PostStep()
{
    Host().PostDeferred([this, token = std::weak_ptr<bool>(alive_)] {
        if (!token.expired())
            DoStep();
    });
}

void TOptFitDialog::DoStep()
{
    if (halted_)
        return; // closed or stopped while this step was queued
    if (haltRequested_) {
        Stop();
        return;
    }
    fit_.Step();
    char text[32];
    std::snprintf(text, sizeof text, "%6.4f", fit_.ShownError());
    SetText(kMeanError, text);
    if (boxDialog_.IsOpen())
        boxDialog_.Reload();
    if (IsOpen())
        Host().RefreshDialog(*this);
    if (onStep)
        onStep(fit_);
    PostStep();
}

// ---------------------------------------------------------------- the box types

TOptClosedFitDialog::TOptClosedFitDialog(THost& host, TClosedBox& box, TDialogModel& boxDialog)
    : TOptFitDialog(host, box, boxDialog, TFitLayout::Single, kClosedPlan, {.first = &box.BoxVolume()})
{}

TOptBassReflexFitDialog::TOptBassReflexFitDialog(THost& host, TBassReflexBox& box, TDialogModel& boxDialog)
    : TOptFitDialog(host, box, boxDialog, TFitLayout::Single, kReflexPlan,
                    {.first = &box.BoxVolume(), .firstPort = &box.Port()})
{}

TOptAbrFitDialog::TOptAbrFitDialog(THost& host, TAbrBox& box, TDialogModel& boxDialog)
    : TOptFitDialog(host, box, boxDialog, TFitLayout::Single, kAbrPlan,
                    {.first = &box.BoxVolume(), .radiator = &box.Radiator()})
{}

TOptBassReflexDorvelFitDialog::TOptBassReflexDorvelFitDialog(THost& host, TBassReflexDorvelBox& box,
                                                             TDialogModel& boxDialog)
    : TOptFitDialog(host, box, boxDialog, TFitLayout::Single, kReflexPlan,
                    {.first = &box.FrontBox(), .firstPort = &box.FrontPort()})
{}

TOptBandpassFitDialog::TOptBandpassFitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog, TFitShape shape)
    : TOptFitDialog(host, box, boxDialog, TFitLayout::Bandpass, TwoChamberPlan(shape, box.PortCount() == 2),
                    {.first = &box.FirstBox(),
                     .second = &box.SecondBox(),
                     .firstPort = &box.Port(0),
                     .secondPort = box.PortCount() == 2 ? &box.Port(1) : nullptr})
{}

TOptBP5FitDialog::TOptBP5FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog)
    : TOptBandpassFitDialog(host, box, boxDialog, TFitShape::BandpassLow)
{}
TOptBP6FitDialog::TOptBP6FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog)
    : TOptBandpassFitDialog(host, box, boxDialog, TFitShape::BandpassLow)
{}
TOptBP7FitDialog::TOptBP7FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog)
    : TOptBandpassFitDialog(host, box, boxDialog, TFitShape::BandpassHigh)
{}
TOptBP8FitDialog::TOptBP8FitDialog(THost& host, TBandpassBox& box, TDialogModel& boxDialog)
    : TOptBandpassFitDialog(host, box, boxDialog, TFitShape::BandpassHigh)
{}

namespace {
TFitElements DoubleTunedElements(TDoubleTunedBox& box)
{
    return {.first = &box.BoxVolume(),
            .second = &box.SecondBox(),
            .firstPort = &box.FirstPort(),
            .secondPort = &box.SecondPort()};
}
} // namespace

TOptBassReflexDTFitDialog::TOptBassReflexDTFitDialog(THost& host, TDoubleTunedBox& box, TDialogModel& boxDialog)
    : TOptFitDialog(host, box, boxDialog, TFitLayout::DoubleTuned, TwoChamberPlan(TFitShape::FourthOrder, true),
                    DoubleTunedElements(box))
{}
TOptBassReflexDT2FitDialog::TOptBassReflexDT2FitDialog(THost& host, TDoubleTunedBox& box, TDialogModel& boxDialog)
    : TOptFitDialog(host, box, boxDialog, TFitLayout::DoubleTuned, TwoChamberPlan(TFitShape::FourthOrder, true),
                    DoubleTunedElements(box))
{}

std::unique_ptr<TOptFitDialog> MakeFitDialog(THost& host, TBoxEmbryo& project, TDialogModel& boxDialog)
{
    if (auto* b = dynamic_cast<TClosedBox*>(&project))
        return std::make_unique<TOptClosedFitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBassReflexBox*>(&project))
        return std::make_unique<TOptBassReflexFitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TAbrBox*>(&project))
        return std::make_unique<TOptAbrFitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBassReflexDorvelBox*>(&project))
        return std::make_unique<TOptBassReflexDorvelFitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBP5Box*>(&project))
        return std::make_unique<TOptBP5FitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBP6Box*>(&project))
        return std::make_unique<TOptBP6FitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBP7Box*>(&project))
        return std::make_unique<TOptBP7FitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBP8Box*>(&project))
        return std::make_unique<TOptBP8FitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBassReflexDTBox*>(&project))
        return std::make_unique<TOptBassReflexDTFitDialog>(host, *b, boxDialog);
    if (auto* b = dynamic_cast<TBassReflexDT2Box*>(&project))
        return std::make_unique<TOptBassReflexDT2FitDialog>(host, *b, boxDialog);
    return nullptr;
}

TOptFitDialog* OpenFrequencyFit(THost& host, TBoxEmbryo& project, TDialogModel& boxDialog)
{
    if (TDialogModel* open = project.OptimiserDialog()) {
        open->Open(); // raises it
        return dynamic_cast<TOptFitDialog*>(open);
    }
    std::unique_ptr<TOptFitDialog> dialog = MakeFitDialog(host, project, boxDialog);
    if (!dialog)
        return nullptr;
    TOptFitDialog& fit = *dialog;
    fit.Prepare();
    project.OpenOptimiserDialog(std::move(dialog));
    return &fit;
}
