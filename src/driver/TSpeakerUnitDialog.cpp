#include "TSpeakerUnitDialog.h"

#include "driver/TSpeakerObject.h"
#include "driver/TSpkCalcMissing.h"
#include "driver/TSpkCrossCalc.h"
#include "driver/TSpkEfficiency.h"
#include "driver/TSpkFields.h"
#include "driver/TSpkMessages.h"
#include "driver/TSpkUnitText.h"
#include "settings/TProgramContext.h"
#include "ui/TCanvas.h"
#include "ui/THost.h"
#include "ui/TInfoDialog.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// The parameter fields split into the editor's three sections (indices into SpkFields()).
constexpr int kSmallSignalEnd = 9; // Re .. Mms
constexpr int kMotorEnd = 14;      // Cms .. Bl; then the large-signal limits

// The Filename line keeps the dialog's width: longer names show their end.
constexpr std::size_t kShownNameChars = 30;

std::string Bounded(const char* text, std::size_t size) { return std::string(text, strnlen(text, size)); }

std::string ShownFileName(const std::string& name)
{
    if (name.size() <= kShownNameChars)
        return name;
    std::size_t from = name.size() - (kShownNameChars - 3);
    // Never start inside a UTF-8 sequence.
    while (from < name.size() && (static_cast<unsigned char>(name[from]) & 0xC0) == 0x80)
        ++from;
    return "..." + name.substr(from);
}

// The unit stands right after the value ("--" has none): read-only texts have no
// unit column of their own beside the wide text fields.
std::string WithUnit(const std::string& value, const char* unit)
{
    return value == "--" ? value : value + " " + unit;
}

// ---------------------------------------------------------------- printed page

constexpr int kPageSize = 1200;
constexpr TRect kTextBox{100, 60, 1100, 1200};
const TFontSpec kHeadingFont{"Arial", 30, false, false};
const TFontSpec kTextFont{"Arial", 15, false, false};

bool ContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Writes the unit text line by line into a box: tabs go to stops of eight average
// characters, and a line too long for the box wraps at a space (a word longer than
// the whole line breaks where it must).
class TPageWriter {
public:
    TPageWriter(TCanvas& canvas, const TRect& box) : c_(canvas), box_(box), x_(box.left), y_(box.top)
    {
        lineHeight_ = std::max(1, c_.TextHeight());
        tab_ = std::max(1, 8 * c_.TextWidth("x"));
    }

    void Line(std::string_view line)
    {
        while (Room()) {
            std::size_t tab = line.find('\t');
            Run(line.substr(0, tab));
            if (tab == std::string_view::npos)
                break;
            line.remove_prefix(tab + 1);
            x_ = box_.left + ((x_ - box_.left) / tab_ + 1) * tab_;
            if (x_ >= box_.right)
                NewLine();
        }
        NewLine();
    }

    bool Room() const { return y_ < box_.bottom; }

private:
    void NewLine()
    {
        x_ = box_.left;
        y_ += lineHeight_;
    }

    // Byte length of the longest start of text, ending at a character, that fits into width.
    std::size_t Fitting(std::string_view text, int width) const
    {
        std::size_t fit = 0;
        for (std::size_t end = 1; end <= text.size(); ++end) {
            if (end < text.size() && ContinuationByte(text[end]))
                continue;
            if (c_.TextWidth(text.substr(0, end)) > width)
                break;
            fit = end;
        }
        return fit;
    }

    void Run(std::string_view run)
    {
        while (!run.empty() && Room()) {
            const int room = box_.right - x_;
            const int width = c_.TextWidth(run);
            if (width <= room) {
                c_.Text(x_, y_, run, TAlign::Left | TAlign::Top);
                x_ += width;
                return;
            }
            std::size_t fit = Fitting(run, room);
            std::size_t space = fit > 0 ? run.substr(0, fit + 1).find_last_of(' ') : std::string_view::npos;
            std::size_t cut = 0;
            if (space != std::string_view::npos && space > 0) {
                cut = space + 1;
            } else if (x_ > box_.left) {
                NewLine(); // the word may fit on a line of its own
                continue;
            } else {
                cut = std::max<std::size_t>(fit, 1);
                while (cut < run.size() && ContinuationByte(run[cut]))
                    ++cut;
            }
            std::string_view part = run.substr(0, cut);
            while (!part.empty() && part.back() == ' ')
                part.remove_suffix(1);
            c_.Text(x_, y_, part, TAlign::Left | TAlign::Top);
            NewLine();
            run.remove_prefix(cut);
        }
    }

