#include "TBoxEmbryo.h"

#include "TBoxDiagramDialogs.h"
#include "TBoxReport.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementGrid.h"
#include "core/TProgramFolder.h"
#include "plot/TPrintDate.h"
#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpeakerUnitDialog.h"
#include "settings/TMeasSetupDialog.h"
#include "ui/TInfoDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr const char* kUnitFilter = "Unit files (*.unt)|*.unt|All files (*.*)|*.*|";
constexpr const char* kProjectFilter =
    "Box project files (*.box)|*.box|Filter project files (*.flt)|*.flt|All files (*.*)|*.*|";
constexpr const char* kSnapshotFilter = "Snapshot files (*.snp)|*.snp|All files (*.*)|*.*|";
constexpr const char* kSplExportFilter =
    "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
    "|CSV files (*.csv)|*.csv|";
constexpr const char* kImpedanceExportFilter =
    "LAUD impedance (*.zma)|*.zma|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
    "|CSV files (*.csv)|*.csv|";

// Commands a box project enables once it has results or a file.
const int kProjectCommands[] = {TCmd::Calculate,     TCmd::DriverConfig,    TCmd::BoxDialog,  TCmd::MeasSetup,
                                TCmd::Save,          TCmd::SaveAs,          TCmd::PrintWindow, TCmd::CopyWindow,
                                TCmd::UserNote,      TCmd::ExportSpl,       TCmd::ExportImpedance,
                                TCmd::ExportGroupDelay, TCmd::ExportModesSpl, TCmd::PrintDiagrams};

std::string NameAndExtension(const std::string& path)
{
    std::string p = TProgramFolder::Normalise(path);
    std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}
} // namespace

TBoxEmbryo::TBoxEmbryo(THost& host, int typeCode, std::string typeName)
    : host_(host), front_(&host), rear_(&host), report_(std::make_unique<TBoxReport>()), typeCode_(typeCode),
      typeName_(std::move(typeName))
{
    cursor_ = std::make_unique<TCursorDialog>(host);
    infoWin_ = std::make_unique<TInfoWin>(host);
    unitFile_ = {"", kUnitFilter, "unt"};
    rearUnitFile_ = {"", kUnitFilter, "unt"};
    projectFile_ = {"", kProjectFilter, "box"};
    snapshotFile_ = {"", kSnapshotFilter, "snp"};
    splExport_ = {"", kSplExportFilter, "frd"};
    impedanceExport_ = {"", kImpedanceExportFilter, "zma"};
    CreatePlots();
    baseTitle_ = std::string("Tonvek 4.10 Beta ") + typeName_;
}

TBoxEmbryo::~TBoxEmbryo()
{
    noteDialog_.reset();
    showDiagrams_.reset();
    printDiagrams_.reset();
    unitEditor_.reset();
    configDialog_.reset();
    setupDialog_.reset();
    for (TPlotXYEmbryo* plot : {static_cast<TPlotXYEmbryo*>(splPlot_.get()), static_cast<TPlotXYEmbryo*>(groupDelayPlot_.get()),
                                static_cast<TPlotXYEmbryo*>(excursionPlot_.get()),
                                static_cast<TPlotXYEmbryo*>(impedancePlot_.get())})
        if (plot)
            host_.DestroyView(*plot);
    if (infoWin_)
        host_.DestroyView(*infoWin_);
}

void TBoxEmbryo::ShowReport(int picture)
{
    TInfoWin& w = *infoWin_;
    w.Clear();
    w.SetPicture(picture);
    w.SetTitle(report_->Title());
    for (const std::string& line : report_->Lines())
        w.AppendLine(line);
    w.SetNotes(report_->Note());
    w.Redraw();
}

