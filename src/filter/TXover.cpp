// The filter project's life cycle, the totals of its networks and its plot windows.

#include "filter/TXover.h"

#include "filter/TBranch.h"
#include "filter/TDriverDialog.h"
#include "filter/TNetDialog.h"
#include "filter/TXoverDialogs.h"
#include "plot/TSnapshotDialog.h"
#include "timedomain/TSimDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;
// Squared magnitudes below this read as -300 dB, as the networks' own levels do.
constexpr double kSmallestSquare = 1e-30;

inline double LevelOf(const TComplex& z) { return DecibelsOfSquared(std::max(SquaredMagnitudeOf(z), kSmallestSquare)); }

struct TPlotLook {
    TXoverPlot which;
    const char* caption;
    const char* yUnit;
    TRect restored; // two columns of default-size windows
};
constexpr TPlotLook kPlotLooks[] = {
    {TXoverPlot::Gain, "Filter gain", "dB", TRect{0, 0, 600, 290}},
    {TXoverPlot::Impedance, "Input impedance", "Ohm", TRect{600, 0, 1200, 290}},
    {TXoverPlot::Summed, "Summed frequency response", "dB", TRect{0, 290, 600, 580}},
    {TXoverPlot::Phase, "Individual phase response", "deg", TRect{600, 290, 1200, 580}},
    {TXoverPlot::GroupDelay, "Group delay", "ms", TRect{0, 580, 600, 870}},
    {TXoverPlot::Surface, "Vertical off axis response, surface plot", "dB", TRect{600, 580, 1200, 870}},
    {TXoverPlot::Overlay, "Vertical off axis response, overlaid plots", "dB", TRect{0, 870, 600, 1160}},
};

constexpr TColor kColours[8] = {TColors::Black,  TColors::Red,     TColors::Green, TColors::Blue,
                                TColors::Yellow, TColors::Magenta, TColors::Cyan,  TColors::Grey};
// Palette slots of the colours above.
enum { kBlack = 0, kRed = 1, kGreen = 2, kBlue = 3, kYellow = 4, kMagenta = 5, kCyan = 6, kGrey = 7 };
// The dashed styles come in black, red, green, blue and grey.
constexpr TColor kDashColours[5] = {TColors::Black, TColors::Red, TColors::Green, TColors::Blue, TColors::Grey};
// The overlay plot's curves in order.
constexpr int kOverlayColours[8] = {kBlack, kBlue, kRed, kGreen, kBlack, kMagenta, kCyan, kGrey};

std::string AngleLabel(int angle)
{
    char text[16];
    std::snprintf(text, sizeof text, "%+d", angle);
    return text;
}
} // namespace

int TXover::KindOfTypeCode(int typeCode)
{
    if (typeCode == 15 || typeCode == 16)
        return typeCode - 15;
    if (typeCode >= 20 && typeCode <= 23)
        return typeCode - 17;
    if (typeCode >= 25 && typeCode <= 28)
        return typeCode - 17;
    return -1;
}

int TXover::TypeCodeOfKind(int creation)
{
    const int kind = KeptKind(creation);
    if (kind >= 3 && kind <= 6)
        return kind + 17;
    return kind == 1 ? 16 : 15;
}

namespace {
int CheckedCreation(int creation)
{
    return creation == 1 || (creation >= 3 && creation <= 6) || (creation >= 8 && creation <= 11) ? creation : 0;
}
} // namespace

