#include "filter/TNetAOptDialog.h"

#include "filter/TCompA.h"
#include "filter/TNetA.h"
#include "filter/TNetADialog.h"
#include "settings/TProgramContext.h"
#include "ui/TCanvas.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

using O = TNetAOptimiserFields;

// The smallest distance between the two limits of the include range and of the
// excluded band, in Hz.
constexpr int kIncludeSpacing = 100, kExcludeSpacing = 10;

const TFieldInfo kCutoffInfo{"Fc", "Hz", "%d", 0, 20000, 1.0, TValueKind::Whole};
const TFieldInfo kLowerInfo{"Lower", "Hz", "%d", 10, 20000, 1.0, TValueKind::Whole};
const TFieldInfo kUpperInfo{"Upper", "Hz", "%d", 10, 20000, 1.0, TValueKind::Whole};
const TFieldInfo kTargetInfo{"Target SPL", "dB", "%2.1f", -100, 200};
const TFieldInfo kSlopeInfo{"Passband slope", "dB/octave", "%2.2f", -2, 2};
// The step size as a number: 0 leaves every value alone, 99 tries about 10 %.
const TFieldInfo kStepInfo{"Stepsize", "x 0.1 %", "%d", 0, 99, 1.0, TValueKind::Whole};

const std::vector<std::string> kOrders = {"0", "1", "2", "3", "4", "5", "6", "7", "8"};
const std::vector<std::string> kTypes = {"Butterworth", "Linkwitz"};

// A choice bound to a 16-bit setting: any index of the list is taken.
TFieldBinding BindChoice(std::int16_t& stored, int count)
{
    return {.read = [&stored] { return static_cast<double>(stored); },
            .write =
                [&stored, count](double index) {
                    if (!(index >= 0 && index < count))
                        return false;
                    stored = static_cast<std::int16_t>(index);
                    return true;
                }};
}

// A 16-bit limit that must stay at least `spacing` below (or above) its partner; an
// entry that would break that beeps like any refused entry and shows the stored value.
TFieldBinding BindLimit(THost& host, std::int16_t& stored, const std::int16_t& partner, int spacing, bool lower)
{
    return {.read = [&stored] { return static_cast<double>(stored); },
            .write =
                [&host, &stored, &partner, spacing, lower](double hz) {
                    const long v = std::lround(hz);
                    if (lower ? v > partner - spacing : v < partner + spacing) {
                        host.Beep();
                        return false;
                    }
                    stored = static_cast<std::int16_t>(v);
                    return true;
                }};
}

// Plot geometry in dialog pixels.
constexpr TRect kFrame{10, 10, 385, 225};
constexpr TRect kPlotRect{40, 40, 360, 200};
constexpr TRect kCurveClip{40, 39, 360, 200};
constexpr int kPlotHeightScale = 120;

int Pixel(double v) { return static_cast<int>(std::floor(std::clamp(v, -1e6, 1e6) + 0.5)); }

// "%1.0f" for 1 .. 10000, one and two decimals below 1, "kEe" beyond.
std::string FrequencyLabel(int k, int e)
{
    char text[32];
    const double f = k * std::pow(10.0, e);
    if (e >= 0 && e <= 4)
        std::snprintf(text, sizeof text, "%1.0f", f);
    else if (e == -1)
        std::snprintf(text, sizeof text, "%2.1f", f);
    else if (e == -2)
        std::snprintf(text, sizeof text, "%3.2f", f);
    else
        std::snprintf(text, sizeof text, "%1dE%1d", k, e);
    return text;
}

} // namespace