void TBoxEmbryo::CreatePlots()
{
    const double* x = CurrentMeasSetup().grid.Frequencies().data();
    splPlot_ = std::make_unique<TPlotLogXLinY>(host_, "Free air SPL at 1m distance", styles_, cursor_.get(), 0, 290, 10, kPoints);
    splPlot_->SetXUnit("Hz");
    splPlot_->SetYUnit("dB");
    splPlot_->SetPhaseCurve(splPhase.data(), dottedBlack_);
    excursionPlot_ = std::make_unique<TPlotLogXLinY>(host_, "Cone excursion", styles_, cursor_.get(), 0, 290, 10, kPoints);
    excursionPlot_->SetXUnit("Hz");
    excursionPlot_->SetYUnit("mm p-p");
    excursionPlot_->AddCurve(front_.excursion.data(), thickBlack_, "Driver unit", false);
    impedancePlot_ = std::make_unique<TPlotLogXLinY>(host_, "Impedance", styles_, cursor_.get(), 0, 290, 10, kPoints);
    impedancePlot_->SetXUnit("Hz");
    impedancePlot_->SetYUnit("ohm");
    impedancePlot_->AddCurve(front_.impedanceMagnitude.data(), thickBlack_, "", false);
    impedancePlot_->SetPhaseCurve(impedancePhase.data(), dottedBlack_);
    groupDelayPlot_ = std::make_unique<TPlotLogXLinY>(host_, "Group delay", styles_, cursor_.get(), 0, 290, 10, kPoints);
    groupDelayPlot_->SetXUnit("Hz");
    groupDelayPlot_->SetYUnit("ms");
    groupDelayPlot_->AddCurve(groupDelay.data(), thickBlack_, "", false);
    // Where the plots go when first restored: a 2 by 2 layout of default-size windows.
    splPlot_->placement.restored = TRect{0, 0, 600, 290};
    impedancePlot_->placement.restored = TRect{0, 290, 600, 580};
    excursionPlot_->placement.restored = TRect{600, 0, 1200, 290};
    groupDelayPlot_->placement.restored = TRect{600, 290, 1200, 580};
    infoWin_->placement.restored = TRect{600, 0, 1250, 580};
    host_.CreateView(*infoWin_);
    for (TPlotXYEmbryo* plot : DiagramWindows()) {
        plot->SetXData(x);
        plot->SetPointCount(PointCount());
        host_.CreateView(*plot);
    }
}

TPlotXYEmbryo* TBoxEmbryo::ActivePlot() const
{
    TWindowModel* active = host_.ActiveView();
    for (TPlotXYEmbryo* plot : DiagramWindows())
        if (plot == active)
            return plot;
    return nullptr;
}

std::vector<TPlotXYEmbryo*> TBoxEmbryo::DiagramWindows() const
{
    return {splPlot_.get(), impedancePlot_.get(), excursionPlot_.get(), groupDelayPlot_.get()};
}

int TBoxEmbryo::MenuNumber() const { return typeCode_ == 9 ? 15 : 4; }

void TBoxEmbryo::SetBoxVolume(std::unique_ptr<TBoxObject> box) { boxVolume_ = std::move(box); }

// ---------------------------------------------------------------- life cycle

void TBoxEmbryo::Reset()
{
    CurrentMeasSetup().LoadPreferences(false);
    stepResponse_.Reset();
    room_.LoadPreferences(TProgramFolder::Resolve(TRoomSettings::PreferencesFile));
    front_.Clear();
    rear_.Clear();
    if (boxVolume_)
        boxVolume_->Reset();
    optimiserIterations = 10;
    optimiserOptions = {0, optimiserOptions[1], 1, 0};
    unitFile_.fileName.clear();
    projectFile_.fileName.clear();
    snapshotFile_.fileName.clear();
    snapshotPath_.clear();
    UpdateCalculateCommand();
    EnableProjectCommands(false);
    for (int id : {TCmd::TransientResp, TCmd::RoomCabinet, TCmd::Snapshot, TCmd::ExportRoomSpl, TCmd::ExportTransient,
                   TCmd::RearDriverConfig, TCmd::RearDriverLoad, TCmd::RearUnitEditor})
        host_.EnableCommand(id, false);
    report_->Clear();
    infoWin_->Clear();
    infoWin_->SetNotes("");
    for (TPlotXYEmbryo* plot : DiagramWindows())
        plot->DataCleared();
    for (int id : UnsupportedCommands())
        host_.RemoveCommand(id);
    changed_ = true;
}

void TBoxEmbryo::SetMainTitle(bool withFileName)
{
    if (!withFileName || projectFile_.fileName.empty()) {
        host_.SetMainTitle(baseTitle_);
        return;
    }
    host_.SetMainTitle(baseTitle_ + " - " + NameAndExtension(projectFile_.fileName));
}