TXover::TXover(THost& host, TProgramContext& context, int creation)
    : host_(host), context_(context), kind_(KeptKind(CheckedCreation(creation))),
      typeCode_(TypeCodeOfKind(CheckedCreation(creation)))
{
    for (int i = 0; i < 8; ++i) {
        thick_[static_cast<std::size_t>(i)] = TLineStyle{kColours[i], 3, TDash::Solid};
        thin_[static_cast<std::size_t>(i)] = TLineStyle{kColours[i], 1, TDash::Solid};
    }
    for (int i = 0; i < 5; ++i) {
        const auto s = static_cast<std::size_t>(i);
        dashed_[s] = TLineStyle{kDashColours[i], 1, TDash::Dash};
        dotted_[s] = TLineStyle{kDashColours[i], 1, TDash::Dot};
        dashDot_[s] = TLineStyle{kDashColours[i], 1, TDash::DashDot};
        dashDotDot_[s] = TLineStyle{kDashColours[i], 1, TDash::DashDotDot};
    }
    styles_.textFont = TFontSpec{"Arial", 30, false, false};
    styles_.titleFont = TFontSpec{"Arial", 40, false, false};
    cursor_ = std::make_unique<TCursorDialog>(host_);
    if (Advanced()) {
        const bool active = CheckedCreation(creation) >= 8;
        for (int i = 0; i < Ways(); ++i) {
            auto net = std::make_unique<TNetA>(*this, i, active, cursor_.get());
            netADialogs_.push_back(std::make_unique<TNetADialogs>(host_, *net));
            nets_.push_back(std::move(net));
        }
    } else {
        for (int i = 0; i < 3; ++i)
            nets_.push_back(std::make_unique<TNet>(*this, i));
    }
    CreatePlots();
    auto fileName = [this] { return projectFile_; };
    if (Advanced()) {
        for (TNetA* net : AdvancedNets())
            schematicsA_.push_back(std::make_unique<TDrawingWinA>(host_, *net, fileName));
    } else {
        Net(2).twoWayBand = !ThreeWay();
        std::vector<TNetBase*> simple;
        for (TNet* net : Networks())
            simple.push_back(net);
        schematic_ = std::make_unique<TDrawingWin>(host_, simple, ThreeWay(), fileName);
    }
    context_.General().SetListener(this);
    if (Advanced()) {
        // Network, driver set and the four exports of each absent net.
        for (int first : {13021, 13011, 13031, 13041, 13061, 13051})
            for (int n = Ways(); n < 4; ++n)
                host_.RemoveCommand(first + n);
    } else if (!ThreeWay()) {
        // A two-way filter has no mid network to open, export or drive.
        for (int id : {12102, 13002, 12023, 12033, 12003, 12013})
            host_.RemoveCommand(id);
    }
    ResetProject();
}

TXover::~TXover()
{
    // Dialogs first: they refer to the project, its networks and its windows.
    for (auto& dialogs : netADialogs_)
        dialogs->CloseAll();
    netADialogs_.clear();
    exportRayDialog_.reset();
    snapshotDialog_.reset();
    printDiagrams_.reset();
    showDiagrams_.reset();
    if (context_.General().Listener() == this)
        context_.General().SetListener(nullptr);
    for (auto& plot : plots_)
        if (plot)
            host_.DestroyView(*plot);
    if (impulse_)
        host_.DestroyView(*impulse_);
    if (snapshot_)
        host_.DestroyView(*snapshot_);
}

void TXover::RedrawSchematics()
{
    // Every change of a network comes through here; the schematics show its values.
    if (schematic_)
        schematic_->Redraw();
    for (auto& window : schematicsA_)
        window->Redraw();
}

TSchematicWin* TXover::ActiveSchematic() const
{
    TWindowModel* active = host_.ActiveView();
    if (active == nullptr)
        return nullptr;
    if (schematic_ && active == schematic_.get())
        return schematic_.get();
    for (const auto& window : schematicsA_)
        if (active == window.get())
            return window.get();
    return nullptr;
}

std::vector<TNet*> TXover::Networks() const
{
    if (Advanced())
        return {};
    auto simple = [this](int i) { return static_cast<TNet*>(nets_[static_cast<std::size_t>(i)].get()); };
    if (ThreeWay())
        return {simple(0), simple(1), simple(2)};
    return {simple(0), simple(2)};
}

TNet& TXover::Net(int index) const
{
    // Simple projects only: their three networks are TNet.
    return *static_cast<TNet*>(nets_[static_cast<std::size_t>(std::clamp(index, 0, 2))].get());
}

std::vector<TNetA*> TXover::AdvancedNets() const
{
    std::vector<TNetA*> nets;
    if (Advanced())
        for (const auto& net : nets_)
            nets.push_back(static_cast<TNetA*>(net.get()));
    return nets;
}

