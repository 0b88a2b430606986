#pragma once
// The common base of the box projects. It owns what every box project has: the driver
// configurations, the per-frequency results, the four standard plots, the report, the
// stored blocks of the transient response and room windows, the parameter dialogs and
// the file commands. A box type supplies its acoustic load, its pressure sum, its
// report, its body in the project file and its dialog; TBoxType describes the rest.
//
// The pipeline of a full calculation (Calculate(0)) is:
//   PrepareCalculation; for each pass: BuildLoad, CoupleDriver, DriveDriver,
//   (non-linear updates); excursion limit; BuildPressure; FinishResponse;
//   report; RefreshResults.
// The arithmetic of the shared steps lives in TBoxPipeline (blocks in, blocks out);
// windows and printing in TBoxWindows.cpp, commands in TBoxCommands.cpp, dialogs in
// TBoxDialogs.cpp, the unit in TBoxUnit.cpp, the project file in TBoxEmbryoFile.cpp.

#include "box/TBoxType.h"
#include "core/TComplex.h"
#include "driver/TSpeakerObject.h"
#include "plot/TCursorDialog.h"
#include "plot/TDiagramPages.h"
#include "plot/TInfoWin.h"
#include "plot/TPlotLogXLinY.h"
#include "plot/TPlotStyles.h"
#include "plot/TSnapshot.h"
#include "room/TRoomDialogSlot.h"
#include "room/TRoomSettings.h"
#include "settings/TProgramContext.h"
#include "timedomain/TStepResponse.h"
#include "ui/TInfoDialog.h"
#include "ui/TProject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TBinaryReader;
class TBinaryWriter;
class TBoxObject;
class TBoxReport;
class TDialogModel;
class THost;
class TMeasSetupDialog;
class TPrintDiagramsDialog;
class TRoomCabinet;
struct TRoomGroupInput;
class TShowDiagramsDialog;
class TSpeakerConfigDialog;
class TSpeakerUnitDialog;
class TSnapshotDialog;
class TStepRespDialog;

// File dialog settings: the file name last chosen, with the chooser's filter.
struct TFileDialogSettings {
    std::string fileName;
    std::string filter;
    std::string extension;
};

// The curves a box project exports; the values are those of the export commands.
enum class TBoxExport { Spl = 0, RoomSpl = 1, ModesSpl = 2, Transient = 3, Impedance = 4, GroupDelay = 5 };

// A per-point curve of a box type's own (driver SPL, port SPL, air speed, ...), as the
// command line's curves lists it after the curves every box has.
struct TCurveColumn {
    std::string header; // "port SPL/dB"
    const double* values = nullptr;
};

// The four plots every box project has, in the order the diagram lists show them.
enum class TStdPlot { Spl = 0, Impedance = 1, Excursion = 2, GroupDelay = 3 };

class TBoxEmbryo : public TProject, public TMeasureSetupObject {
public:
    static constexpr int kPoints = 500;
    using TRealBlock = std::array<double, kPoints>;
    using TComplexBlock = std::array<TComplex, kPoints>;

    static constexpr std::int16_t kFileVersion = 410;
    static constexpr std::int16_t kEndMark = 12345;
    static constexpr std::size_t kPathSize = 271;
    // What Load reads at most: every box type's file is a few kilobytes, so this holds
    // the largest with room to spare, and a file with junk after its end mark is not
    // read whole.
    static constexpr std::size_t kMaxFileBytes = 64 * 1024;
    // j·ρ/p_ref with ρ = 1.18 kg/m³ and p_ref = 20 µPa.
    static constexpr double kPressureConstant = 58999.99999999999;
    static constexpr double kDegrees = 57.29577951307855;

    // The context outlives the project: its setup is the one the project reads, writes
    // and calculates with; making a project loads the setup preferences into it.
    TBoxEmbryo(THost& host, TProgramContext& context, const TBoxType& type);
    ~TBoxEmbryo() override;
    TBoxEmbryo(const TBoxEmbryo&) = delete;
    TBoxEmbryo& operator=(const TBoxEmbryo&) = delete;

    const TBoxType& Type() const { return type_; }
    TProgramContext& Context() const { return context_; }
    TMeasSetup& MeasSetup() const { return context_.MeasSetup(); }

    // TProject
    int TypeCode() const override { return type_.typeCode; }
    int MenuNumber() const override { return type_.menu; }
    bool IsBoxProject() const override { return true; }
    bool AskSaveChanges() override;
    [[nodiscard]] bool Load(const std::string& path) override;
    // The same from the bytes of a project file (the file name stays as it is).
    [[nodiscard]] bool LoadFrom(TBinaryReader& in);
    void Reset() override;
    void SetMainTitle(bool withFileName) override;
    void StartNew(bool showUnitHint) override;
    bool IsModified() const override { return changed_; }
    std::string FileName() const override { return projectFile_.fileName; }
    // A new project shows its SPL and impedance plots.
    void RestoreStartWindows();
    void ShowStartWindows() override { RestoreStartWindows(); }
    bool HandlesCommand(int id) const override;
    bool HandleCommand(int id) override;
    void RecalcRequest(TRecalc kind) override;