void TBoxEmbryo::RestoreStartWindows()
{
    for (TPlotXYEmbryo* plot : {static_cast<TPlotXYEmbryo*>(splPlot_.get()), static_cast<TPlotXYEmbryo*>(impedancePlot_.get())})
        host_.ShowView(*plot);
    host_.ShowView(*infoWin_);
}

void TBoxEmbryo::StartNew(bool)
{
    RestoreStartWindows();
    LoadFrontUnit();
}

// ---------------------------------------------------------------- recalculation

void TBoxEmbryo::ShowPhaseOption() { splPlot_->SetPhaseShown(!CurrentMeasSetup().hidePhase); }

void TBoxEmbryo::RecalcRequest(int kind)
{
    if (kind == 3) {
        changed_ = false;
        return;
    }
    changed_ = true;
    ShowPhaseOption();
    if (kind == 1)
        return;
    if (kind == 0)
        UpdateCalculateCommand();
    if (kind == 2) {
        Calculate(1);
        return;
    }
    if (kind == 0 && CurrentMeasSetup().calculateImmediately)
        Calculate(0);
}

void TBoxEmbryo::UpdateCalculateCommand()
{
    front_.EvaluateComplete();
    host_.EnableCommand(TCmd::Calculate, front_.complete);
    if (!front_.complete)
        ShowIncompleteUnit();
}

void TBoxEmbryo::ShowIncompleteUnit()
{
    // Results of a previous driver must not stay on screen as if they were this one's.
    for (TPlotXYEmbryo* plot : DiagramWindows())
        plot->DataCleared();
    report_->Clear();
    std::vector<std::string> missing = front_.MissingParameters();
    std::string names;
    for (const std::string& name : missing)
        names += (names.empty() ? "" : ", ") + name;
    report_->SetTitle("DRIVER UNIT INCOMPLETE");
    report_->Add(unitFile_.fileName.empty() && missing.size() == 13 ? "No driver unit is loaded."
                                                                    : "The driver unit is incomplete.");
    report_->Add("Nothing is calculated until it is complete.");
    report_->Add("Missing: " + names);
    report_->Add("");
    report_->Add("Driver unit > Load... reads a unit file;");
    report_->Add("Driver unit > Edit / create... completes it");
    report_->Add("(\"Calc. missing fields\").");
    ShowReport(0);
}

bool TBoxEmbryo::Unsupported(int id) const
{
    for (int removed : UnsupportedCommands())
        if (removed == id)
            return true;
    return false;
}

bool TBoxEmbryo::CommandDialogOpen(int id) const
{
    // The unit editor holds both unit commands while it is open.
    if (id == TCmd::DriverLoad || id == TCmd::UnitEditor)
        return unitEditor_ && unitEditor_->IsOpen();
    const TDialogModel* dialogs[] = {ExistingBoxDialog(), setupDialog_.get(), configDialog_.get(), showDiagrams_.get(),
                                     printDiagrams_.get()};
    for (const TDialogModel* d : dialogs)
        if (d && d->IsOpen() && d->menuCommand == id)
            return true;
    return false;
}

void TBoxEmbryo::EnableUnlessOpen(int id) { host_.EnableCommand(id, !Unsupported(id) && !CommandDialogOpen(id)); }

void TBoxEmbryo::EnableProjectCommands(bool enabled)
{
    for (int id : kProjectCommands) {
        if (enabled)
            EnableUnlessOpen(id);
        else
            host_.EnableCommand(id, false);
    }
    EnableUnlessOpen(TCmd::UnitEditor);
    EnableUnlessOpen(TCmd::DriverLoad);
    EnableUnlessOpen(TCmd::ShowDiagrams);
    if (enabled)
        host_.EnableCommand(TCmd::Calculate, front_.complete);
}

void TBoxEmbryo::RefreshDriverConfig()
{
    if (configDialog_ && configDialog_->IsOpen())
        configDialog_->Reload();
}

// ---------------------------------------------------------------- pipeline