TNetA& TXover::NetA(int index) const
{
    return *static_cast<TNetA*>(nets_[static_cast<std::size_t>(std::clamp(index, 0, Ways() - 1))].get());
}

TNetADialogs& TXover::NetADialogs(int index) const
{
    return *netADialogs_[static_cast<std::size_t>(std::clamp(index, 0, Ways() - 1))];
}

std::vector<TNetBase*> TXover::NetsInUse() const
{
    std::vector<TNetBase*> nets;
    if (Advanced()) {
        for (const auto& net : nets_)
            nets.push_back(net.get());
    } else {
        for (TNet* net : Networks())
            nets.push_back(net);
    }
    return nets;
}

const double* TXover::Frequencies() const { return context_.General().FilterGrid().Frequencies().data(); }

namespace {
// Bass blue; the mid red; the treble red beside a bass alone, green beside a mid.
// Net 1 to Net 4 blue, red, green and yellow.
int NetColour(bool advanced, bool threeWay, int index)
{
    static constexpr int kAdvanced[4] = {kBlue, kRed, kGreen, kYellow};
    if (advanced)
        return kAdvanced[std::clamp(index, 0, 3)];
    const int simple[3] = {kBlue, kRed, threeWay ? kGreen : kRed};
    return simple[std::clamp(index, 0, 2)];
}

constexpr const char* kShort[3] = {"Bass", "Mid", "Treble"};
} // namespace

void TXover::CreatePlots()
{
    for (const TPlotLook& look : kPlotLooks) {
        // Advanced networks own their gain plots.
        if (look.which == TXoverPlot::Gain && Advanced())
            continue;
        std::unique_ptr<TPlotLogXLinY> plot;
        if (look.which == TXoverPlot::Surface) {
            auto surface = std::make_unique<TMultiPlot>(host_, look.caption, styles_, thin_[kBlack], surfaceOnAxis_,
                                                        context_.General(), Frequencies(), kPoints);
            surface_ = surface.get();
            plot = std::move(surface);
        } else {
            plot = std::make_unique<TPlotLogXLinY>(host_, look.caption, styles_, cursor_.get(), 0, 290,
                                                   TPlotXYEmbryo::kMaxCurves, kPoints);
        }
        plot->SetXUnit("Hz");
        plot->SetYUnit(look.yUnit);
        plot->placement.restored = look.restored;
        plot->SetXData(Frequencies());
        plot->SetPointCount(kPoints);
        plots_[static_cast<std::size_t>(look.which)] = std::move(plot);
    }
    impulse_ = std::make_unique<TImpResponse>(host_, styles_, cursor_.get(), context_.General(), thin_[kBlack]);
    impulse_->placement.restored = TRect{600, 870, 1200, 1160};
    TPlotLogXLinY& impedance = Plot(TXoverPlot::Impedance);
    TPlotLogXLinY& phase = Plot(TXoverPlot::Phase);
    TPlotLogXLinY& delay = Plot(TXoverPlot::GroupDelay);
    impedance.AddCurve(totalMagnitude_.data(), thick_[kBlack], "Total", true);
    impedance.SetPhaseCurve(totalPhase_.data(), dotted_[0]);
    delay.AddCurve(groupDelay_.data(), thick_[kBlack], "Total", true);
    Plot(TXoverPlot::Summed).SetPhaseCurve(summedPhase_.data(), dotted_[0]);
    for (const TNet* net : Networks())
        Plot(TXoverPlot::Gain)
            .AddCurve(net->FilterGain().data(), thick_[static_cast<std::size_t>(NetColour(false, ThreeWay(), net->Index()))],
                      kShort[net->Index()], true);
    const std::vector<TNetBase*> nets = NetsInUse();
    for (std::size_t n = 0; n < nets.size(); ++n) {
        const int index = Advanced() ? static_cast<int>(n) : Networks()[n]->Index();
        const TLineStyle& style = thick_[static_cast<std::size_t>(NetColour(Advanced(), ThreeWay(), index))];
        const std::string label = NetLabel(index);
        impedance.AddCurve(nets[n]->ImpedanceMagnitude().data(), style, label, true);
        phase.AddCurve(nets[n]->OnAxisPhase().data(), style, label, true);
        delay.AddCurve(nets[n]->GroupDelay().data(), style, label, true);
    }
    const TGeneral& general = context_.General();
    snapshot_ = std::make_unique<TSnapshot>(
        host_, styles_, cursor_.get(),
        TSnapshot::TRangeSource{.start = [&general] { return std::int32_t{general.LowerFrequency()}; },
                                .stop = [&general] { return std::int32_t{general.UpperFrequency()}; }});
    snapshot_->placement.restored = TRect{200, 100, 800, 480};
    host_.CreateView(*snapshot_);
}