    TCanvas& c_;
    TRect box_;
    int x_, y_;
    int lineHeight_ = 15;
    int tab_ = 60;
};

} // namespace

TSpeakerUnitDialog::TSpeakerUnitDialog(THost& host, TSpeakerObject& unit, TOwner owner)
    : TDialogModel(host, kTitle, kHelpFile), unit_(unit), owner_(std::move(owner))
{
    menu = {SubMenu("&File", {MenuCommand(kNew, "&New"), MenuCommand(kOpen, "&Open..."), MenuCommand(kSave, "&Save"),
                              MenuCommand(kSaveAs, "Save &as..."), MenuSeparator(),
                              MenuCommand(kPrint, "&Print data..."), MenuCommand(kCopy, "&Copy data")}),
            SubMenu("&Edit", {MenuCommand(kUserNote, "&User note..."),
                              MenuCommand(kCalcMissing, "&Calc. missing fields")})};

    Group("Speaker unit");
    AddString(kManufacturer, "Manufacturer", kTextLimit);
    AddString(kModel, "Model", kTextLimit);
    AddText(kFileName, "Filename");
    std::vector<std::string> types;
    for (int t = 0; t < kSpeakerTypeCount; ++t)
        types.emplace_back(SpeakerTypeChoice(t));
    AddCombo(kSpeakerType, "Speaker type", std::move(types), 0).OnChange([this](TField&) { TakeTexts(); });
    // Cross-calculation only changes how later entries are taken: the unit itself is unchanged.
    AddCheck(kCrossCalc, "", "&Crosscalc", false).Bind(BindMember(unit_.crossCalc));
    AddCheck(kDoubleVoiceCoil, "", "&Double voice coil", false).Bind(BindMember(unit_.doubleVoiceCoil)).Then([this] {
        Notify();
    });
    Field(kManufacturer).OnChange([this](TField&) { TakeTexts(); });
    Field(kModel).OnChange([this](TField&) { TakeTexts(); });

    Group("Efficiency");
    AddText(kEfficiency, "Reference efficiency", "--").Bind({.text = [this] {
        return WithUnit(EfficiencyText(unit_), "%");
    }});
    AddText(kSensitivity, "Sensitivity", "--").Bind({.text = [this] {
        return WithUnit(SensitivityText(unit_), "dB/1W/1m");
    }});

    const auto fields = SpkFields();
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        if (i == 0)
            Group("Small signal", 1);
        else if (i == kSmallSignalEnd)
            Group("Compliance and motor", 2);
        else if (i == kMotorEnd)
            Group("Large signal", 2);
        const TSpkParam param = fields[static_cast<std::size_t>(i)].param;
        // The entry goes through the unit's rules (cross-calculation, plausibility),
        // which beep and keep the old value when they refuse it.
        AddField(kFirstParam + i, fields[static_cast<std::size_t>(i)].Info(),
                 {.read = [this, param] { return unit_.Param(param); },
                  .write = [this, param](double stored) { return EnterParameter(unit_, param, stored, Host()).accepted; },
                  .then = [this] { Notify(); }});
    }

    KeepPositionIn(unit_.editorX, unit_.editorY);
    onLoad = [this] { Load(); };
    onCommand = [this](int id) { RunCommand(id); };
    canClose = [this] {
        TakeTexts();
        return AskSave(TSpkMessages::kFileChangedExit);
    };
    onClose = [this] {
        if (note_)
            note_->Close();
        if (owner_.closed)
            owner_.closed(); // the owner may destroy this dialog here
    };
    Reload();
}

