#pragma once
// The filter project: the networks of a two- or three-way filter, the plot windows that
// show what they do, and the totals formed from them after every change: the input
// impedance the amplifier sees, the summed acoustic response along every ray of the
// general settings, its phase and its group delay. It listens to the general settings
// (a change there recomputes the networks) and is the owner its networks report to.
//
// Jobs by file: TXover.cpp (life cycle, totals, windows), TXoverFile.cpp (the project
// file, saving and the save question), TXoverCommands.cpp (menu commands, exports,
// diagrams).

#include "filter/TDrawingWin.h"
#include "filter/TNet.h"
#include "filter/TNetA.h"
#include "filter/TNetADialogs.h"
#include "filter/TNetOwner.h"
#include "plot/TCursorDialog.h"
#include "plot/TDiagramPages.h"
#include "plot/TMultiPlot.h"
#include "plot/TPlotLogXLinY.h"
#include "plot/TPlotStyles.h"
#include "plot/TSnapshot.h"
#include "settings/TGeneral.h"
#include "settings/TProgramContext.h"
#include "timedomain/TImpResponse.h"
#include "ui/TProject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBinaryReader;
class TBinaryWriter;
class TExportRayDialog;
class TSimDialog;
class TSnapshotDialog;
class TXoverPrintDiagrams;
class TXoverShowDiagrams;

// The plot windows, in the order the file keeps their records (the impulse response
// window's record sits between the group delay and the surface plot).
enum class TXoverPlot { Gain = 0, Impedance, Summed, Phase, GroupDelay, Surface, Overlay };

// What the export commands of the totals write.
enum class TXoverExport { Spl = 0, Impedance = 1, GroupDelay = 2, Impulse = 3 };

// A section export: one network's curve.
enum class TSectionCurve { Spl = 0, Gain = 1, Impedance = 2, GroupDelay = 3 };

class TXover : public TProject, public TNetOwner, public TGeneralListener {
public:
    static constexpr int kPoints = TNetBase::kPoints;
    static constexpr int kMaxRays = TNetBase::kMaxRays;
    static constexpr int kPlots = 7;
    static constexpr std::int16_t kFileVersion = 410;
    static constexpr std::int16_t kEndMark = 12345;
    static constexpr std::size_t kPathSize = 271;
    static constexpr std::size_t kSchematicRecord = 20;
    // An advanced network's schematic window record: the placement and a 600-byte note.
    static constexpr std::size_t kSchematicRecordA = 620;
    static constexpr int kStoreSlots = 4;
    // A nickname field of the store slots (99 characters and the terminator); the
    // prompt takes at most 79.
    static constexpr std::size_t kNicknameField = 100;
    static constexpr int kNicknameInput = 80;
    // The input impedance of a project whose networks are all active: an open circuit.
    static constexpr double kOpenInput = 1e9;
    // The snapshot block is the snapshot window's record.
    static constexpr std::size_t kSnapshotBlock = 70;
    // Every filter file is some kilobytes; junk after one is not read.
    static constexpr std::size_t kMaxFileBytes = 256 * 1024;
    // The creation argument: 0 two-way simple (type code 15), 1 three-way simple (16),
    // 3-6 one- to four-way advanced (20-23), 8-11 the same with every network active
    // (written as 20-23 too: the networks' records say which are active).
    TXover(THost& host, TProgramContext& context, int creation);
    ~TXover() override;
    TXover(const TXover&) = delete;
    TXover& operator=(const TXover&) = delete;

    // The creation argument of a filter type code, or -1 for other codes.
    static int KindOfTypeCode(int typeCode);
    // The type code a project created with this argument holds until it reads a file.
    static int TypeCodeOfKind(int creation);
    // The kind kept for a creation argument: the active ones are advanced kinds.
    static int KeptKind(int creation) { return creation >= 8 ? creation - 5 : creation; }

    // 0, 1 (simple) or 3-6 (advanced).
    int Kind() const { return kind_; }
    bool ThreeWay() const { return kind_ == 1; }
    bool Advanced() const { return kind_ >= 3; }
    // Networks summed: 2 or 3 simple ones, 1 to 4 advanced ones.
    int Ways() const { return Advanced() ? kind_ - 2 : (ThreeWay() ? 3 : 2); }
    // The simple networks in use, bass first: bass and treble, or bass, mid and treble;
    // none in an advanced project.
    std::vector<TNet*> Networks() const;
    TNet& Net(int index) const;
    // The networks in use in summing order (bass, mid, treble or Net 1 up).
    std::vector<TNetBase*> NetsInUse() const;
    // The advanced networks, Net 1 first; none in a simple project.
    std::vector<TNetA*> AdvancedNets() const;
    TNetA& NetA(int index) const;
    // The network and driver set dialogs of an advanced net.
    TNetADialogs& NetADialogs(int index) const;