std::string TXover::NetLabel(int index) const
{
    if (Advanced())
        return "Net " + std::to_string(index + 1);
    return kShort[std::clamp(index, 0, 2)];
}

std::vector<TPlotXYEmbryo*> TXover::DiagramWindows() const
{
    std::vector<TPlotXYEmbryo*> windows;
    // The networks' gain plots from the last net down, as the file keeps them.
    const std::vector<TNetA*> advanced = AdvancedNets();
    for (auto it = advanced.rbegin(); it != advanced.rend(); ++it)
        windows.push_back(&(*it)->GainPlot());
    for (const auto& plot : plots_) {
        if (plot)
            windows.push_back(plot.get());
        // The impulse response window stands between the group delay and the surface plot.
        if (plot.get() == plots_[static_cast<std::size_t>(TXoverPlot::GroupDelay)].get())
            windows.push_back(impulse_.get());
    }
    return windows;
}

void TXover::ShowStartWindows()
{
    host_.ShowView(Plot(TXoverPlot::Summed));
    host_.ShowView(Plot(TXoverPlot::Impedance));
}

void TXover::ResetProject()
{
    diagramsPerPage = 8;
    printDate = true;
    printProjectName = true;
    printList.clear();
    exportRay = 0;
    static constexpr const char* kTitles[7] = {"2 way simple filter",   "3 way simple filter",
                                               "",                      "1 way advanced filter",
                                               "2 way advanced filter", "3 way advanced filter",
                                               "4 way advanced filter"};
    title_ = std::string("Tonvek 4.10 Beta ") + kTitles[std::clamp(kind_, 0, 6)];
    for (auto& net : nets_)
        net->Reset();
    for (std::string& name : netNicknames_)
        name.clear();
    for (std::string& name : driverNicknames_)
        name.clear();
    for (auto& window : schematicsA_)
        window->ResetWindow();
    LabelSlots();
    version_ = kFileVersion;
    projectFile_.clear();
    responseExportFile_.clear();
    snapshotFile_.clear();
    snapshotChooserName_.clear();
    if (schematic_)
        schematic_->ResetWindow();
    impulse_->Reset();
    if (snapshotDialog_ && snapshotDialog_->IsOpen())
        snapshotDialog_->Close();
    snapshot_->Reset();
    MarkAllDirty();
    Recalculate();
    changed_ = true;
    host_.SetMainTitle(title_);
}

void TXover::SetMainTitle(bool withFileName)
{
    if (withFileName && !projectFile_.empty())
        host_.SetMainTitle(title_ + " - " + std::filesystem::path(projectFile_).filename().string());
    else
        host_.SetMainTitle(title_);
}

void TXover::MarkAllDirty()
{
    for (auto& net : nets_)
        net->MarkDirty();
}

void TXover::RefreshDialogs()
{
    for (auto& dialogs : netADialogs_)
        dialogs->Reload();
    for (TNet* net : Networks())
        for (TDialogModel* dialog :
             {static_cast<TDialogModel*>(&net->NetDialog()), static_cast<TDialogModel*>(&net->DriverDialog())})
            if (dialog->IsOpen())
                dialog->Reload();
}

void TXover::RecalcRequest(TRecalc kind)
{
    switch (kind) {
    case TRecalc::Recalculate: Recalculate(); break;
    case TRecalc::MarkUnchanged: changed_ = false; break;
    default: changed_ = true; break;
    }
}

