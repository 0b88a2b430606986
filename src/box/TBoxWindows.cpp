// The box project's windows: the four standard plots, the information window, and
// printing the diagrams.

#include "TBoxEmbryo.h"

#include "TBoxDiagramDialogs.h"
#include "TBoxFileNames.h"
#include "TBoxReport.h"
#include "box/elements/TBoxObject.h"
#include "plot/TPrintDate.h"
#include "room/TRoomCabinet.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

using TBoxFileNames::NameAndExtension;

namespace {
struct TPlotLook {
    TStdPlot which;
    const char* caption;
    const char* yUnit;
    TRect restored; // a 2 by 2 layout of default-size windows
};
// In the order the plots are made.
constexpr TPlotLook kPlotLooks[] = {
    {TStdPlot::Spl, "Free air SPL at 1m distance", "dB", TRect{0, 0, 600, 290}},
    {TStdPlot::Excursion, "Cone excursion", "mm p-p", TRect{600, 0, 1200, 290}},
    {TStdPlot::Impedance, "Impedance", "ohm", TRect{0, 290, 600, 580}},
    {TStdPlot::GroupDelay, "Group delay", "ms", TRect{600, 290, 1200, 580}},
};
} // namespace

void TBoxEmbryo::CreatePlots()
{
    for (const TPlotLook& look : kPlotLooks) {
        auto plot = std::make_unique<TPlotLogXLinY>(host_, look.caption, styles_, cursor_.get(), 0, 290, 10, kPoints);
        plot->SetXUnit("Hz");
        plot->SetYUnit(look.yUnit);
        plot->placement.restored = look.restored;
        plots_[static_cast<std::size_t>(look.which)] = std::move(plot);
    }
    SplPlot().SetPhaseCurve(splPhase.data(), dottedBlack_);
    // With two driver groups each has its own excursion curve; the front one comes first.
    ExcursionPlot().AddCurve(front_.excursion.data(), thickBlack_,
                             type_.frontAndRear ? "Front driver unit" : "Driver unit", false);
    ImpedancePlot().AddCurve(front_.impedanceMagnitude.data(), thickBlack_, "", false);
    ImpedancePlot().SetPhaseCurve(impedancePhase.data(), dottedBlack_);
    GroupDelayPlot().AddCurve(groupDelay.data(), thickBlack_, "", false);
    transient_ = std::make_unique<TStepResponse>(host_, styles_, cursor_.get(), pressure.data(), MeasSetup());
    transient_->placement.restored = TRect{300, 145, 900, 435};
    snapshot_ = std::make_unique<TSnapshot>(
        host_, styles_, cursor_.get(),
        TSnapshot::TRangeSource{.start = [this] { return MeasSetup().startFrequency; },
                                .stop = [this] { return MeasSetup().stopFrequency; }});
    snapshot_->placement.restored = TRect{200, 100, 800, 480};
    host_.CreateView(*snapshot_);
    infoWin_->placement.restored = TRect{600, 0, 1360, 580};
    host_.CreateView(*infoWin_);
    const double* x = MeasSetup().grid.Frequencies().data();
    for (TPlotXYEmbryo* plot : DiagramWindows()) {
        if (plot != transient_.get()) { // a time plot keeps its own x values
            plot->SetXData(x);
            plot->SetPointCount(PointCount());
        }
        host_.CreateView(*plot);
    }
}

void TBoxEmbryo::DestroyViews()
{
    for (TStdPlot which : kStdPlotFileOrder)
        if (plots_[static_cast<std::size_t>(which)])
            host_.DestroyView(Plot(which));
    if (transient_)
        host_.DestroyView(*transient_);
    if (snapshot_)
        host_.DestroyView(*snapshot_);
    if (infoWin_)
        host_.DestroyView(*infoWin_);
    if (roomCabinet_)
        host_.DestroyView(*roomCabinet_);
}

std::unique_ptr<TPlotLogXLinY> TBoxEmbryo::MakeOwnPlot(const char* title, const char* yUnit, const TRect& restored)
{
    auto plot = std::make_unique<TPlotLogXLinY>(host_, title, styles_, cursor_.get(), 0, 290, 10, kPoints);
    plot->SetXUnit("Hz");
    plot->SetYUnit(yUnit);
    plot->placement.restored = restored;
    plot->SetXData(Grid().Frequencies().data());
    plot->SetPointCount(PointCount());
    return plot;
}

void TBoxEmbryo::ShowOwnPlot(TPlotLogXLinY& plot) { host_.CreateView(plot); }

void TBoxEmbryo::HideOwnPlot(TPlotLogXLinY& plot) { host_.DestroyView(plot); }

std::vector<TPlotXYEmbryo*> TBoxEmbryo::DiagramWindows() const
{
    std::vector<TPlotXYEmbryo*> windows{plots_[0].get(), roomCabinet_.get(), plots_[1].get(), plots_[2].get(),
                                        transient_.get(),
                                        plots_[3].get()};
    for (TPlotXYEmbryo* plot : OptionalPlots())
        windows.push_back(plot);
    return windows;
}

TPlotXYEmbryo* TBoxEmbryo::ActivePlot() const
{
    TWindowModel* active = host_.ActiveView();
    for (TPlotXYEmbryo* plot : DiagramWindows())
        if (plot == active)
            return plot;
    return nullptr;
}