    // TProject
    int TypeCode() const override { return typeCode_; }
    int MenuNumber() const override { return Advanced() ? 21 : 5; }
    bool IsBoxProject() const override { return false; }
    bool AskSaveChanges() override;
    [[nodiscard]] bool Load(const std::string& path) override;
    // The same from the bytes of a project file (the file name stays as it is).
    [[nodiscard]] bool LoadFrom(TBinaryReader& in);
    void Reset() override { ResetProject(); }
    void SetMainTitle(bool withFileName) override;
    void ShowStartWindows() override;
    void StartNew(bool) override {}
    bool IsModified() const override { return changed_; }
    std::string FileName() const override { return projectFile_; }
    bool HandlesCommand(int id) const override;
    bool HandleCommand(int id) override;
    void RecalcRequest(TRecalc kind) override;

    // TNetOwner and TGeneralListener
    THost& Host() override { return host_; }
    const TProgramContext& Context() const override { return context_; }
    void MarkChanged() override { changed_ = true; }
    void Recalculate() override;
    int FileVersion() const override { return version_; }
    void MarkAllDirty() override;
    void RefreshDialogs() override;

    void ResetProject();
    const std::string& Title() const { return title_; }
    bool Changed() const { return changed_; }

    // Saving. SaveTo writes the file and takes its name; the others report a failure.
    [[nodiscard]] bool SaveTo(const std::string& path);
    [[nodiscard]] bool Save();
    [[nodiscard]] bool SaveAs();
    // The file as SaveTo writes it.
    void WriteFile(TBinaryWriter& out) const;

    // Totals over the filter grid.
    const TNetBase::TComplexRow& TotalImpedance() const { return totalImpedance_; }
    const TNetBase::TRealRow& TotalImpedanceMagnitude() const { return totalMagnitude_; }
    const TNetBase::TRealRow& TotalImpedancePhase() const { return totalPhase_; }
    const TNetBase::TComplexRow& Summed(int ray) const { return summed_[static_cast<std::size_t>(ray)]; }
    const TNetBase::TRealRow& SummedLevel(int ray) const { return summedLevel_[static_cast<std::size_t>(ray)]; }
    const TNetBase::TRealRow& SummedPhase() const { return summedPhase_; }
    const TNetBase::TRealRow& GroupDelay() const { return groupDelay_; }
    const double* Frequencies() const;

    // Windows. The "Filter gain" plot exists in simple projects only: advanced networks
    // own one each.
    TPlotLogXLinY& Plot(TXoverPlot which) const { return *plots_[static_cast<std::size_t>(which)]; }
    // The surface plot (the same window as Plot(TXoverPlot::Surface)).
    TMultiPlot& Surface() const { return *surface_; }
    std::vector<TPlotXYEmbryo*> DiagramWindows() const;
    TCursorDialog& Cursor() const { return *cursor_; }
    TImpResponse& Impulse() const { return *impulse_; }
    // "Filter &music" (13101): opens the filter-music dialog, made again with the
    // general settings' N when that changed while it was closed. nullptr until first
    // opened.
    TSimDialog* OpenMusicDialog();
    TSimDialog* MusicDialog() const { return musicDialog_.get(); }
    // The snapshot window, its dialog ("&Snapshot") and the path the file keeps.
    TSnapshot& SnapshotWindow() const { return *snapshot_; }
    TSnapshotDialog& SnapshotDialog();
    void OpenSnapshotDialog();
    const std::string& SnapshotPath() const { return snapshotFile_; }

    // Exports of the totals and of one network's curve; the format follows the
    // extension. rayIndex picks the ray of the SPL total (-1: the on-axis ray).
    bool ExportTotalTo(TXoverExport what, const std::string& path, int rayIndex = -1);
    bool ExportSectionTo(int net, TSectionCurve what, const std::string& path);
    // SPL total first asks for the ray ("Export SPL Total"), then for the file.
    bool ExportTotal(TXoverExport what);
    void ExportSplForRay(int rayIndex);
    bool ExportSection(int net, TSectionCurve what);

    // Store slots of advanced projects (0-3). The store commands ask for a nickname
    // first (cancel stores nothing); the recall commands recompute and refresh the open
    // dialogs. A driver set can be recalled once it was stored.
    void StoreNetSet(int slot);
    void RecallNetSet(int slot);
    void StoreDriverSet(int slot);
    void RecallDriverSet(int slot);
    const std::string& NetSetNickname(int slot) const { return netNicknames_[static_cast<std::size_t>(slot)]; }
    const std::string& DriverSetNickname(int slot) const { return driverNicknames_[static_cast<std::size_t>(slot)]; }
    // The menu text of a store slot: "&2 name" or "&2".
    static std::string SlotLabel(int slot, const std::string& nickname);
    // The schematic windows: one for a simple project, one per net of an advanced one.
    TDrawingWin* Schematic() const { return schematic_.get(); }
    TDrawingWinA& SchematicA(int net) const { return *schematicsA_[static_cast<std::size_t>(net)]; }
    // The schematic window a window command goes to (the active view), or nullptr.
    TSchematicWin* ActiveSchematic() const;
    // Repaints the schematic windows after a change of the networks.
    void RedrawSchematics();