void TXover::ChooseOffAxisCurves()
{
    const TGeneral& g = context_.General();
    TPlotLogXLinY& surface = Plot(TXoverPlot::Surface);
    TPlotLogXLinY& overlay = Plot(TXoverPlot::Overlay);
    surface.ClearCurves();
    overlay.ClearCurves();
    if (g.Inhibit())
        return;
    const int onAxis = g.OnAxisIndex();
    const int rays = std::clamp(g.SurfaceRayCount(), 1, kMaxRays);
    for (int i = 0; i < rays; ++i) {
        if (g.HideOnAxis() && i == onAxis)
            continue;
        surface.AddCurve(summedLevel_[static_cast<std::size_t>(i)].data(), thin_[static_cast<std::size_t>(i % 8)],
                         AngleLabel(g.SurfaceRay(i)), false);
    }
    auto add = [&](int ray) {
        const int k = overlay.CurvesAdded();
        overlay.AddCurve(summedLevel_[static_cast<std::size_t>(ray)].data(),
                         thin_[static_cast<std::size_t>(kOverlayColours[k % 8])], AngleLabel(g.SurfaceRay(ray)), false);
    };
    const int count = std::clamp(g.OverlayRayCount(), 0, TGeneral::kMaxOverlayRays);
    if (!g.HideOnAxis())
        add(onAxis);
    for (int k = g.HideOnAxis() ? 0 : 1; k < count; ++k) {
        for (int i = 0; i < rays; ++i) {
            if (g.SurfaceRay(i) == g.OverlayRay(k) && (!g.HideOnAxis() || i != onAxis)) {
                add(i);
                break;
            }
        }
    }
}

void TXover::ScaleGroupDelayPlot()
{
    const TGeneral& g = context_.General();
    TPlotLogXLinY& plot = Plot(TXoverPlot::GroupDelay);
    plot.FitYRange(0);
    if (g.GroupDelayAuto()) {
        const auto [lo, hi] = std::minmax_element(groupDelay_.begin(), groupDelay_.end());
        plot.yMaximum = std::min(plot.yMaximum, 1.5 * *hi);
        plot.yMinimum = std::min(std::max(plot.yMinimum, 1.5 * *lo), 0.0);
    } else {
        plot.yMaximum = g.GroupDelayMaximum();
        plot.yMinimum = g.GroupDelayMinimum();
    }
    plot.DataReady();
    plot.Redraw();
}

void TXover::RebuildSummedCurves(int onAxis)
{
    TPlotLogXLinY& summedPlot = Plot(TXoverPlot::Summed);
    summedPlot.ClearCurves();
    summedPlot.AddCurve(summedLevel_[static_cast<std::size_t>(onAxis)].data(), thick_[kBlack], "Total", true);
    const std::vector<TNetBase*> nets = NetsInUse();
    for (std::size_t n = 0; n < nets.size(); ++n) {
        const int index = Advanced() ? static_cast<int>(n) : Networks()[n]->Index();
        summedPlot.AddCurve(nets[n]->Level(onAxis).data(),
                            thick_[static_cast<std::size_t>(NetColour(Advanced(), ThreeWay(), index))],
                            NetLabel(index), true);
    }
}