TSpeakerUnitDialog::~TSpeakerUnitDialog() = default;

void TSpeakerUnitDialog::OpenAtSavedPosition()
{
    // A fresh editor: the project may have loaded another unit since the last one.
    if (!IsOpen())
        changed_ = false;
    Reload();
    Open();
}

bool TSpeakerUnitDialog::AskClose()
{
    if (!IsOpen())
        return true;
    RequestClose(); // commits the field being edited, asks, and closes unless cancelled
    return !IsOpen();
}

TInfoDialog* TSpeakerUnitDialog::NoteDialog() const { return note_ && note_->IsOpen() ? note_.get() : nullptr; }

// ---------------------------------------------------------------- fields

// The texts the editor takes itself (TakeTexts): a reload shows the unit's own again.
void TSpeakerUnitDialog::Load()
{
    SetText(kManufacturer, Bounded(unit_.manufacturer, sizeof unit_.manufacturer));
    SetText(kModel, Bounded(unit_.model, sizeof unit_.model));
    SetText(kFileName, ShownFileName(Bounded(unit_.fileName, sizeof unit_.fileName)));
    const int type = unit_.speakerType;
    SetSelected(kSpeakerType, type >= 0 && type < kSpeakerTypeCount ? type : -1);
}

void TSpeakerUnitDialog::TakeTexts()
{
    const std::string& manufacturer = Field(kManufacturer).str.Text();
    if (manufacturer != Bounded(unit_.manufacturer, sizeof unit_.manufacturer)) {
        unit_.SetManufacturer(manufacturer);
        changed_ = true;
    }
    const std::string& model = Field(kModel).str.Text();
    if (model != Bounded(unit_.model, sizeof unit_.model)) {
        unit_.SetModel(model);
        changed_ = true;
    }
    const int type = Selected(kSpeakerType);
    if (type >= 0 && type < kSpeakerTypeCount && type != unit_.speakerType) {
        unit_.speakerType = static_cast<std::int16_t>(type);
        Notify();
    }
}

void TSpeakerUnitDialog::Notify()
{
    changed_ = true;
    unit_.UpdateSquares();
    if (owner_.unitChanged)
        owner_.unitChanged();
}

// ---------------------------------------------------------------- commands

void TSpeakerUnitDialog::RunCommand(int id)
{
    switch (id) {
    case kNew: (void)NewUnit(); break;
    case kOpen: (void)OpenUnit(); break;
    case kSave: (void)SaveUnit(); break;
    case kSaveAs: (void)SaveUnitAs(); break;
    case kPrint: (void)PrintUnit(); break;
    case kCopy: (void)CopyUnit(); break;
    case kUserNote: EditUserNote(); break;
    case kCalcMissing: CalcMissing(); break;
    default: break;
    }
}

bool TSpeakerUnitDialog::AskSave(const char* question)
{
    if (!changed_)
        return true;
    switch (Host().Message(question, TSpkMessages::kEditorTitle, TMsgButtons::YesNoCancel, TMsgIcon::Question)) {
    case TMsgAnswer::Yes: return SaveUnit(); // a save that did not happen keeps the changes
    case TMsgAnswer::No: return true;
    default: return false;
    }
}

bool TSpeakerUnitDialog::NewUnit()
{
    TakeTexts();
    if (!AskSave(TSpkMessages::kFileChanged))
        return false;
    unit_.Clear();
    if (owner_.setUnitPath)
        owner_.setUnitPath("");
    Notify();
    changed_ = false;
    Reload();
    return true;
}

bool TSpeakerUnitDialog::OpenUnit()
{
    TakeTexts();
    TFileRequest request{"Open speaker unit", TSpkData::kFileFilter, TSpkData::kFileExtension,
                         owner_.unitPath ? owner_.unitPath() : std::string(), {}};
    std::string path;
    if (!Host().ChooseOpenFile(request, path))
        return false;
    if (!AskSave(TSpkMessages::kFileChanged))
        return false;
    const bool loaded = LoadUnitInEditor(unit_, path, Host());
    // After a failed load the unit is empty, as after New: a later Save must not
    // write it over the file the project named before.
    if (owner_.setUnitPath)
        owner_.setUnitPath(loaded ? path : std::string());
    Notify();
    changed_ = false;
    Reload();
    return loaded;
}