void TBoxEmbryo::RestoreStartWindows()
{
    host_.ShowView(SplPlot());
    host_.ShowView(ImpedancePlot());
    host_.ShowView(*infoWin_);
}

void TBoxEmbryo::ShowReport()
{
    TInfoWin& w = *infoWin_;
    w.Clear();
    w.SetPicture(type_.picture);
    w.SetTitle(report_->Title());
    for (const std::string& line : report_->Lines())
        w.AppendLine(line);
    w.SetNotes(report_->Note());
    w.Redraw();
}

void TBoxEmbryo::RefreshResults()
{
    // The room and transient windows cost as much as the rest of the calculation: while
    // they are minimised their first reader calculates them.
    if (!fastMode) {
        if (roomCabinet_->dialogOpen || !host_.IsViewMinimised(*roomCabinet_))
            roomCabinet_->CalculateRoom();
        else
            roomCabinet_->Defer();
    }
    const TMeasSetup& setup = MeasSetup();
    TPlotLogXLinY& spl = SplPlot();
    bool splFitted = false;
    if (splPlotRefresh || !fastMode) {
        spl.SetPhaseShown(!setup.hidePhase);
        // An optimiser's steps keep the scale the full calculation chose.
        if (!fastMode) {
            splFitted = spl.FitXRange(0);
            spl.FitYRange(setup.autorange ? 0 : setup.splRange);
        }
        spl.DataReady();
    }
    TPlotLogXLinY* others[] = {&GroupDelayPlot(), &ExcursionPlot(), &ImpedancePlot()};
    if (!fastMode) {
        for (TPlotLogXLinY* plot : others) {
            // The plots share the frequency grid: it is walked once.
            if (splFitted)
                plot->FitXRangeAs(spl);
            else
                plot->FitXRange(0);
            plot->FitYRange(0);
        }
        ExcursionPlot().yMinimum = 0;
        ImpedancePlot().yMinimum = 0;
        ImpedancePlot().SetPhaseShown(true);
        for (TPlotLogXLinY* plot : others)
            plot->DataReady();
    }
    if (splPlotRefresh || !fastMode)
        spl.Redraw();
    if (!fastMode) {
        for (TPlotLogXLinY* plot : others)
            plot->Redraw();
        transient_->SetMeasuredInput(front_.ImportActive());
        if (host_.IsViewMinimised(*transient_))
            transient_->Defer();
        else
            transient_->Update(true);
        RefreshDriverConfig();
        EnableProjectCommands(true);
        host_.EnableCommand(TCmd::DefaultSize, true);
    }
    if (boxVolume_)
        boxVolume_->dirty = false;
    front_.outOfDate = false;
    MeasSetup().setupChanged = false;
}

// ---------------------------------------------------------------- printing



TDiagramPages TBoxEmbryo::DiagramPages()
{
    TDiagramPages pages;
    std::vector<TPlotXYEmbryo*> windows = DiagramWindows();
    if (printList_.empty()) {
        for (TPlotXYEmbryo* w : windows)
            pages.diagrams.push_back(w);
    } else {
        for (int index : printList_)
            if (index >= 0 && index < static_cast<int>(windows.size()))
                pages.diagrams.push_back(windows[static_cast<std::size_t>(index)]);
    }
    pages.perPage = diagramsPerPage;
    pages.heading = report_->Title().empty() ? type_.title : report_->Title();
    if (printDate)
        pages.date = CurrentPrintDate();
    if (printProjectName && !projectFile_.fileName.empty())
        pages.fileName = NameAndExtension(projectFile_.fileName);
    return pages;
}

bool TBoxEmbryo::AddToPrintList(int window)
{
    if (window < 0 || window >= static_cast<int>(DiagramWindows().size()))
        return false;
    for (int w : printList_) {
        if (w == window) {
            host_.Message("Item already selected", "", TMsgButtons::Ok, TMsgIcon::Warning);
            return false;
        }
    }
    if (printList_.size() >= 8)
        return false;
    printList_.push_back(window);
    return true;
}

bool TBoxEmbryo::RemoveFromPrintList(int at)
{
    if (printList_.empty()) {
        host_.Message("No items left", "", TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    if (at < 0 || at >= static_cast<int>(printList_.size()))
        at = static_cast<int>(printList_.size()) - 1;
    printList_.erase(printList_.begin() + at);
    return true;
}

bool TBoxEmbryo::PrintDiagrams()
{
    TDiagramPages pages = DiagramPages();
    if (pages.PageCount() == 0)
        return false;
    return host_.PrintPages("Tonvek print job", pages.PageCount(),
                            [&pages](TCanvas& canvas, int page) { pages.PaintPage(canvas, page); });
}

void TBoxEmbryo::OpenShowDiagrams()
{
    if (!showDiagrams_)
        showDiagrams_ = std::make_unique<TShowDiagramsDialog>(host_, *this);
    showDiagrams_->Reload();
    showDiagrams_->Open();
}

void TBoxEmbryo::OpenPrintDiagrams()
{
    if (!printDiagrams_)
        printDiagrams_ = std::make_unique<TPrintDiagramsDialog>(host_, *this);
    printDiagrams_->Reload();
    printDiagrams_->Open();
}