void TXover::Recalculate()
{
    const TGeneral& g = context_.General();
    for (auto& plot : plots_) {
        if (!plot)
            continue;
        plot->xMinimum = g.LowerFrequency();
        plot->xMaximum = g.UpperFrequency();
    }
    const int onAxis = std::clamp(g.OnAxisIndex(), 0, kMaxRays - 1);
    RebuildSummedCurves(onAxis);
    ChooseOffAxisCurves();

    const std::vector<TNetBase*> nets = NetsInUse();
    if (Advanced()) {
        // The last net first, down to Net 1.
        for (auto it = nets.rbegin(); it != nets.rend(); ++it)
            (void)(*it)->Calculate();
    } else {
        for (TNetBase* net : nets)
            (void)net->Calculate();
        const int splRange = g.SplRange();
        TPlotLogXLinY& gain = Plot(TXoverPlot::Gain);
        gain.FitYRange(splRange);
        if (gain.yMaximum < 0)
            gain.yMaximum = 0;
        gain.yMinimum = gain.yMaximum - splRange;
        gain.DataReady();
        gain.Redraw();
    }
    RedrawSchematics();

    double largest = 0.0;
    for (int p = 0; p < kPoints; ++p) {
        const auto s = static_cast<std::size_t>(p);
        TComplex z{};
        if (Advanced()) {
            // Active networks have their own amplifiers: only the passive ones load the
            // input, which is open when there are none.
            z = TComplex{kOpenInput, 0.0};
            for (TNetBase* net : nets)
                if (!net->Active())
                    z = ParallelOf(z, net->InputImpedance()[s]);
        } else {
            z = nets[0]->InputImpedance()[s];
            for (std::size_t n = 1; n < nets.size(); ++n)
                z = ParallelOf(z, nets[n]->InputImpedance()[s]);
        }
        totalImpedance_[s] = z;
        totalMagnitude_[s] = MagnitudeOf(z);
        totalPhase_[s] = PhaseOf(z) * kDegreesPerRadian;
        if (std::isfinite(totalMagnitude_[s]))
            largest = std::max(largest, totalMagnitude_[s]);
    }
    TPlotLogXLinY& impedance = Plot(TXoverPlot::Impedance);
    impedance.yMinimum = 0;
    impedance.yMaximum = g.ImpedanceAuto() ? 1.5 * largest : g.ImpedanceMaximum();
    if (!(impedance.yMaximum > 0))
        impedance.yMaximum = 1;
    impedance.DataReady();
    impedance.Redraw();

    const int rays = std::clamp(g.SurfaceRayCount(), 1, kMaxRays);
    for (int r = 0; r < rays; ++r) {
        if (g.Inhibit() && r != onAxis)
            continue;
        auto& row = summed_[static_cast<std::size_t>(r)];
        auto& level = summedLevel_[static_cast<std::size_t>(r)];
        for (int p = 0; p < kPoints; ++p) {
            const auto s = static_cast<std::size_t>(p);
            TComplex sum{};
            for (TNetBase* net : nets)
                sum += net->Output(r)[s];
            row[s] = sum;
            level[s] = LevelOf(sum);
        }
    }
    FinishTotals();
}

void TXover::FinishTotals()
{
    const TGeneral& g = context_.General();
    const int splRange = g.SplRange();
    const int onAxis = std::clamp(g.OnAxisIndex(), 0, kMaxRays - 1);
    const auto& onAxisRow = summed_[static_cast<std::size_t>(onAxis)];
    for (int p = 0; p < kPoints; ++p)
        summedPhase_[static_cast<std::size_t>(p)] = PhaseOf(onAxisRow[static_cast<std::size_t>(p)]) * kDegreesPerRadian;

    TPlotLogXLinY& summedPlot = Plot(TXoverPlot::Summed);
    summedPlot.SetPhaseShown(!g.HidePhase());
    summedPlot.FitYRange(splRange);
    summedPlot.DataReady();
    summedPlot.Redraw();

    TPlotLogXLinY& phase = Plot(TXoverPlot::Phase);
    phase.yMinimum = -180;
    phase.yMaximum = 180;
    phase.DataReady();
    phase.Redraw();

    TNetBase::GroupDelayOf(summedPhase_.data(), Frequencies(), kPoints, 100.0, groupDelay_.data());
    ScaleGroupDelayPlot();

    surface_->FitSurfaceYRange(30);
    surface_->DataReady();
    surface_->Redraw();
    TPlotLogXLinY& overlay = Plot(TXoverPlot::Overlay);
    overlay.FitYRange(splRange);
    overlay.DataReady();
    overlay.Redraw();
    impulse_->SetResponse(onAxisRow.data());
    impulse_->Recalculate();
    host_.EnableCommand(TCmd::Snapshot, !(snapshotDialog_ && snapshotDialog_->IsOpen()));
    changed_ = true;
}
