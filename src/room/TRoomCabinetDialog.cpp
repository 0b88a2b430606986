#include "room/TRoomCabinetDialog.h"

#include "core/TProgramFolder.h"
#include "driver/TSpeakerConfigDialog.h"
#include "room/TAbsDialog.h"
#include "room/TRoomCabinet.h"
#include "room/TRoomFields.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

using F = TRoomField;

// The one room dialog the program has open.
TRoomCabinetDialog* gCurrent = nullptr;

constexpr int kMaxPerGroup = 9;

// The bandpass boxes 1 to 4 radiate through ports only: they have no driver cones on
// the baffle, so the cabinet edges do not apply to them.
bool HasCabinetEdges(int typeCode) { return typeCode < 5 || typeCode > 8; }

// The reflex bandpass box lists none of its elements.
constexpr int kReflexBandpass = 9;

// The list's order of the groups, whatever order a box type names them in: driver
// units, ports, radiators, front before rear ports, side before middle ports.
int ListRank(const TRoomSource& source)
{
    namespace S = TRoomSources;
    const TRoomSource* order[] = {&S::DriverUnits, &S::Port,      &S::Abr,       &S::FrontPort,
                                  &S::RearPort,    &S::SidePorts, &S::MiddlePort};
    for (int rank = 0; rank < static_cast<int>(std::size(order)); ++rank)
        if (source.group == order[rank]->group && std::string_view(source.one) == order[rank]->one)
            return rank;
    return static_cast<int>(std::size(order));
}

// The report label of a group without its layout blanks and tabs; the list names the
// side ports one by one.
std::string ListLabel(const TRoomSource& source, int index, int count)
{
    std::string_view label(source.one);
    while (!label.empty() && (label.front() == ' ' || label.front() == '\t'))
        label.remove_prefix(1);
    while (!label.empty() && (label.back() == ' ' || label.back() == '\t'))
        label.remove_suffix(1);
    std::string text(label);
    if (const std::size_t plural = text.find("(s)"); plural != std::string::npos)
        text.erase(plural, 3);
    return count == 1 ? text : text + " " + std::to_string(index + 1);
}

} // namespace