    // Diagram printing.
    std::int16_t diagramsPerPage = 8;
    bool printDate = true, printProjectName = true;
    std::vector<int> printList;
    std::int16_t exportRay = 0;
    TDiagramPages DiagramPages();
    bool PrintDiagrams();
    // The plot windows that are not visible (the "Show diagrams" list) and showing one.
    std::vector<TPlotXYEmbryo*> HiddenDiagrams() const;
    void ShowDiagram(TPlotXYEmbryo& plot);
    // Print list of "Print diagrams" (indices into DiagramWindows, at most 15).
    bool AddToPrintList(int window);
    // Removes entry `at` (the last one when out of range).
    bool RemoveFromPrintList(int at);
    void OpenShowDiagrams();
    void OpenPrintDiagrams();
    TXoverShowDiagrams* ShowDiagramsDialog() const { return showDiagrams_.get(); }
    TXoverPrintDiagrams* PrintDiagramsDialog() const { return printDiagrams_.get(); }
    TExportRayDialog* ExportRayDialog() const { return exportRayDialog_.get(); }

private:
    // The save chooser of the impedance or the response export; false when cancelled.
    bool ChooseExportFile(bool impedance, std::string& path);
    void CreatePlots();
    // "Bass", "Mid", "Treble" or "Net 1" .. "Net 4".
    std::string NetLabel(int index) const;
    void ChooseOffAxisCurves();
    bool HandleAdvancedCommand(int id);
    // The dialogs of advanced networks (commands 13021-13024 and 13011-13014).
    void OpenNetADialog(int net);
    void OpenDriverSetDialog(int net);
    void RebuildSummedCurves(int onAxis);
    void LabelSlots();
    bool AskNickname(std::string& nickname);
    // The summed-response, phase, group delay, surface, overlay plots and the totals
    // once the networks are calculated.
    void FinishTotals();
    void ScaleGroupDelayPlot();
    bool ReadFile(TBinaryReader& in);
    bool SaveReporting(const std::string& path, const char* title);

    THost& host_;
    TProgramContext& context_;
    int kind_;
    std::int32_t typeCode_;
    int version_ = kFileVersion;
    bool changed_ = true;
    std::string title_;
    std::string projectFile_;
    std::string responseExportFile_, impedanceExportFile_;
    std::string snapshotFile_;

    // Three simple networks (the mid one idle in a two-way filter) or one advanced
    // network per way.
    std::vector<std::unique_ptr<TNetBase>> nets_;
    std::vector<std::unique_ptr<TNetADialogs>> netADialogs_;
    std::unique_ptr<TXoverShowDiagrams> showDiagrams_;
    std::unique_ptr<TXoverPrintDiagrams> printDiagrams_;
    std::unique_ptr<TExportRayDialog> exportRayDialog_;

    TPlotStyles styles_;
    // Palette: thick and thin in eight colours, the dashed styles in five.
    std::array<TLineStyle, 8> thick_, thin_;
    std::array<TLineStyle, 5> dashed_, dotted_, dashDot_, dashDotDot_;
    TLineStyle surfaceOnAxis_{TColors::Red, 2, TDash::Solid};
    std::unique_ptr<TCursorDialog> cursor_;
    std::array<std::unique_ptr<TPlotLogXLinY>, kPlots> plots_;
    std::unique_ptr<TImpResponse> impulse_;
    std::unique_ptr<TSimDialog> musicDialog_; // after the window that keeps its settings
    std::unique_ptr<TDrawingWin> schematic_;
    std::vector<std::unique_ptr<TDrawingWinA>> schematicsA_;
    TMultiPlot* surface_ = nullptr; // held in plots_
    std::array<std::string, kStoreSlots> netNicknames_, driverNicknames_;
    std::unique_ptr<TSnapshot> snapshot_;
    std::unique_ptr<TSnapshotDialog> snapshotDialog_; // after the window it edits
    std::string snapshotChooserName_;

    TNetBase::TComplexRow totalImpedance_{};
    TNetBase::TRealRow totalMagnitude_{}, totalPhase_{};
    std::array<TNetBase::TComplexRow, kMaxRays> summed_{};
    std::array<TNetBase::TRealRow, kMaxRays> summedLevel_{};
    TNetBase::TRealRow summedPhase_{}, groupDelay_{};
};