    // The pipeline.
    // partial 0: full calculation; 1: the report only.
    virtual void Calculate(int partial);
    virtual void PrepareCalculation();
    // The front cones' load when all nd cones work into one shared load (box volume,
    // box and port, box and radiators): nd · shared + the cone's own mechanical,
    // radiation and extra loads.
    void LoadConesWith(std::span<const TComplex> shared);
    void CoupleDriver();
    void DriveDriver();
    void FinishResponse();
    virtual void RefreshResults();
    void ComputeEffectiveDriver();
    // Enables Calculate for a complete unit; an incomplete one empties the results and
    // the report says what it lacks.
    void UpdateCalculateCommand();
    // The -3 dB point in Hz, 0 when there is none.
    double SearchMinus3dB() const;
    // The elements of one of the type's room groups: count, radius, response. The cones
    // are the base's; a type with ports or radiators answers for those.
    virtual void RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const;
    // "R&oom && Cabinet": the room dialog through the model, and the room window.
    void OpenRoomDialog();
    // The type's own per-point curves, none for the closed box.
    virtual std::vector<TCurveColumn> OwnCurves() const { return {}; }

    // Commands.
    void LoadFrontUnit();
    // Loads a unit file into the front driver as the chooser would; false on failure.
    bool LoadFrontUnitFrom(const std::string& path);
    // The same for the rear driver group of the types with two (frontAndRear).
    void LoadRearUnit();
    bool LoadRearUnitFrom(const std::string& path);
    const std::string& RearUnitFileName() const { return rearUnitFile_.fileName; }
    [[nodiscard]] bool Save();
    [[nodiscard]] bool SaveAs();
    // Writes the project to a file (the project file name is set to it).
    [[nodiscard]] bool SaveTo(const std::string& path);
    // Export to a chosen or given file; false when nothing was written.
    bool Export(TBoxExport kind);
    bool ExportTo(TBoxExport kind, const std::string& path);
    // The project's note in the "User note" dialog, kept with the information window.
    void EditUserNote();
    TInfoDialog* NoteDialog() const { return noteDialog_ && noteDialog_->IsOpen() ? noteDialog_.get() : nullptr; }

    // The project's parameter dialogs; each exists at most once.
    void OpenSetupDialog();
    void OpenDriverConfig();
    void OpenRearDriverConfig();
    // The box type's parameter dialog (the Box command), at its saved place.
    void OpenBoxDialog();
    // The box type's parameter dialog, created closed when needed.
    TDialogModel* BoxDialogModel();
    // The box type's parameter dialog if it was made, without making it.
    TDialogModel* ExistingBoxDialog() const { return boxDialog_.get(); }
    // The speaker unit editor on the front driver (TBoxUnit.cpp).
    void OpenUnitEditor();
    TSpeakerUnitDialog* UnitEditor() const { return unitEditor_.get(); }
    // The editor on the rear driver group.
    void OpenRearUnitEditor();
    TSpeakerUnitDialog* RearUnitEditor() const { return rearUnitEditor_.get(); }
    // After every accepted entry of the editor: the project recalculates and redraws,
    // the driver configuration dialog shows the new unit.
    void UnitChanged();
    TMeasSetupDialog& SetupDialog();
    TSpeakerConfigDialog& DriverConfigDialog();
    TSpeakerConfigDialog& RearDriverConfigDialog();
    // Every parameter dialog, box dialog first, created closed when needed, then the
    // transient dialog; then the room dialog and its absorption dialog while they are open.
    std::vector<TDialogModel*> ParameterDialogs();

    // The chosen diagrams as printed pages (the whole print list, or every plot window
    // when the list is empty).
    TDiagramPages DiagramPages();
    // Print list of "Print diagrams".
    bool AddToPrintList(int window);
    // Removes entry `at` (the last one when out of range).
    bool RemoveFromPrintList(int at = -1);
    // Prints the print list through the print dialog.
    bool PrintDiagrams();
    void OpenShowDiagrams();
    void OpenPrintDiagrams();
    const std::vector<int>& PrintList() const { return printList_; }
    // The plot windows in pick-list order: the four standard plots, then the type's own.
    std::vector<TPlotXYEmbryo*> DiagramWindows() const;
    // The box type's own plot windows ("Airspeed in port", ...); none for the closed box.
    virtual std::vector<TPlotXYEmbryo*> OptionalPlots() const { return {}; }
    // The one optional plot whose window block the common file body keeps after the
    // four standard plots (the bandpass boxes' standing-wave window); none by default.
    virtual TPlotXYEmbryo* CommonBodyPlot() const { return nullptr; }
    // The plot the user works in, or nullptr.
    TPlotXYEmbryo* ActivePlot() const;