TRoomCabinetDialog::TRoomCabinetDialog(THost& host, TRoomCabinet& model, const TProgramFolder& folder, int typeCode,
                                       std::function<void(TRecalc)> request)
    : TDialogModel(host, kTitle, kHelpFile), model_(model), folder_(folder), typeCode_(typeCode),
      request_(std::move(request))
{
    menuCommand = TCmd::RoomCabinet;
    menu = {SubMenu("&Preferences", {MenuCommand(kSave, "&Save"), MenuCommand(kDefault, "Set to &default")}),
            MenuCommand(kAbsorption, "&Absorbtion coeffs.")};
    TRoomSettings& s = model_.Settings();
    const auto add = [this, &s](int id, F field) -> TField& {
        return AddField(id, RoomFieldInfo(field), BindRoomField(s, field));
    };
    const auto length = [&add](int id, F field) -> TField& { return add(id, field).Width(7); };
    const auto source = [this](int id, F field) -> TField& {
        return AddField(id, RoomFieldInfo(field), BindSourceField([this] { return SelectedPosition(); }, field))
            .Width(7);
    };
    const auto computeNow = [this] {
        Request(TRecalc::ReportOnly);
        ComputeNow();
    };

    Group("Room dimensions");
    length(kRoofHeight, F::RoofHeight);
    length(kDepth, F::Depth);
    length(kRoomWidth, F::RoomWidth);
    Group("Speaker position");
    length(kSpeakerX, F::SpeakerX);
    length(kSpeakerY, F::SpeakerY);
    length(kSpeakerZ, F::SpeakerZ);
    Group("Listener position");
    length(kListenerX, F::ListenerX);
    length(kListenerY, F::ListenerY);
    length(kListenerZ, F::ListenerZ);
    Group("Front baffle dimensions");
    length(kBaffleWidth, F::BaffleWidth);
    length(kBaffleHeight, F::BaffleHeight);

    Group("Source position", 1);
    // Choosing an element is no change of the model.
    AddList(kElements, "Element", {}, -1)
        .Rows(4)
        .Bind({.read = [this] { return static_cast<double>(selected_); },
               .write =
                   [this](double index) {
                       selected_ = static_cast<int>(index);
                       return true;
                   },
               .then = [] {},
               .enabled = [this] { return !entries_.empty(); }});
    source(kSourceDX, F::SourceDX).EnabledIf([this] { return SelectedPosition() != nullptr; });
    source(kSourceDY, F::SourceDY).EnabledIf([this] { return SelectedPosition() != nullptr; });
    // A cone sits in the baffle; only ports and radiators may lie before or behind it.
    source(kSourceDZ, F::SourceDZ).EnabledIf([this] {
        return SelectedPosition() != nullptr &&
               entries_[static_cast<std::size_t>(selected_)].source.group != TRoomSettings::DriverUnits;
    });

    Group("Reflections from...", 1);
    add(kSpeakerBackWall, F::ReflectBack);
    add(kLeftSideWall, F::ReflectLeft);
    add(kRightSideWall, F::ReflectRight);
    add(kFloor, F::ReflectFloor);
    add(kCeiling, F::ReflectCeiling);
    add(kListenerBackwall, F::ReflectListenerBack);
    add(kCabinetEdges, F::CabinetEdges).EnabledIf([this] { return HasCabinetEdges(typeCode_); });
    add(kSummation, F::Summation).Width(5);

    Group("", 2);
    AddRadio(kShow, "Show", {"Impact on freq. resp", "Frequency response"}, kFrequencyResponse)
        .Bind({.read = [&s] { return static_cast<double>(s.showMode); },
               .write =
                   [this](double mode) {
                       model_.SetShowMode(mode == kImpact ? 0 : 1);
                       return true;
                   },
               .then =
                   [this] {
                       Request(TRecalc::MarkChanged);
                       ComputeNow();
                   }});
    add(kSmoothing, F::Smoothing).Then(computeNow);
    add(kNormalize, F::Normalize).Then(computeNow);

    Group("Measured SPL data", 2);
    AddText(kFileName, "Filename:").Bind({.text = [&s] { return FileNameText(s); }}).Width(30);
    AddButton(kBrowse, "&Browse");
    add(kDisable, F::Disable);
    add(kAutoLevel, F::AutoLevel);
    // Without measured data in use the offset reads "---"; the automatic offset keeps
    // it read only.
    const auto active = [&s] { return s.measLoaded && !s.measDisabled; };
    add(kLevelOffset, F::LevelOffset).Width(7).Refresh([&s, active](TField& f) {
        f.visible = active();
        f.ReadOnly(s.measAutoLevel);
    });
    AddText(kLevelOffsetNone, "Level offset", "---").Refresh([active](TField& f) { f.visible = !active(); });
    add(kTransition, F::Transition).Width(7);

    Group("", 2);
    add(kCalcImmediately, F::CalcImmediately);
    AddButton(kCalc, "&Calc").EnabledIf([this] { return calcPending_; });

    afterCommit = [this] { Change(); };
    commands_ = {
        {kCalc, [this] { ComputeNow(); }},
        {kBrowse, [this] { Browse(); }},
        {kSave, [this] { SavePreferences(); }},
        // Not a change: the spectra are rebuilt at the next calculation (or at closing).
        {kDefault,
         [this] {
             model_.ResetRoom();
             Fill();
         }},
        {kAbsorption, [this] { OpenAbsorption(); }},
    };
    onCommand = [this](int id) {
        if (const auto it = commands_.find(id); it != commands_.end()) {
            it->second();
            Reload();
        }
    };
    onClose = [this] {
        if (absorption_)
            absorption_->Close();
        if (model_.NeedsRecompute())
            ComputeNow();
        model_.dialogOpen = false;
        if (gCurrent == this)
            gCurrent = nullptr;
    };
    openChildren = [this] {
        return absorption_ && absorption_->IsOpen() ? std::vector<TDialogModel*>{absorption_.get()}
                                                    : std::vector<TDialogModel*>{};
    };
}