bool TSpeakerUnitDialog::SaveUnit()
{
    TakeTexts();
    const std::string stored = owner_.unitPath ? owner_.unitPath() : std::string();
    if (stored.empty())
        return SaveUnitAs();
    return WriteUnit(unit_.Context().Folder().Resolve(stored), false);
}

bool TSpeakerUnitDialog::SaveUnitAs()
{
    TakeTexts();
    TFileRequest request{"Save speaker unit as", TSpkData::kFileFilter, TSpkData::kFileExtension,
                         owner_.unitPath ? owner_.unitPath() : std::string(), {}};
    std::string path;
    if (!Host().ChooseSaveFile(request, path))
        return false;
    return WriteUnit(path, true);
}

bool TSpeakerUnitDialog::WriteUnit(const std::string& path, bool saveAs)
{
    if (!SaveUnitFromEditor(unit_, path, saveAs, Host()))
        return false; // the unit and the changed flag stay as they were
    if (owner_.setUnitPath)
        owner_.setUnitPath(path);
    Notify();
    changed_ = false;
    Reload();
    return true;
}

bool TSpeakerUnitDialog::PrintUnit()
{
    TakeTexts();
    const std::string text = SpkUnitText(unit_);
    if (Host().PrintPages(kPrintJob, 1, [&text](TCanvas& canvas, int) { PaintPage(canvas, text); }))
        return true;
    Host().Message(kPrintFailed, kPrintFailedTitle, TMsgButtons::Ok, TMsgIcon::Warning);
    return false;
}

bool TSpeakerUnitDialog::CopyUnit()
{
    TakeTexts();
    if (Host().SetClipboardText(SpkUnitText(unit_)))
        return true;
    Host().Message(kCopyFailed, kCopyFailedTitle, TMsgButtons::Ok, TMsgIcon::Warning);
    return false;
}

void TSpeakerUnitDialog::EditUserNote()
{
    TakeTexts();
    if (!note_)
        note_ = std::make_unique<TInfoDialog>(Host());
    if (note_->IsOpen()) {
        Host().ShowDialog(*note_); // raises it
        return;
    }
    note_->Open(Bounded(unit_.userNote, sizeof unit_.userNote), [this](const std::string& text, bool modified) {
        if (!modified)
            return;
        unit_.SetUserNote(text);
        changed_ = true;
    });
}

void TSpeakerUnitDialog::CalcMissing()
{
    // The menu cannot grey the command out, so it is refused while cross-calculating.
    if (unit_.crossCalc) {
        Host().Beep();
        return;
    }
    TakeTexts();
    CalcMissingFields(unit_);
    Notify();
    Reload();
}

// ---------------------------------------------------------------- printing

void TSpeakerUnitDialog::PaintPage(TCanvas& canvas, const std::string& unitText)
{
    canvas.MapOntoDevice(kPageSize, kPageSize);
    canvas.SetTextColor(TColors::Black);
    canvas.SetFont(kHeadingFont);
    // Standing on the top of the text box, so a long first line never runs into it.
    canvas.Text(kPageSize / 2, kTextBox.top, kPrintHeading, TAlign::Center | TAlign::Bottom);
    canvas.SetFont(kTextFont);
    canvas.SetClip(kTextBox);
    TPageWriter writer(canvas, kTextBox);
    std::string_view rest = unitText;
    while (!rest.empty() && writer.Room()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        writer.Line(line);
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    canvas.ClearClip();
}

int TSpeakerUnitDialog::FieldIdOf(TSpkParam param)
{
    const auto fields = SpkFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].param == param)
            return kFirstParam + static_cast<int>(i);
    return 0;
}