    // Results and parts.
    TSpeakerObject& FrontDriver() { return front_; }
    const TSpeakerObject& FrontDriver() const { return front_; }
    TSpeakerObject& RearDriver() { return rear_; }
    const TSpeakerObject& RearDriver() const { return rear_; }
    TBoxObject& BoxVolume() { return *boxVolume_; }
    const TBoxObject& BoxVolume() const { return *boxVolume_; }
    TRoomSettings& Room() { return room_; }
    // The room and cabinet model over room_, also the "SPL in Room & Cabinet" window.
    TRoomCabinet& RoomModel() const { return *roomCabinet_; }
    // Its dialog, "Room and cabinet effects", opened by command 10205.
    TRoomDialogSlot& RoomDialog() { return roomDialog_; }
    TStepRespSettings& StepResponse() { return transient_->Settings(); }
    // The transient response window and its dialog ("&Transient resp").
    TStepResponse& TransientWindow() const { return *transient_; }
    void OpenTransientDialog();
    TStepRespDialog& TransientDialog();
    // The snapshot window and its dialog ("&Snapshot"); the path the project file keeps.
    TSnapshot& SnapshotWindow() const { return *snapshot_; }
    TSnapshotDialog& SnapshotDialog();
    void OpenSnapshotDialog();
    const std::string& SnapshotPath() const { return snapshotPath_; }
    TPlotLogXLinY& Plot(TStdPlot which) const { return *plots_[static_cast<std::size_t>(which)]; }
    TPlotLogXLinY& SplPlot() { return Plot(TStdPlot::Spl); }
    TPlotLogXLinY& ExcursionPlot() { return Plot(TStdPlot::Excursion); }
    TPlotLogXLinY& ImpedancePlot() { return Plot(TStdPlot::Impedance); }
    TPlotLogXLinY& GroupDelayPlot() { return Plot(TStdPlot::GroupDelay); }
    // The information window, refilled from the report after every calculation.
    TInfoWin& InfoWindow() { return *infoWin_; }
    const TBoxReport& Report() const { return *report_; }
    TBoxReport& Report() { return *report_; }
    const TFreqGrid& Grid() const { return MeasSetup().grid; }
    int PointCount() const { return Grid().Count(); }

    bool Changed() const { return changed_; }
    bool fastMode = false;
    bool splPlotRefresh = true;
    double effectiveQts = 0, effectiveFs = 0, totalVas = 0;
    int transitionIndex = -1;
    double minus3dB = 0;

    TRealBlock splTotal{}, splModes{}, groupDelay{}, splPhase{}, impedancePhase{}, target{};
    TComplexBlock pressure{}, importCorrection{}, motionalImpedance{}, acousticLoad{};

    const std::string& ProjectFileName() const { return projectFile_.fileName; }
    const std::string& BaseTitle() const { return baseTitle_; }
    std::int16_t boxDialogX = 0, boxDialogY = 0;
    // The frequency fit's settings as the file keeps them: lower and upper cutoff (Hz),
    // then optimise Q, optimise front Q, show intermediate results, fine step.
    std::int16_t optimiserIterations = 10, optimiserSpare = 0;
    std::array<std::uint8_t, 4> optimiserOptions{0, 0, 1, 0};
    // The open optimiser dialog (frequency fit or table), at most one; it is destroyed
    // with the project, and a fit's pending step then finds it gone.
    TDialogModel* OptimiserDialog() const;
    // Takes the dialog and opens it; an optimiser dialog already open is raised instead
    // and the new one dropped. Returns the open one.
    TDialogModel& OpenOptimiserDialog(std::unique_ptr<TDialogModel> dialog);
    bool printDate = true, printProjectName = true;
    std::int16_t diagramsPerPage = 8;

protected:
    // Box type parts.
    virtual void BuildLoad() = 0;
    virtual void BuildPressure() = 0;
    virtual void BuildReport() = 0;
    // The box type's parameter dialog, made once when first asked for.
    virtual std::unique_ptr<TDialogModel> MakeBoxDialog() = 0;
    [[nodiscard]] virtual bool ReadBody(TBinaryReader& in, int version);
    virtual void WriteBody(TBinaryWriter& out) const;