TNetAOptDialog::TNetAOptDialog(THost& host, TNetA& net, TNetADialog& netDialog)
    : TDialogModel(host, net.Name() + ", optimize", "net_opt.txt"), net_(net), netDialog_(netDialog), optimiser_(net)
{
    modal = true;
    O& o = net.optimiser;

    Group("Optimisation list");
    AddList(kList, "", {}, -1).Rows(8).Width(22);
    AddButton(kStart, "Start");
    AddButton(kStop, "Stop").Disabled();
    AddButton(kRefresh, "Refresh");
    AddCombo(kAngle, "Angle", {}, -1)
        .Bind({.read = [&o] { return static_cast<double>(o.ray); },
               .write =
                   [this, &o](double index) {
                       if (!(index >= 0 && index < static_cast<double>(Field(kAngle).items.size())))
                           return false;
                       o.ray = static_cast<std::int16_t>(index);
                       return true;
                   },
               .then =
                   [this] {
                       net_.Owner().MarkChanged();
                       net_.Calculate();
                       Redraw();
                   }});
    AddField(kStepSize, kStepInfo, BindMember(o.step));
    AddField(kLiveUpdate, {.label = "Live update", .kind = TValueKind::Switch}, BindMember(o.liveUpdate)).Then([this] {
        if (net_.optimiser.liveUpdate)
            net_.Owner().Recalculate();
        Redraw();
    });
    AddField(kViewUnfiltered, {.label = "View unfiltered response", .kind = TValueKind::Switch},
             BindMember(o.viewUnfiltered));

    Group("Include", 1);
    AddField(kIncludeLower, kLowerInfo, BindLimit(host, o.includeLower, o.includeUpper, kIncludeSpacing, true));
    AddField(kIncludeUpper, kUpperInfo, BindLimit(host, o.includeUpper, o.includeLower, kIncludeSpacing, false));
    Group("Exclude", 1);
    AddField(kExcludeLower, kLowerInfo, BindLimit(host, o.excludeLower, o.excludeUpper, kExcludeSpacing, true));
    AddField(kExcludeUpper, kUpperInfo, BindLimit(host, o.excludeUpper, o.excludeLower, kExcludeSpacing, false));
    Group("Level", 1);
    AddField(kTargetLevel, kTargetInfo, BindMember(o.targetLevel)).EnabledIf([&o] { return o.lock != 0; });
    AddField(kLock, {.label = "Lock", .kind = TValueKind::Switch}, BindMember(o.lock));
    AddField(kSlope, kSlopeInfo, BindMember(o.slope));

    Group("Lowpass", 2);
    AddField(kLowPassCutoff, kCutoffInfo, BindMember(o.lowPassCutoff));
    AddCombo(kLowPassOrder, "order", kOrders, 0).Bind(BindChoice(o.lowPassOrder, 9));
    AddCombo(kLowPassType, "Type", kTypes, 0).Bind(BindChoice(o.lowPassType, 2));
    Group("Highpass", 2);
    AddField(kHighPassCutoff, kCutoffInfo, BindMember(o.highPassCutoff));
    AddCombo(kHighPassOrder, "order", kOrders, 0).Bind(BindChoice(o.highPassOrder, 9));
    AddCombo(kHighPassType, "Type", kTypes, 0).Bind(BindChoice(o.highPassType, 2));

    Group("", 3);
    AddDrawing(kPlot, kPlotWidth, kPlotHeight, [this](TCanvas& canvas) { Paint(canvas); });

    // Every setting takes effect at once: the plot follows.
    afterCommit = [this] { Redraw(); };
    onCommand = [this](int id) {
        switch (id) {
        case kStart: Start(); break;
        case kStop: Stop(); break;
        case kRefresh: Redraw(); break;
        case kList: Double(); break;
        default: break;
        }
    };
    onListStep = [this](int, int direction) { StepSelected(direction); };
    openChildren = [this] {
        std::vector<TDialogModel*> open;
        if (TDialogModel* sub = OpenSubDialog())
            open.push_back(sub);
        return open;
    };
    onClose = [this] {
        if (sub_)
            sub_->Close();
        running_ = false;
        net_.optimiser.state = O::kClosed;
        net_.Owner().MarkChanged();
        if (abandoned_)
            return;
        // Every ray, phase and group delay again.
        net_.Owner().Recalculate();
        RefreshNetDialog();
    };
}

TNetAOptDialog::~TNetAOptDialog()
{
    alive_.reset();
    // Destroyed open (the network's dialogs are going): the network computes in full again.
    if (IsOpen())
        net_.optimiser.state = O::kClosed;
}

void TNetAOptDialog::Abandon()
{
    abandoned_ = true;
    Close();
    abandoned_ = false;
}

TDialogModel* TNetAOptDialog::OpenSubDialog() const { return sub_ && sub_->IsOpen() ? sub_.get() : nullptr; }

void TNetAOptDialog::Prepare()
{
    net_.optimiser.state = O::kOpen;
    running_ = false;
    optimiser_.ChooseRay();
    ShowRunning(false);
    net_.MarkDirty();
    net_.Owner().MarkChanged();
    net_.Owner().Recalculate();
    // A project recalculates its networks; a network on its own is calculated here.
    if (net_.Branch(0)->Dirty())
        net_.Calculate();
    FillAngles();
    FillList();
    Reload();
    Redraw();
}

void TNetAOptDialog::FillAngles()
{
    const TGeneral& general = net_.Owner().Context().General();
    std::vector<std::string> items;
    for (int r = 0; r < std::max(general.SurfaceRayCount(), 1); ++r) {
        char text[16];
        std::snprintf(text, sizeof text, "%+d", general.SurfaceRay(r));
        items.emplace_back(text);
    }
    optimiser_.ChooseRay(); // a ray beyond the list becomes its last one
    SetItems(kAngle, std::move(items), net_.optimiser.ray);
}

