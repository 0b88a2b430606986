// The filter project's menu commands, its exports and its diagram pages.

#include "filter/TXover.h"

#include "filter/TDriverDialog.h"
#include "filter/TNetDialog.h"
#include "filter/TXoverDialogs.h"
#include "measdata/TCurveExport.h"
#include "plot/TPrintDate.h"
#include "plot/TSnapshotDialog.h"
#include "timedomain/TSimDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <filesystem>

namespace {
constexpr const char* kResponseFilter =
    "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm";
constexpr const char* kImpedanceFilter =
    "LAUD impedance (*.zma)|*.zma|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm";
constexpr double kDegreesPerRadian = 57.29577951308232;

// Section export commands: SPL, filter gain, input impedance, group delay; each for
// the bass, mid and treble network in that order.
constexpr int kSectionCommands[4][3] = {
    {12024, 12023, 12022}, {12034, 12033, 12032}, {12014, 12013, 12012}, {12004, 12003, 12002}};
constexpr int kNetworkCommands[3] = {12101, 12102, 12103};
constexpr int kDriverCommands[3] = {13000, 13002, 13001};
constexpr int kTotalSpl = 12021, kTotalImpedance = 12011, kTotalGroupDelay = 12001, kTotalImpulse = 12025;
// Advanced projects: Net 1 .. Net 4 follow each first id.
constexpr int kNetADialog = 13021, kDriverSetDialog = 13011;
// The net exports in the order of TSectionCurve: SPL, filter gain, impedance, delay.
constexpr int kNetAExports[4] = {13031, 13041, 13051, 13061};
// Store slots 1-4 follow each first id.
constexpr int kStoreNets = 11891, kRecallNets = 11865, kStoreDrivers = 11881, kRecallDrivers = 11885;

// The slot of a command in a run of four from first, or -1.
int SlotOf(int id, int first) { return id >= first && id < first + 4 ? id - first : -1; }

// The totals complain with a warning sign, a network's section export without one.
bool WriteOrComplain(THost& host, const std::string& path, const TExportCurve& curve,
                     TMsgIcon icon = TMsgIcon::Warning)
{
    auto format = ExportFormatOf(path);
    if (!format || *format == TExportFormat::Csv) {
        host.Message("No valid export format selected", "Export error", TMsgButtons::Ok, icon);
        return false;
    }
    if (!WriteCurveFile(path, *format, curve)) {
        host.Message("Could not open file.\nCheck if device is ready\nor if the disk is full.", "Export error",
                     TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    return true;
}
} // namespace

bool TXover::HandlesCommand(int id) const
{
    if (const TSchematicWin* schematic = ActiveSchematic(); schematic != nullptr && schematic->HandlesCommand(id))
        return true;
    if (id == TCmd::Save || id == TCmd::SaveAs || id == TCmd::PrintDiagrams || id == TCmd::ShowDiagrams ||
        id == TCmd::Snapshot || id == kTotalSpl || id == kTotalImpedance || id == kTotalGroupDelay ||
        id == kTotalImpulse || id == TSimDialog::kCommand)
        return true;
    if (Advanced()) {
        for (int first : {kNetADialog, kDriverSetDialog, kNetAExports[0], kNetAExports[1], kNetAExports[2],
                          kNetAExports[3]})
            if (const int net = SlotOf(id, first); net >= 0)
                return net < Ways();
        if (SlotOf(id, kStoreNets) >= 0 || SlotOf(id, kRecallNets) >= 0 || SlotOf(id, kStoreDrivers) >= 0)
            return true;
        // A driver set is recalled only once it was stored.
        if (const int slot = SlotOf(id, kRecallDrivers); slot >= 0)
            return NetA(0).DriverSetStored(slot);
        return false;
    }
    for (const TNet* net : Networks()) {
        const int i = net->Index();
        if (id == kNetworkCommands[i] || id == kDriverCommands[i])
            return true;
        for (const auto& row : kSectionCommands)
            if (id == row[i])
                return true;
    }
    return false;
}

bool TXover::HandleCommand(int id)
{
    if (TSchematicWin* schematic = ActiveSchematic(); schematic != nullptr && schematic->HandlesCommand(id))
        return schematic->HandleCommand(id);
    switch (id) {
    case TCmd::Save: (void)Save(); return true;
    case TCmd::SaveAs: (void)SaveAs(); return true;
    case TCmd::PrintDiagrams: OpenPrintDiagrams(); return true;
    case TCmd::ShowDiagrams: OpenShowDiagrams(); return true;
    case TCmd::Snapshot: OpenSnapshotDialog(); return true;
    case kTotalSpl: (void)ExportTotal(TXoverExport::Spl); return true;
    case kTotalImpedance: (void)ExportTotal(TXoverExport::Impedance); return true;
    case kTotalGroupDelay: (void)ExportTotal(TXoverExport::GroupDelay); return true;
    case kTotalImpulse: (void)ExportTotal(TXoverExport::Impulse); return true;
    case TSimDialog::kCommand: (void)OpenMusicDialog(); return true;
    default: break;
    }
    if (Advanced())
        return HandleAdvancedCommand(id);
    for (TNet* net : Networks()) {
        const int i = net->Index();
        if (id == kNetworkCommands[i]) {
            net->OpenNetDialog();
            return true;
        }
        if (id == kDriverCommands[i]) {
            net->OpenDriverDialog();
            return true;
        }
        for (int what = 0; what < 4; ++what)
            if (id == kSectionCommands[what][i]) {
                (void)ExportSection(i, static_cast<TSectionCurve>(what));
                return true;
            }
    }
    return false;
}

bool TXover::HandleAdvancedCommand(int id)
{
    if (!HandlesCommand(id))
        return false;
    if (const int net = SlotOf(id, kNetADialog); net >= 0)
        OpenNetADialog(net);
    else if (const int n = SlotOf(id, kDriverSetDialog); n >= 0)
        OpenDriverSetDialog(n);
    else if (const int slot = SlotOf(id, kStoreNets); slot >= 0)
        StoreNetSet(slot);
    else if (const int s1 = SlotOf(id, kRecallNets); s1 >= 0)
        RecallNetSet(s1);
    else if (const int s2 = SlotOf(id, kStoreDrivers); s2 >= 0)
        StoreDriverSet(s2);
    else if (const int s3 = SlotOf(id, kRecallDrivers); s3 >= 0)
        RecallDriverSet(s3);
    else
        for (int what = 0; what < 4; ++what)
            if (const int e = SlotOf(id, kNetAExports[what]); e >= 0)
                (void)ExportSection(e, static_cast<TSectionCurve>(what));
    return true;
}

void TXover::OpenNetADialog(int net) { NetADialogs(net).OpenNetDialog(); }

void TXover::OpenDriverSetDialog(int net) { NetADialogs(net).OpenDriverDialog(); }

std::string TXover::SlotLabel(int slot, const std::string& nickname)
{
    std::string label = "&" + std::to_string(slot + 1);
    if (!nickname.empty())
        label += " " + nickname;
    return label;
}

void TXover::LabelSlots()
{
    if (!Advanced())
        return;
    for (int slot = 0; slot < kStoreSlots; ++slot) {
        const std::string nets = SlotLabel(slot, NetSetNickname(slot));
        host_.SetCommandText(kStoreNets + slot, nets);
        host_.SetCommandText(kRecallNets + slot, nets);
        const std::string drivers = SlotLabel(slot, DriverSetNickname(slot));
        host_.SetCommandText(kStoreDrivers + slot, drivers);
        // Only a slot that holds a driver set can be recalled.
        const bool stored = NetA(0).DriverSetStored(slot);
        host_.SetCommandText(kRecallDrivers + slot, stored ? drivers : SlotLabel(slot, {}));
        host_.EnableCommand(kRecallDrivers + slot, stored);
    }
}

bool TXover::AskNickname(std::string& nickname)
{
    nickname.clear();
    return host_.InputText("Nickname", "Enter a nickname here", nickname, kNicknameInput - 1);
}

void TXover::StoreNetSet(int slot)
{
    if (!Advanced() || slot < 0 || slot >= kStoreSlots)
        return;
    std::string nickname;
    if (!AskNickname(nickname))
        return;
    netNicknames_[static_cast<std::size_t>(slot)] = nickname;
    for (TNetA* net : AdvancedNets())
        net->StoreNetSet(slot);
    LabelSlots();
    changed_ = true;
}

void TXover::RecallNetSet(int slot)
{
    if (!Advanced() || slot < 0 || slot >= kStoreSlots)
        return;
    for (TNetA* net : AdvancedNets())
        net->RecallNetSet(slot);
    MarkAllDirty();
    Recalculate();
    RefreshDialogs();
    changed_ = true;
}

void TXover::StoreDriverSet(int slot)
{
    if (!Advanced() || slot < 0 || slot >= kStoreSlots)
        return;
    std::string nickname;
    if (!AskNickname(nickname))
        return;
    driverNicknames_[static_cast<std::size_t>(slot)] = nickname;
    for (TNetA* net : AdvancedNets())
        net->StoreDriverSet(slot);
    LabelSlots();
    changed_ = true;
}

void TXover::RecallDriverSet(int slot)
{
    if (!Advanced() || slot < 0 || slot >= kStoreSlots || !NetA(0).DriverSetStored(slot))
        return;
    for (TNetA* net : AdvancedNets())
        (void)net->RecallDriverSet(slot);
    MarkAllDirty();
    Recalculate();
    RefreshDialogs();
    changed_ = true;
}

bool TXover::ExportTotalTo(TXoverExport what, const std::string& path, int rayIndex)
{
    const TGeneral& g = context_.General();
    TExportCurve curve;
    curve.count = kPoints;
    curve.x = Frequencies();
    TNetBase::TRealRow phase{};
    switch (what) {
    case TXoverExport::Spl: {
        const int ray = rayIndex < 0 ? g.OnAxisIndex() : std::clamp(rayIndex, 0, g.SurfaceRayCount() - 1);
        exportRay = static_cast<std::int16_t>(ray);
        const auto& row = Summed(ray);
        for (int p = 0; p < kPoints; ++p)
            phase[static_cast<std::size_t>(p)] = PhaseOf(row[static_cast<std::size_t>(p)]) * kDegreesPerRadian;
        curve.kind = TCurveKind::Spl;
        curve.y = SummedLevel(ray).data();
        curve.phase = phase.data();
        break;
    }
    case TXoverExport::Impedance:
        curve.kind = TCurveKind::Impedance;
        curve.y = totalMagnitude_.data();
        curve.phase = totalPhase_.data();
        break;
    case TXoverExport::GroupDelay:
        curve.kind = TCurveKind::GroupDelay;
        curve.y = groupDelay_.data();
        break;
    case TXoverExport::Impulse:
        // The shown half, titled with the window's caption.
        curve.kind = TCurveKind::TimeResponse;
        curve.caption = impulse_->Caption();
        curve.count = impulse_->PointCount();
        curve.x = impulse_->Times();
        curve.y = impulse_->Samples();
        break;
    }
    return WriteOrComplain(host_, path, curve);
}

bool TXover::ExportSectionTo(int index, TSectionCurve what, const std::string& path)
{
    TExportCurve curve;
    curve.count = kPoints;
    curve.x = Frequencies();
    TNetBase::TRealRow phase{};
    const TNetBase* base = nullptr;
    int onAxisRay = 0;
    if (Advanced()) {
        const TNetA& net = NetA(index);
        base = &net;
        onAxisRay = net.OnAxisRay();
        if (what == TSectionCurve::Gain) {
            // The gain of the first driver, as the net's gain plot shows it.
            for (int p = 0; p < kPoints; ++p) {
                const auto s = static_cast<std::size_t>(p);
                phase[s] = PhaseOf(net.Transfer()[s] * net.Divider(0)[s]) * kDegreesPerRadian;
            }
            curve.kind = TCurveKind::FilterGain;
            curve.y = net.DriverGain(0).data();
            curve.phase = phase.data();
            return WriteOrComplain(host_, path, curve, TMsgIcon::None);
        }
    } else {
        const TNet& net = Net(std::clamp(index, 0, 2));
        base = &net;
        onAxisRay = net.OnAxisRay();
        if (what == TSectionCurve::Gain) {
            for (int p = 0; p < kPoints; ++p)
                phase[static_cast<std::size_t>(p)] =
                    PhaseOf(net.Transfer()[static_cast<std::size_t>(p)]) * kDegreesPerRadian;
            curve.kind = TCurveKind::FilterGain;
            curve.y = net.FilterGain().data();
            curve.phase = phase.data();
            return WriteOrComplain(host_, path, curve, TMsgIcon::None);
        }
    }
    switch (what) {
    case TSectionCurve::Spl:
        curve.kind = TCurveKind::Spl;
        curve.y = base->Level(onAxisRay).data();
        curve.phase = base->OnAxisPhase().data();
        break;
    case TSectionCurve::Impedance:
        curve.kind = TCurveKind::Impedance;
        curve.y = base->ImpedanceMagnitude().data();
        curve.phase = base->ImpedancePhase().data();
        break;
    case TSectionCurve::GroupDelay:
    case TSectionCurve::Gain:
        curve.kind = TCurveKind::GroupDelay;
        curve.y = base->GroupDelay().data();
        break;
    }
    return WriteOrComplain(host_, path, curve, TMsgIcon::None);
}

void TXover::ExportSplForRay(int rayIndex)
{
    exportRay = static_cast<std::int16_t>(rayIndex);
    TFileRequest request{"Export", kResponseFilter, "frd", responseExportFile_, {}};
    std::string path;
    if (!host_.ChooseSaveFile(request, path))
        return;
    responseExportFile_ = path;
    (void)ExportTotalTo(TXoverExport::Spl, path, rayIndex);
}

bool TXover::ExportTotal(TXoverExport what)
{
    if (what == TXoverExport::Spl) {
        // The file is asked for once a ray is chosen; cancel ends the export.
        if (!exportRayDialog_)
            exportRayDialog_ = std::make_unique<TExportRayDialog>(host_, *this);
        exportRayDialog_->Reload();
        exportRayDialog_->Open();
        return true;
    }
    std::string path;
    return ChooseExportFile(what == TXoverExport::Impedance, path) && ExportTotalTo(what, path);
}

bool TXover::ExportSection(int net, TSectionCurve what)
{
    std::string path;
    return ChooseExportFile(what == TSectionCurve::Impedance, path) && ExportSectionTo(net, what, path);
}

bool TXover::ChooseExportFile(bool impedance, std::string& path)
{
    // Impedances and responses keep their own last file, as they have their own formats.
    std::string& file = impedance ? impedanceExportFile_ : responseExportFile_;
    TFileRequest request{"Export", impedance ? kImpedanceFilter : kResponseFilter, impedance ? "zma" : "frd", file, {}};
    if (!host_.ChooseSaveFile(request, path))
        return false;
    file = path;
    return true;
}

TDiagramPages TXover::DiagramPages()
{
    TDiagramPages pages;
    const std::vector<TPlotXYEmbryo*> windows = DiagramWindows();
    if (printList.empty()) {
        for (TPlotXYEmbryo* w : windows)
            pages.diagrams.push_back(w);
    } else {
        for (int index : printList)
            if (index >= 0 && index < static_cast<int>(windows.size()))
                pages.diagrams.push_back(windows[static_cast<std::size_t>(index)]);
    }
    pages.perPage = diagramsPerPage;
    // Only the two-way simple filter has a heading of its own.
    pages.heading = kind_ == 0 ? "2 WAY FILTER" : "3 WAY FILTER";
    if (printDate)
        pages.date = CurrentPrintDate();
    if (printProjectName && !projectFile_.empty())
        pages.fileName = std::filesystem::path(projectFile_).filename().string();
    return pages;
}

bool TXover::PrintDiagrams()
{
    TDiagramPages pages = DiagramPages();
    if (pages.PageCount() == 0)
        return false;
    return host_.PrintPages("Tonvek print job", pages.PageCount(),
                            [&pages](TCanvas& canvas, int page) { pages.PaintPage(canvas, page); });
}

std::vector<TPlotXYEmbryo*> TXover::HiddenDiagrams() const
{
    std::vector<TPlotXYEmbryo*> hidden;
    for (TPlotXYEmbryo* w : DiagramWindows())
        if (w->placement.show == TShowState::Hidden)
            hidden.push_back(w);
    return hidden;
}

void TXover::ShowDiagram(TPlotXYEmbryo& plot) { host_.ShowView(plot); }

bool TXover::AddToPrintList(int window)
{
    if (window < 0 || window >= static_cast<int>(DiagramWindows().size()))
        return false;
    if (std::find(printList.begin(), printList.end(), window) != printList.end()) {
        host_.Message("Item already selected", "", TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    if (printList.size() >= 15)
        return false;
    printList.push_back(window);
    return true;
}

bool TXover::RemoveFromPrintList(int at)
{
    if (printList.empty()) {
        host_.Message("No items left", "", TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    if (at < 0 || at >= static_cast<int>(printList.size()))
        at = static_cast<int>(printList.size()) - 1;
    printList.erase(printList.begin() + at);
    return true;
}

void TXover::OpenShowDiagrams()
{
    if (!showDiagrams_)
        showDiagrams_ = std::make_unique<TXoverShowDiagrams>(host_, *this);
    showDiagrams_->Reload();
    showDiagrams_->Open();
}

void TXover::OpenPrintDiagrams()
{
    if (!printDiagrams_)
        printDiagrams_ = std::make_unique<TXoverPrintDiagrams>(host_, *this);
    printDiagrams_->Reload();
    printDiagrams_->Open();
}

TSnapshotDialog& TXover::SnapshotDialog()
{
    if (!snapshotDialog_) {
        TSnapshotDialog::TOwner owner;
        owner.folder = &context_.Folder();
        owner.fileName = &snapshotChooserName_;
        owner.storedPath = &snapshotFile_;
        owner.version = static_cast<std::int16_t>(version_);
        owner.sources = {
            {TSnapshotDialog::kSummedResponse, "&Copy from summed freq. resp", [this](TSnapshot& w, int slot) {
                 const int onAxis = std::clamp(context_.General().OnAxisIndex(), 0, kMaxRays - 1);
                 return w.CopyInto(slot, Frequencies(), SummedLevel(onAxis).data(), kPoints);
             }}};
        owner.fileDone = [this] { changed_ = true; };
        snapshotDialog_ = std::make_unique<TSnapshotDialog>(host_, *snapshot_, std::move(owner), TCmd::Snapshot);
    }
    return *snapshotDialog_;
}

TSimDialog* TXover::OpenMusicDialog()
{
    // N is fixed for a dialog's life; a closed dialog has no run left to lose.
    if (musicDialog_ && !musicDialog_->IsOpen() &&
        musicDialog_->TransformSize() != context_.General().TransformSize())
        musicDialog_.reset();
    if (!musicDialog_)
        musicDialog_ = std::make_unique<TSimDialog>(host_, *impulse_, context_.General());
    (void)musicDialog_->Setup();
    return musicDialog_.get();
}

void TXover::OpenSnapshotDialog()
{
    host_.ShowView(*snapshot_);
    snapshot_->dialog = &SnapshotDialog();
    SnapshotDialog().Open();
}