void TBoxEmbryo::Calculate(int partial)
{
    if (!front_.complete)
        return;
    if (partial == 0) {
        PrepareCalculation();
        const TFreqGrid& grid = Grid();
        int passes = front_.PassCount();
        for (int k = 0; k < passes; ++k) {
            BuildLoad();
            CoupleDriver();
            DriveDriver();
            if (k + 1 < passes)
                front_.UpdateNonLinear(grid, k + 1, passes);
        }
        front_.ApplyExcursionLimit(grid);
        BuildPressure();
        FinishResponse();
    }
    if (!fastMode) {
        minus3dB = SearchMinus3dB();
        BuildReport();
    }
    if (partial == 0)
        RefreshResults();
}

void TBoxEmbryo::PrepareCalculation()
{
    TWaitCursor wait(host_);
    TMeasSetup& setup = CurrentMeasSetup();
    if (setup.setupChanged) {
        setup.LayoutGrid();
        if (boxVolume_)
            boxVolume_->dirty = true;
        front_.outOfDate = true;
    }
    const TFreqGrid& grid = setup.grid;
    if (boxVolume_ && boxVolume_->dirty)
        boxVolume_->UpdateImpedance(TElementGrid::Of(grid));
    front_.PrepareTerms(grid, setup.sourceLevel);
    // A fixed list: the optimisers call this many times and nothing may allocate.
    for (TPlotXYEmbryo* plot : {static_cast<TPlotXYEmbryo*>(splPlot_.get()), static_cast<TPlotXYEmbryo*>(impedancePlot_.get()),
                                static_cast<TPlotXYEmbryo*>(excursionPlot_.get()),
                                static_cast<TPlotXYEmbryo*>(groupDelayPlot_.get())})
        plot->SetPointCount(grid.Count());
}

void TBoxEmbryo::CoupleDriver()
{
    const int n = PointCount();
    const TConnFactors k = front_.TotalFactors();
    const bool isobaric = front_.isobaric;
    const bool halveForCoil = front_.HasDoubleVoiceCoil() && !front_.HasLoadResistor();
    const double sd2 = front_.Sd * front_.Sd;
    for (int i = 0; i < n; ++i) {
        TComplex& zt = acousticLoad[static_cast<std::size_t>(i)];
        if (isobaric)
            zt += front_.mechImpedance[static_cast<std::size_t>(i)];
        if (halveForCoil)
            zt *= 0.5;
        TComplex z = isobaric ? zt * 0.5 : zt;
        const double bl = front_.forceFactor[static_cast<std::size_t>(i)];
        TComplex zm = DivComplex(bl * bl, z * sd2);
        motionalImpedance[static_cast<std::size_t>(i)] = zm;
        TComplex zc = zm + front_.coilResistance[static_cast<std::size_t>(i)];
        front_.coilImpedance[static_cast<std::size_t>(i)] = zc;
        if (!fastMode) {
            TComplex zin = zc + front_.coilInductance[static_cast<std::size_t>(i)];
            front_.impedanceMagnitude[static_cast<std::size_t>(i)] = MagnitudeOf(k.kZ * zin);
            impedancePhase[static_cast<std::size_t>(i)] = std::arg(zin) * kDegrees;
        }
    }
}

void TBoxEmbryo::DriveDriver()
{
    const TMeasSetup& setup = CurrentMeasSetup();
    const TFreqGrid& grid = setup.grid;
    const int n = grid.Count();
    const TConnFactors k = front_.TotalFactors();
    const double sd = front_.Sd;
    // Without the high-pass the generator is the same at every frequency.
    const bool flat = setup.highPassCutoff == 0;
    const TComplex flatU = setup.SourceVoltage(0.0) * k.kU;
    const double rs = setup.sourceResistance * k.kR;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const double w = grid.Omega(i);
        const TComplex u = flat ? flatU : setup.SourceVoltage(w) * k.kU;
        const TComplex zs(rs, w * setup.sourceInductance * k.kR);
        TComplex current = DivComplex(u, front_.coilImpedance[j] + zs);
        TComplex force = current * front_.forceFactor[j];
        if (front_.isobaric)
            force *= 2.0;
        TComplex q = DivComplex(force / sd, acousticLoad[j]);
        front_.volumeVelocity[j] = q;
        front_.excursion[j] = MagnitudeOf(q) / (sd * w) * 1000.0 * 2.828;
    }
}