void TNetAOptDialog::FillList()
{
    // The list shows what the network dialog's list shows: every ticked component in use.
    entries_.clear();
    std::vector<std::string> lines;
    for (TCompA* comp : netDialog_.OptimisationEntries()) {
        entries_.push_back(comp);
        lines.push_back(comp->ListLine());
    }
    const int selected = std::min(Selected(kList), static_cast<int>(lines.size()) - 1);
    SetItems(kList, std::move(lines), selected);
}

void TNetAOptDialog::ShowRunning(bool running)
{
    SetEnabled(kStart, !running);
    SetEnabled(kStop, running);
}

void TNetAOptDialog::Redraw()
{
    optimiser_.ComputeShape();
    optimiser_.Measure();
    // The found level shows while the lock is off (the field is disabled then, so no
    // typing is lost).
    if (!net_.optimiser.lock)
        Dbl(kTargetLevel).SetValue(net_.optimiser.targetLevel);
    if (IsOpen())
        Host().RefreshDialog(*this);
}

void TNetAOptDialog::RefreshNetDialog() { netDialog_.Rebuild(); }

void TNetAOptDialog::Start()
{
    if (running_)
        return;
    running_ = true;
    net_.optimiser.state = O::kRunning;
    ShowRunning(true);
    if (IsOpen())
        Host().RefreshDialog(*this);
    PostSweep();
}

void TNetAOptDialog::Stop()
{
    if (!running_)
        return;
    running_ = false;
    net_.optimiser.state = O::kOpen;
    ShowRunning(false);
    RefreshNetDialog();
    net_.Owner().Recalculate();
    Redraw();
}

void TNetAOptDialog::PostSweep()
{
    Host().PostDeferred([this, token = std::weak_ptr<bool>(alive_)] {
        if (!token.expired())
            DoSweep();
    });
}

void TNetAOptDialog::DoSweep()
{
    // Stopped or closed while this sweep was queued.
    if (!running_ || !IsOpen() || net_.optimiser.state != O::kRunning)
        return;
    optimiser_.Sweep();
    if (net_.optimiser.liveUpdate)
        net_.Owner().Recalculate();
    FillList();
    Redraw();
    if (onSweep)
        onSweep(*this);
    PostSweep();
}

void TNetAOptDialog::Double()
{
    const int line = Selected(kList);
    if (line < 0 || line >= static_cast<int>(entries_.size())) {
        Host().Beep();
        return;
    }
    TCompValueDialog::OpenIn(sub_, Host(), *entries_[static_cast<std::size_t>(line)],
                             [this](TCompA& comp) { ChangedComp(comp); });
}

void TNetAOptDialog::StepSelected(int direction)
{
    const int line = Selected(kList);
    if (line < 0 || line >= static_cast<int>(entries_.size())) {
        Host().Beep();
        return;
    }
    TCompA& comp = *entries_[static_cast<std::size_t>(line)];
    if (!(direction > 0 ? comp.StepUp() : comp.StepDown())) {
        Host().Beep();
        return;
    }
    ChangedComp(comp);
}

void TNetAOptDialog::ChangedComp(TCompA& comp)
{
    comp.MarkDirty();
    RefreshNetDialog();
    net_.Owner().MarkChanged();
    net_.Owner().Recalculate();
    if (comp.Dirty())
        net_.Calculate(); // a network on its own
    FillList();
    Redraw();
}

// ---------------------------------------------------------------- the plot