    // Common body of the project file.
    [[nodiscard]] bool ReadCommon(TBinaryReader& in, int& version);
    // Unit names are written relative to the folder of projectPath when they lie below it.
    void WriteCommon(TBinaryWriter& out, const std::string& projectPath) const;
    // Loads the unit named in the project; reports failures.
    void LoadProjectUnit();
    // Loads the rear unit named in the project (rearUnitFile_); reports failures. An
    // empty name means the project never had a rear unit: nothing to report.
    void LoadProjectRearUnit();
    // The report lines every box type shares.
    void ReportFileName();
    void ReportDriverSetupRoom(const TRoomCounts& counts);
    void ShowIncompleteUnit();
    // Enabling skips the commands whose dialog is open and those the box type removed.
    void EnableProjectCommands(bool enabled);
    void EnableUnlessOpen(int id);
    bool CommandDialogOpen(int id) const;
    bool Unsupported(int id) const;
    // The open driver configuration dialog shows the driver again.
    void RefreshDriverConfig();
    // A plot window of the type's own over the frequency grid ("Airspeed in port" in
    // "m/s"), at its default place; the type adds its curves, then shows it with
    // ShowOwnPlot, lists it in OptionalPlots and hides it with HideOwnPlot.
    std::unique_ptr<TPlotLogXLinY> MakeOwnPlot(const char* title, const char* yUnit, const TRect& restored);
    void ShowOwnPlot(TPlotLogXLinY& plot);
    void HideOwnPlot(TPlotLogXLinY& plot);
    void SetBoxVolume(std::unique_ptr<TBoxObject> box);
    void MarkChanged() { changed_ = true; }
    // Copies the report into the information window and redraws it.
    void ShowReport();

    THost& host_;
    TProgramContext& context_;
    TSpeakerObject front_;
    TSpeakerObject rear_;
    std::unique_ptr<TBoxObject> boxVolume_;
    TRoomSettings room_;
    TRoomDialogSlot roomDialog_; // before the model, which closes the dialog when it goes
    std::unique_ptr<TRoomCabinet> roomCabinet_;
    std::unique_ptr<TStepResponse> transient_;
    std::unique_ptr<TStepRespDialog> transientDialog_;
    std::unique_ptr<TSnapshot> snapshot_;
    std::unique_ptr<TSnapshotDialog> snapshotDialog_; // after the window it edits
    TPlotStyles styles_;
    TLineStyle thickBlack_{TColors::Black, 3, TDash::Solid};
    TLineStyle thinBlack_{TColors::Black, 1, TDash::Solid};
    TLineStyle dottedBlack_{TColors::Black, 1, TDash::Dot};
    TLineStyle thickRed_{TColors::Red, 3, TDash::Solid};
    TLineStyle thickBlue_{TColors::Blue, 3, TDash::Solid};
    std::unique_ptr<TCursorDialog> cursor_;
    std::array<std::unique_ptr<TPlotLogXLinY>, 4> plots_;
    std::unique_ptr<TBoxReport> report_;
    std::unique_ptr<TInfoWin> infoWin_;
    std::unique_ptr<TDialogModel> boxDialog_;
    std::unique_ptr<TMeasSetupDialog> setupDialog_;
    std::unique_ptr<TInfoDialog> noteDialog_;
    std::unique_ptr<TSpeakerConfigDialog> configDialog_;
    std::unique_ptr<TSpeakerUnitDialog> unitEditor_;
    std::unique_ptr<TSpeakerConfigDialog> rearConfigDialog_;
    std::unique_ptr<TSpeakerUnitDialog> rearUnitEditor_;
    std::unique_ptr<TShowDiagramsDialog> showDiagrams_;
    std::unique_ptr<TPrintDiagramsDialog> printDiagrams_;
    std::unique_ptr<TDialogModel> optimiserDialog_;
    TFileDialogSettings unitFile_, rearUnitFile_, projectFile_, snapshotFile_, splExport_, impedanceExport_;
    std::string snapshotPath_;
    // The file a body is being written to, for unit names stored relative to it.
    std::string writingPath_;
    std::vector<int> printList_;
    int exportKind_ = 0, exportFormat_ = 2;

private:
    void CreatePlots();
    void DestroyViews();
    void ShowPhaseOption();
    [[nodiscard]] bool WriteProject(const std::string& path);
    bool ChooseProjectFile(std::string& path);
    // Asks before saving a project whose unit has data but no file; false: don't save.
    bool ConfirmUnitWithoutFile();
    // A unit file into one driver group as the chooser would (the front one or the rear).
    bool LoadUnitInto(TSpeakerObject& driver, TFileDialogSettings& file, const std::string& path);
    // SaveTo, reporting a failure under the command's title.
    bool SaveReporting(const std::string& path, const char* title);
    // The plot or information window the user works in takes a window command.
    bool ActiveWindowCommand(int id);

    const TBoxType& type_;
    std::string baseTitle_;
    bool changed_ = true;
};

// The plots in the order the project file keeps their window records.
inline constexpr TStdPlot kStdPlotFileOrder[] = {TStdPlot::Spl, TStdPlot::GroupDelay, TStdPlot::Excursion,
                                                 TStdPlot::Impedance};