void TBoxEmbryo::FinishResponse()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    transitionIndex = front_.MergeImported(grid, std::span<TComplex>(pressure.data(), pressure.size()),
                                           std::span<TComplex>(importCorrection.data(), importCorrection.size()));
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const double m2 = SquaredMagnitudeOf(pressure[j]);
        if (m2 > 0) {
            splTotal[j] = 10.0 * std::log10(m2);
            if (!fastMode)
                splPhase[j] = std::arg(pressure[j]) * kDegrees;
        } else {
            splTotal[j] = 0;
            splPhase[j] = 0;
        }
    }
    if (fastMode || n < 3)
        return;
    for (int i = 1; i <= n - 2; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        double d = splPhase[j + 1] - splPhase[j - 1];
        if (d > 180)
            d -= 360;
        if (d < -180)
            d += 360;
        groupDelay[j] = -2.7777777777777777 * d / (grid.Frequency(i + 1) - grid.Frequency(i - 1));
    }
    groupDelay[0] = groupDelay[1];
    groupDelay[static_cast<std::size_t>(n - 1)] = groupDelay[static_cast<std::size_t>(n - 2)];
    if (front_.ImportActive() && n >= 7) {
        // Spikes at the seam are clipped against the neighbours three points away,
        // taken from the unclipped values.
        double previous[3] = {groupDelay[0], groupDelay[1], groupDelay[2]};
        for (int i = 3; i <= n - 4; ++i) {
            const std::size_t j = static_cast<std::size_t>(i);
            double original = groupDelay[j];
            double left = previous[i % 3];
            groupDelay[j] = std::min(original, left + groupDelay[j + 3]);
            previous[i % 3] = original;
        }
    }
}

double TBoxEmbryo::SearchMinus3dB() const
{
    const int n = PointCount();
    if (n <= 0)
        return 0;
    const int r = transitionIndex != -1 ? transitionIndex : n;
    if (r <= 0)
        return 0;
    const double reference = splTotal[static_cast<std::size_t>(r - 1)] - 3.0;
    int k = 0;
    while (k < r && splTotal[static_cast<std::size_t>(k)] <= reference)
        ++k;
    if (k == r || k == 0)
        return 0;
    const double a = splTotal[static_cast<std::size_t>(k)], b = splTotal[static_cast<std::size_t>(k - 1)];
    if (a == b)
        return Grid().Frequency(k);
    const double c = (a - reference) / (a - b);
    return c * Grid().Frequency(k - 1) + (1.0 - c) * Grid().Frequency(k);
}

void TBoxEmbryo::RefreshResults()
{
    const TMeasSetup& setup = CurrentMeasSetup();
    if (splPlotRefresh || !fastMode) {
        splPlot_->SetPhaseShown(!setup.hidePhase);
        // An optimiser's steps keep the scale the full calculation chose.
        if (!fastMode) {
            splPlot_->FitXRange(0);
            splPlot_->FitYRange(setup.autorange ? 0 : setup.splRange);
        }
        splPlot_->DataReady();
    }
    if (!fastMode) {
        for (TPlotLogXLinY* plot : {groupDelayPlot_.get(), excursionPlot_.get(), impedancePlot_.get()}) {
            plot->FitXRange(0);
            plot->FitYRange(0);
        }
        excursionPlot_->yMinimum = 0;
        impedancePlot_->yMinimum = 0;
        impedancePlot_->SetPhaseShown(true);
        for (TPlotLogXLinY* plot : {groupDelayPlot_.get(), excursionPlot_.get(), impedancePlot_.get()})
            plot->DataReady();
    }
    if (splPlotRefresh || !fastMode)
        splPlot_->Redraw();
    if (!fastMode) {
        groupDelayPlot_->Redraw();
        excursionPlot_->Redraw();
        impedancePlot_->Redraw();
        RefreshDriverConfig();
        EnableProjectCommands(true);
        host_.EnableCommand(TCmd::DefaultSize, true);
    }
    if (boxVolume_)
        boxVolume_->dirty = false;
    front_.outOfDate = false;
    CurrentMeasSetup().setupChanged = false;
}

