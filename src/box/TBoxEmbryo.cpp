// The box project's life cycle, its recalculation and the calculation itself.

#include "TBoxEmbryo.h"

#include "TBoxDiagramDialogs.h"
#include "TBoxFileNames.h"
#include "TBoxPipeline.h"
#include "TBoxReport.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementGrid.h"
#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpeakerUnitDialog.h"
#include "plot/TSnapshotDialog.h"
#include "room/TRoomCabinet.h"
#include "settings/TMeasSetupDialog.h"
#include "timedomain/TStepRespDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>

using namespace TBoxFileNames;

TBoxEmbryo::TBoxEmbryo(THost& host, TProgramContext& context, const TBoxType& type)
    : host_(host), context_(context), front_(context, &host), rear_(context, &host),
      report_(std::make_unique<TBoxReport>()), type_(type)
{
    // Every new project starts from the saved preferences.
    MeasSetup().LoadPreferences(context_.Folder(), false);
    cursor_ = std::make_unique<TCursorDialog>(host);
    infoWin_ = std::make_unique<TInfoWin>(host);
    unitFile_ = {"", kUnitFilter, "unt"};
    rearUnitFile_ = {"", kUnitFilter, "unt"};
    projectFile_ = {"", kProjectFilter, "box"};
    snapshotFile_ = {"", kSnapshotFilter, "snp"};
    splExport_ = {"", kSplExportFilter, "frd"};
    impedanceExport_ = {"", kImpedanceExportFilter, "zma"};
    roomCabinet_ = std::make_unique<TRoomCabinet>(host_, styles_, cursor_.get(), room_, MeasSetup(), context_.Folder(),
                                                  type_.roomSources);
    // Bound once: the arrays stay where they are, the counts are read at each calculation.
    roomCabinet_->bindInputs = [this](TRoomInputs& in) {
        const std::vector<TRoomSource>& groups = type_.roomGroups.empty() ? type_.roomSources : type_.roomGroups;
        in.groupCount = static_cast<int>(std::min<std::size_t>(groups.size(), in.groups.size()));
        for (int g = 0; g < in.groupCount; ++g) {
            TRoomGroupInput& group = in.groups[static_cast<std::size_t>(g)];
            group = TRoomGroupInput{groups[static_cast<std::size_t>(g)]};
            RoomGroup(group.source, group);
        }
        in.pressure = pressure.data();
        in.importCorrection = importCorrection.data();
        in.splTotal = splTotal.data();
        in.smoothBeforeImport = type_.roomConesAreTotal;
    };
    roomDialog_.Attach(host_, *roomCabinet_, context_.Folder(), type_.typeCode,
                       [this](TRecalc kind) { RecalcRequest(kind); });
    CreatePlots();
    baseTitle_ = std::string("Tonvek 4.10 Beta ") + type_.title;
}

TBoxEmbryo::~TBoxEmbryo()
{
    // The optimiser dialog names the box dialog and the elements: it goes first.
    optimiserDialog_.reset();
    boxDialog_.reset();
    transientDialog_.reset();
    snapshotDialog_.reset();
    noteDialog_.reset();
    showDiagrams_.reset();
    printDiagrams_.reset();
    unitEditor_.reset();
    configDialog_.reset();
    rearUnitEditor_.reset();
    rearConfigDialog_.reset();
    setupDialog_.reset();
    // The type's ports and radiators are gone by now: a dialog that computes as it
    // closes finds no groups.
    roomCabinet_->bindInputs = nullptr;
    DestroyViews();
    roomCabinet_.reset();
}

void TBoxEmbryo::SetBoxVolume(std::unique_ptr<TBoxObject> box) { boxVolume_ = std::move(box); }

// ---------------------------------------------------------------- life cycle

void TBoxEmbryo::Reset()
{
    if (boxDialog_ && boxDialog_->IsOpen())
        boxDialog_->Close();
    MeasSetup().LoadPreferences(context_.Folder(), false);
    transient_->ResetToDefaults();
    if (transientDialog_)
        transientDialog_->Reload();
    roomCabinet_->LoadPreferences(context_.Folder().Resolve(TRoomSettings::PreferencesFile));
    front_.Clear();
    rear_.Clear();
    if (boxVolume_)
        boxVolume_->Reset();
    optimiserIterations = 10;
    optimiserOptions = {0, optimiserOptions[1], 1, 0};
    unitFile_.fileName.clear();
    rearUnitFile_.fileName.clear();
    projectFile_.fileName.clear();
    snapshotFile_.fileName.clear();
    snapshotPath_.clear();
    if (snapshotDialog_ && snapshotDialog_->IsOpen())
        snapshotDialog_->Close();
    snapshot_->Reset();
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
    for (int id : type_.unsupportedCommands)
        host_.RemoveCommand(id);
    changed_ = true;
    SetMainTitle(false);
}