TRoomCabinetDialog::~TRoomCabinetDialog()
{
    model_.dialogOpen = false;
    if (gCurrent == this)
        gCurrent = nullptr;
}

TRoomCabinetDialog* TRoomCabinetDialog::Current() { return gCurrent; }

TAbsDialog* TRoomCabinetDialog::Absorption() const
{
    return absorption_ && absorption_->IsOpen() ? absorption_.get() : nullptr;
}

std::string TRoomCabinetDialog::FileNameText(const TRoomSettings& s)
{
    return TSpeakerConfigDialog::StatusText(s.measLoaded && !s.measDisabled ? s.measFileName : std::string());
}

TPosObject* TRoomCabinetDialog::SelectedPosition()
{
    if (selected_ < 0 || selected_ >= static_cast<int>(entries_.size()))
        return nullptr;
    const TEntry& e = entries_[static_cast<std::size_t>(selected_)];
    return &model_.Position(e.source, e.index);
}

void TRoomCabinetDialog::Start()
{
    if (gCurrent && gCurrent != this)
        gCurrent->Close();
    if (!IsOpen()) {
        firstFill_ = true;
        Fill();
    }
    gCurrent = this;
    model_.dialogOpen = true;
    Open();
}

void TRoomCabinetDialog::Fill()
{
    calcPending_ = false;
    RefreshElements();
}

void TRoomCabinetDialog::RefreshElements()
{
    const int keep = firstFill_ ? 0 : std::max(selected_, 0);
    firstFill_ = false;
    entries_.clear();
    std::vector<std::string> items;
    const TRoomCounts counts = model_.Counts();
    std::vector<TRoomSource> groups;
    if (typeCode_ != kReflexBandpass)
        groups.assign(model_.Sources().begin(), model_.Sources().end());
    std::stable_sort(groups.begin(), groups.end(),
                     [](const TRoomSource& a, const TRoomSource& b) { return ListRank(a) < ListRank(b); });
    for (const TRoomSource& source : groups) {
        const int n = std::clamp(source.CountIn(counts), 0, kMaxPerGroup);
        for (int k = 0; k < n; ++k) {
            entries_.push_back({source, k});
            items.push_back(ListLabel(source, k, n));
        }
    }
    selected_ = entries_.empty() ? -1 : std::min(keep, static_cast<int>(entries_.size()) - 1);
    SetItems(kElements, std::move(items), selected_);
    Reload();
}

void TRoomCabinetDialog::Request(TRecalc kind)
{
    if (request_)
        request_(kind);
}

void TRoomCabinetDialog::Change()
{
    calcPending_ = true;
    Request(TRecalc::ReportOnly);
    model_.MarkRecompute();
    if (model_.Settings().calcImmediately)
        ComputeNow();
}

void TRoomCabinetDialog::ComputeNow()
{
    model_.CalculateRoom();
    calcPending_ = false;
}

void TRoomCabinetDialog::SavePreferences()
{
    if (!model_.WriteRoom(folder_.Resolve(TRoomSettings::PreferencesFile)))
        Host().Message(kSaveError, "Error", TMsgButtons::Ok, TMsgIcon::Warning);
}

void TRoomCabinetDialog::Browse()
{
    TFileRequest request;
    request.filter = TRoomCabinet::kMeasFilter;
    request.defaultExtension = TRoomCabinet::kMeasExtension;
    request.initialName = model_.Settings().measFileName;
    std::string path;
    if (!Host().ChooseOpenFile(request, path))
        return;
    model_.ReadMeasuredFile(folder_.Strip(path));
    Change();
}

void TRoomCabinetDialog::OpenAbsorption()
{
    if (!absorption_)
        absorption_ = std::make_unique<TAbsDialog>(Host(), model_.Settings());
    absorption_->Run([this] {
        Change();
        Reload();
    });
}