void TBoxEmbryo::ComputeEffectiveDriver()
{
    const TSpeakerObject& d = front_;
    totalVas = d.numberOfDrivers * d.Vas;
    if (d.isobaric)
        totalVas *= 0.5;
    front_.ComputeCoilTerms(Grid(), CurrentMeasSetup().sourceLevel);
    if (d.Mms <= 0 || d.Re <= 0) {
        effectiveFs = d.fs;
        effectiveQts = 100;
        return;
    }
    double b = (d.Mms + d.extraMass) / d.Mms;
    double c = std::sqrt(1.0 / b);
    effectiveFs = d.fs * c;
    double b2 = b * c;
    double qm = b2 * d.Qms;
    double qes = d.HasDoubleVoiceCoil() ? d.Qes * 0.5 : d.Qes;
    double qe = (front_.coilResistance[0].real() + CurrentMeasSetup().sourceResistance * d.TotalFactors().kR) * b2 * qes / d.Re;
    effectiveQts = qe > 0 ? 1.0 / (1.0 / qe + 1.0 / qm) : 100.0;
}

// ---------------------------------------------------------------- report helpers

void TBoxEmbryo::ReportFileName()
{
    if (!projectFile_.fileName.empty())
        report_->Add("Filename\t" + NameAndExtension(projectFile_.fileName));
}

void TBoxEmbryo::ReportDriverSetupRoom(int drivers, int portsA, int portsB, int radiators)
{
    report_->Add(front_.ReportLines(""));
    report_->Add(CurrentMeasSetup().ReportLines());
    std::vector<std::string> room = room_.ReportLines(typeCode_, drivers, portsA, portsB, radiators);
    if (!room.empty()) {
        report_->StartSecondColumn();
        report_->Add(room);
    }
}

// ---------------------------------------------------------------- units

void TBoxEmbryo::LoadFrontUnit()
{
    TFileRequest request{"Load driver unit", unitFile_.filter, unitFile_.extension, unitFile_.fileName, {}};
    std::string path;
    if (!host_.ChooseOpenFile(request, path))
        return;
    (void)LoadFrontUnitFrom(path);
}