void TNetAOptDialog::Paint(TCanvas& canvas) const
{
    const TGeneral& general = net_.Owner().Context().General();
    const double* f = general.FilterGrid().Frequencies().data();
    const O& o = net_.optimiser;
    const TNetBase::TRealRow& level = net_.Level(optimiser_.Ray());
    const TNetBase::TRealRow& target = optimiser_.Target();
    const TNetBase::TRealRow& unfiltered = optimiser_.Unfiltered();
    const bool showUnfiltered = o.viewUnfiltered != 0;

    canvas.SetFont(TFontSpec{"Arial", 14});
    canvas.SetTextColor(TColors::Black);
    canvas.SetNoBrush();
    canvas.SetPen({TColors::Black, 1, TDash::Solid});
    canvas.Rectangle(kFrame);
    canvas.Rectangle(kPlotRect);
    canvas.Text(40, 20, "dB", TAlign::Left | TAlign::Top);
    canvas.Text(370, 190, "Hz", TAlign::Left | TAlign::Top);

    // x: log frequency over the display range.
    const double fmin = std::max(general.LowerFrequency(), 1);
    const double fmax = std::max<double>(general.UpperFrequency(), fmin * 1.0001);
    const double lmin = std::log10(fmin), span = std::log10(fmax) - lmin;
    const auto X = [&](double hz) { return kPlotRect.left + Pixel((std::log10(hz) - lmin) * 320.0 / span); };

    // y: 20 dB from just above the highest level.
    double top = *std::max_element(level.begin(), level.end());
    if (showUnfiltered)
        top = std::max(top, *std::max_element(unfiltered.begin(), unfiltered.end()));
    if (!std::isfinite(top))
        top = 0.0;
    const double ymax = top + 20.0 / 30.0 + 1.0, ymin = top + 20.0 / 30.0 - 20.0;
    const auto Y = [&](double v) { return kPlotRect.top + Pixel((ymax - v) * kPlotHeightScale / (ymax - ymin)); };

    const TLineStyle grid{TColors::Grey, 1, TDash::Dot};
    // Vertical grid and the frequency labels.
    const int decades = static_cast<int>(std::ceil(span - 1e-9));
    bool first = true;
    for (int e = static_cast<int>(std::floor(lmin)); e <= static_cast<int>(std::floor(std::log10(fmax))); ++e)
        for (int k = 1; k <= 9; ++k) {
            const double hz = k * std::pow(10.0, e);
            if (hz < fmin * 0.99999 || hz > fmax * 1.00001)
                continue;
            const int x = X(hz);
            canvas.SetPen(grid);
            canvas.MoveTo(x, kPlotRect.top);
            canvas.LineTo(x, kPlotRect.bottom);
            const bool labelled = k == 1 || k == 5 || (k == 2 && decades <= 2);
            if (first || labelled)
                canvas.Text(x, kPlotRect.bottom + 5, FrequencyLabel(k, e), TAlign::Center | TAlign::Top);
            if (labelled) {
                canvas.SetPen({TColors::Black, 1, TDash::Solid});
                canvas.MoveTo(x, kPlotRect.bottom);
                canvas.LineTo(x, kPlotRect.bottom + 3);
            }
            first = false;
        }
    // Horizontal grid at every 5 dB, down to the plot's bottom edge.
    for (double v = std::floor(ymax / 5.0) * 5.0; Y(v) <= kPlotRect.bottom; v -= 5.0) {
        const int y = Y(v);
        if (y < kPlotRect.top)
            continue;
        canvas.SetPen(grid);
        canvas.MoveTo(kPlotRect.left, y);
        canvas.LineTo(kPlotRect.right, y);
        char text[16];
        std::snprintf(text, sizeof text, "%2.0f", v);
        canvas.Text(kPlotRect.left - 3, y, text, TAlign::Right | TAlign::VCenter);
    }

    // The curves, between neighbouring grid points inside the display range.
    canvas.SetClip(kCurveClip);
    const auto inside = [&](std::size_t j) { return f[j] >= fmin && f[j] <= fmax; };
    const auto curve = [&](const TNetBase::TRealRow& row, const TLineStyle& style, auto&& drawn) {
        canvas.SetPen(style);
        for (std::size_t j = 0; j + 1 < row.size(); ++j) {
            if (!inside(j) || !inside(j + 1) || !drawn(j) || !std::isfinite(row[j]) || !std::isfinite(row[j + 1]))
                continue;
            canvas.MoveTo(X(f[j]), Y(row[j]));
            canvas.LineTo(X(f[j + 1]), Y(row[j + 1]));
        }
    };
    const auto always = [](std::size_t) { return true; };
    if (showUnfiltered)
        curve(unfiltered, {TColors::Red, 1, TDash::Dot}, always);
    curve(target, {TColors::Grey, 3, TDash::Solid}, [&](std::size_t j) {
        return f[j] >= o.includeLower && f[j] <= o.includeUpper && (f[j] < o.excludeLower || f[j] > o.excludeUpper);
    });
    curve(level, {TColors::Red, 2, TDash::Solid}, always);

    // The range limits.
    const auto limit = [&](double hz, TColor color) {
        if (hz < fmin || hz > fmax)
            return;
        canvas.SetPen({color, 1, TDash::Dot});
        canvas.MoveTo(X(hz), kPlotRect.top);
        canvas.LineTo(X(hz), kPlotRect.bottom);
    };
    limit(o.includeLower, TColors::Green);
    limit(o.includeUpper, TColors::Green);
    limit(o.excludeLower, TColors::Red);
    limit(o.excludeUpper, TColors::Red);
    canvas.ClearClip();
}