void TBoxEmbryo::SetMainTitle(bool withFileName)
{
    if (!withFileName || projectFile_.fileName.empty()) {
        host_.SetMainTitle(baseTitle_);
        return;
    }
    host_.SetMainTitle(baseTitle_ + " - " + NameAndExtension(projectFile_.fileName));
}

void TBoxEmbryo::StartNew(bool)
{
    RestoreStartWindows();
    LoadFrontUnit();
}

// ---------------------------------------------------------------- recalculation

void TBoxEmbryo::ShowPhaseOption()
{
    SplPlot().SetPhaseShown(!MeasSetup().hidePhase);
    roomCabinet_->SetPhaseShown(!MeasSetup().hidePhase);
}

void TBoxEmbryo::RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const
{
    group.n = 0;
    if (source.count != TRoomSource::Drivers)
        return;
    group.n = front_.numberOfDrivers;
    group.radius = front_.RadiationRadius();
    group.p = type_.roomConesAreTotal ? pressure.data() : front_.auxPressure.data();
}

void TBoxEmbryo::OpenRoomDialog()
{
    host_.ShowView(*roomCabinet_);
    roomCabinet_->ShowRoomDialog();
}

void TBoxEmbryo::RecalcRequest(TRecalc kind)
{
    if (kind == TRecalc::MarkUnchanged) {
        changed_ = false;
        return;
    }
    changed_ = true;
    ShowPhaseOption();
    switch (kind) {
    case TRecalc::MarkChanged: return;
    case TRecalc::ReportOnly:
        if (roomCabinet_->refreshDialog)
            roomCabinet_->refreshDialog();
        Calculate(1);
        return;
    case TRecalc::Recalculate:
        if (roomCabinet_->refreshDialog)
            roomCabinet_->refreshDialog();
        UpdateCalculateCommand();
        if (MeasSetup().calculateImmediately)
            Calculate(0);
        return;
    case TRecalc::MarkUnchanged: return;
    }
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
    ShowReport();
}

// ---------------------------------------------------------------- pipeline

void TBoxEmbryo::Calculate(int partial)
{
    if (!front_.complete)
        return;
    if (partial == 0) {
        // A fast calculation overwrites what a deferred window would be calculated from.
        if (fastMode) {
            roomCabinet_->BringUpToDate();
            transient_->BringUpToDate();
        }
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
    TMeasSetup& setup = MeasSetup();
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
    for (const auto& plot : plots_)
        plot->SetPointCount(grid.Count());
}

void TBoxEmbryo::LoadConesWith(std::span<const TComplex> shared)
{
    const int n = PointCount();
    const double drivers = front_.numberOfDrivers;
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        acousticLoad[j] =
            drivers * shared[j] + front_.mechImpedance[j] + front_.radiationImpedance[j] + front_.extraLoad[j];
    }
}

void TBoxEmbryo::CoupleDriver()
{
    TBoxPipeline::CoupleDriver(front_, acousticLoad, motionalImpedance, impedancePhase, PointCount(), !fastMode);
}

void TBoxEmbryo::DriveDriver() { TBoxPipeline::DriveDriver(front_, MeasSetup(), acousticLoad); }

void TBoxEmbryo::FinishResponse()
{
    const TFreqGrid& grid = Grid();
    transitionIndex = front_.MergeImported(grid, pressure, importCorrection);
    TBoxPipeline::Levels(pressure, splTotal, splPhase, grid.Count(), !fastMode);
    if (!fastMode)
        TBoxPipeline::GroupDelay(grid, splPhase, groupDelay, front_.ImportActive());
}

double TBoxEmbryo::SearchMinus3dB() const { return TBoxPipeline::SearchMinus3dB(Grid(), splTotal, transitionIndex); }

void TBoxEmbryo::ComputeEffectiveDriver()
{
    const TSpeakerObject& d = front_;
    totalVas = d.numberOfDrivers * d.Vas;
    if (d.isobaric)
        totalVas *= 0.5;
    front_.ComputeCoilTerms(Grid(), MeasSetup().sourceLevel);
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
    double qe = (front_.coilResistance[0].real() + MeasSetup().sourceResistance * d.TotalFactors().kR) * b2 * qes /
                d.Re;
    effectiveQts = qe > 0 ? 1.0 / (1.0 / qe + 1.0 / qm) : 100.0;
}

// ---------------------------------------------------------------- report helpers

void TBoxEmbryo::ReportFileName()
{
    if (!projectFile_.fileName.empty())
        report_->Add("Filename\t" + NameAndExtension(projectFile_.fileName));
}

void TBoxEmbryo::ReportDriverSetupRoom(const TRoomCounts& counts)
{
    report_->Add(front_.ReportLines(""));
    report_->Add(MeasSetup().ReportLines());
    const std::vector<std::string>& room = roomCabinet_->ReportLines(type_.roomSources, counts);
    if (!room.empty()) {
        report_->StartSecondColumn();
        report_->Add(room);
    }
}