bool TBoxEmbryo::LoadFrontUnitFrom(const std::string& path)
{
    // A damaged file is read straight into the unit; a failed load must leave the
    // project's unit as it was, so it keeps calculating.
    const TSpkData previous = front_;
    if (!front_.Load(path)) {
        static_cast<TSpkData&>(front_) = previous;
        front_.EvaluateComplete();
        host_.Message("Could not open file.\nCheck if device is ready.", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
        return false;
    }
    changed_ = true;
    front_.EvaluateComplete();
    if (front_.complete) {
        unitFile_.fileName = TProgramFolder::Strip(path);
        EnableProjectCommands(true);
    } else {
        host_.Message("Too few speaker parameters are defined", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
    }
    front_.outOfDate = true;
    RecalcRequest(0);
    UpdateCalculateCommand();
    RefreshDriverConfig();
    return true;
}

void TBoxEmbryo::LoadProjectUnit()
{
    if (unitFile_.fileName.empty()) {
        // Saved while its unit had no file: say so rather than name an empty file.
        host_.Message("This project names no driver unit file.\nLoad a driver unit to calculate.",
                      "Speaker unit load", TMsgButtons::Ok, TMsgIcon::Warning);
        UpdateCalculateCommand();
        return;
    }
    if (!front_.Load(TProgramFolder::Resolve(unitFile_.fileName))) {
        host_.Message("Could not open file : " + unitFile_.fileName + "\nCheck if path and filename is correct.",
                      "Speaker unit load", TMsgButtons::Ok, TMsgIcon::Warning);
        UpdateCalculateCommand();
        return;
    }
    front_.EvaluateComplete();
    if (!front_.complete)
        host_.Message("Too few speaker parameters are defined", "Speaker unit load", TMsgButtons::Ok,
                      TMsgIcon::Warning);
    CurrentMeasSetup().setupChanged = true;
    UpdateCalculateCommand();
}

void TBoxEmbryo::EditUserNote()
{
    if (!noteDialog_)
        noteDialog_ = std::make_unique<TInfoDialog>(host_);
    if (noteDialog_->IsOpen())
        return;
    noteDialog_->Open(report_->Note(), [this](const std::string& text, bool modified) {
        if (!modified)
            return;
        report_->SetNote(text);
        infoWin_->SetNotes(report_->Note());
        infoWin_->Redraw();
        changed_ = true;
    });
}

// ---------------------------------------------------------------- print list

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
    pages.heading = report_->Title().empty() ? typeName_ : report_->Title();
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

// ---------------------------------------------------------------- commands

bool TBoxEmbryo::HandlesCommand(int id) const
{
    if (Unsupported(id))
        return false;
    switch (id) {
    case TCmd::Calculate:
    case TCmd::MeasSetup:
    case TCmd::DriverConfig:
    case TCmd::UnitEditor:
    case TCmd::DriverLoad:
    case TCmd::Save:
    case TCmd::SaveAs:
    case TCmd::UserNote:
    case TCmd::ExportSpl:
    case TCmd::ExportModesSpl:
    case TCmd::ExportImpedance:
    case TCmd::ExportGroupDelay:
    case TCmd::ShowDiagrams:
    case TCmd::PrintDiagrams:
    case TCmd::CopyWindow:
    case TCmd::PrintWindow:
    case TCmd::DefaultSize: return true;
    default: return false;
    }
}

bool TBoxEmbryo::HandleCommand(int id)
{
    switch (id) {
    case TCmd::Calculate: Calculate(0); return true;
    case TCmd::MeasSetup: OpenSetupDialog(); return true;
    case TCmd::DriverConfig: OpenDriverConfig(); return true;
    case TCmd::UnitEditor: OpenUnitEditor(); return true;
    case TCmd::DriverLoad: LoadFrontUnit(); return true;
    case TCmd::Save: (void)Save(); return true;
    case TCmd::SaveAs: (void)SaveAs(); return true;
    case TCmd::UserNote:
        // The note of the plot the user works in, else the project's note.
        if (auto* plot = ActivePlot())
            return plot->HandleCommand(id);
        EditUserNote();
        return true;
    case TCmd::ShowDiagrams: OpenShowDiagrams(); return true;
    case TCmd::PrintDiagrams: OpenPrintDiagrams(); return true;
    case TCmd::CopyWindow:
    case TCmd::PrintWindow:
    case TCmd::DefaultSize:
        if (auto* plot = ActivePlot())
            return plot->HandleCommand(id);
        if (host_.ActiveView() == infoWin_.get()) {
            if (id == TCmd::CopyWindow)
                infoWin_->Copy();
            if (id == TCmd::PrintWindow)
                infoWin_->Print();
        }
        return true;
    case TCmd::ExportSpl: Export(0); return true;
    case TCmd::ExportModesSpl: Export(2); return true;
    case TCmd::ExportImpedance: Export(4); return true;
    case TCmd::ExportGroupDelay: Export(5); return true;
    default: return false;
    }
}

// ---------------------------------------------------------------- dialogs

TMeasSetupDialog& TBoxEmbryo::SetupDialog()
{
    if (!setupDialog_)
        setupDialog_ = std::make_unique<TMeasSetupDialog>(
            host_, CurrentMeasSetup(), [this](int kind) { RecalcRequest(kind); }, this, TCmd::MeasSetup);
    return *setupDialog_;
}

TSpeakerConfigDialog& TBoxEmbryo::DriverConfigDialog()
{
    if (!configDialog_) {
        configDialog_ = std::make_unique<TSpeakerConfigDialog>(
            host_, front_, typeCode_ == 9 ? TSpeakerConfigDialog::kFrontTitle : TSpeakerConfigDialog::kTitle,
            TCmd::DriverConfig);
        configDialog_->onRecalculate = [this](int kind) { RecalcRequest(kind); };
    }
    return *configDialog_;
}

void TBoxEmbryo::OpenSetupDialog() { SetupDialog().Open(); }

void TBoxEmbryo::OpenDriverConfig() { DriverConfigDialog().OpenAtSavedPosition(); }

std::vector<TDialogModel*> TBoxEmbryo::ParameterDialogs()
{
    std::vector<TDialogModel*> out;
    if (TDialogModel* box = BoxDialogModel())
        out.push_back(box);
    out.push_back(&SetupDialog());
    out.push_back(&DriverConfigDialog());
    return out;
}
