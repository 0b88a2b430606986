#include "plot/TSnapshotDialog.h"

#include "core/TProgramFolder.h"
#include "plot/TSnapshot.h"
#include "ui/THost.h"

#include <cmath>

namespace {

TSnapshot::TSlot& Chosen(TSnapshot& w) { return w.slotData[static_cast<std::size_t>(std::clamp(w.selected, 0, 4))]; }

TFieldBinding Whole(std::int32_t& stored)
{
    return {.read = [&stored] { return static_cast<double>(stored); },
            .write =
                [&stored](double v) {
                    if (!std::isfinite(v))
                        return false;
                    stored = static_cast<std::int32_t>(std::lround(v));
                    return true;
                }};
}

} // namespace

const std::vector<std::string>& TSnapshotDialog::SlotItems()
{
    static const std::vector<std::string> items{"one", "two", "three", "four", "five"};
    return items;
}

TSnapshotDialog::TSnapshotDialog(THost& host, TSnapshot& window, TOwner owner, int mainMenuCommand)
    : TDialogModel(host, "Snapshot", "snapshot.txt"), window_(window), owner_(std::move(owner))
{
    menuCommand = mainMenuCommand;
    std::vector<TMenuItem> copies;
    for (const TSource& s : owner_.sources)
        copies.push_back(::MenuCommand(s.command, s.caption));
    menu = {SubMenu("&File", {::MenuCommand(kOpen, "&Open..."), ::MenuCommand(kSave, "&Save"),
                              ::MenuCommand(kSaveAs, "Save &as...")}),
            SubMenu("&Copy from", std::move(copies))};
    KeepPositionIn(window_.dialogX, window_.dialogY);
    TSnapshot& w = window_;

    Group("Window");
    AddString(kTitle, "Title", TSnapshot::kTextField - 1)
        .Bind({.text = [&w] { return w.SnapshotCaption(); }})
        .OnChange([this, &w](TField& f) {
            w.SetSnapshotCaption(f.str.Text());
            Changed();
        })
        .Width(30);
    AddLong(kRange, "Range", "dB", "%ld", 1, TSnapshot::kMaxRange, 30).Bind(Whole(w.range)).Then([this] { Changed(); });
    AddLong(kStart, "Start frequency", "Hz", "%ld", 1, TSnapshot::kMaxFrequency - 10, 20)
        .Bind(Whole(w.start))
        .Refresh([&w](TField& f) { f.lng.SetRange(1, std::max(1, w.stop - 10)); })
        .Then([this] { Changed(); });
    AddLong(kStop, "Stop frequency", "Hz", "%ld", 11, TSnapshot::kMaxFrequency, 20000)
        .Bind(Whole(w.stop))
        .Refresh([&w](TField& f) {
            f.lng.SetRange(std::min(w.start + 10, TSnapshot::kMaxFrequency), TSnapshot::kMaxFrequency);
        })
        .Then([this] { Changed(); });
    AddCheck(kHideNumbers, "", "Hide &numbers", false)
        .Bind({.read = [&w] { return w.hideNumbers ? 1.0 : 0.0; },
               .write =
                   [&w](double on) {
                       w.hideNumbers = on != 0;
                       return true;
                   }})
        .Then([this] { Changed(); });

    Group("Snapshot #", 1);
    AddCombo(kSlot, "&Snapshot", SlotItems(), 0)
        .Bind({.read = [&w] { return static_cast<double>(w.selected); },
               .write =
                   [&w](double v) {
                       if (!(v >= 0 && v < TSnapshot::kSlots))
                           return false;
                       w.selected = static_cast<std::int32_t>(std::lround(v));
                       return true;
                   }})
        .Then([] {});
    AddLong(kOffset, "Offset", "dB", "%ld", -40, 40, 0)
        .Bind({.read = [&w] { return static_cast<double>(Chosen(w).offset); },
               .write =
                   [&w](double v) {
                       if (!std::isfinite(v))
                           return false;
                       Chosen(w).offset = static_cast<std::int16_t>(std::lround(v));
                       return true;
                   }})
        .Then([this] { Changed(); });
    AddString(kText, "Text", TSnapshot::kTextField - 1)
        .Bind({.text = [&w] { return Chosen(w).label; }})
        .OnChange([this, &w](TField& f) {
            Chosen(w).label = TSnapshot::CutText(f.str.Text());
            Changed();
        })
        .Width(30);
    AddCheck(kHide, "", "&Hide", false)
        .Bind({.read = [&w] { return Chosen(w).visible ? 0.0 : 1.0; },
               .write =
                   [&w](double on) {
                       Chosen(w).visible = on == 0;
                       return true;
                   },
               .enabled = [&w] { return Chosen(w).hasData; }})
        .Then([this] { Changed(); });

    onCommand = [this](int id) { MenuCommand(id); };
    onClose = [this] {
        window_.Redraw();
        if (window_.dialog == this)
            window_.dialog = nullptr;
    };
    Reload();
}

TSnapshotDialog::~TSnapshotDialog()
{
    if (window_.dialog == this)
        window_.dialog = nullptr;
}

void TSnapshotDialog::Changed()
{
    window_.DataReady();
    window_.Redraw();
}

bool TSnapshotDialog::ChooseFile(bool save, std::string& name)
{
    TFileRequest request{save ? "Save snapshot" : "Open snapshot",
                         kFilter,
                         "snp",
                         owner_.fileName ? *owner_.fileName : std::string{},
                         {}};
    std::string path;
    if (!(save ? Host().ChooseSaveFile(request, path) : Host().ChooseOpenFile(request, path)))
        return false;
    name = path;
    return true;
}

bool TSnapshotDialog::SaveTo(const std::string& name, const char* failTitle)
{
    const std::string path = owner_.folder ? owner_.folder->Resolve(name) : name;
    if (!window_.SaveFile(path, owner_.version)) {
        Host().Message("Could not open file.\nCheck if device is ready\nor if the disk is full.", failTitle,
                       TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    const std::string stored = owner_.folder ? owner_.folder->Strip(path) : path;
    if (owner_.fileName)
        *owner_.fileName = stored;
    if (owner_.storedPath)
        *owner_.storedPath = stored.substr(0, 270);
    window_.SetSnapshotCaption(window_.SnapshotCaption());
    if (owner_.fileDone)
        owner_.fileDone();
    return true;
}

bool TSnapshotDialog::OpenFrom(const std::string& name)
{
    const std::string path = owner_.folder ? owner_.folder->Resolve(name) : name;
    if (!window_.LoadFile(path)) {
        Host().Message("Could not open file.\nCheck if device is ready.", "File open", TMsgButtons::Ok,
                       TMsgIcon::Warning);
        if (owner_.fileName)
            owner_.fileName->clear();
        if (owner_.storedPath)
            owner_.storedPath->clear();
        window_.Reset();
        window_.Redraw();
        Reload();
        return false;
    }
    if (owner_.fileName)
        *owner_.fileName = name;
    if (owner_.storedPath)
        *owner_.storedPath = name.substr(0, 270);
    if (owner_.fileDone)
        owner_.fileDone();
    window_.Redraw();
    Reload();
    return true;
}

bool TSnapshotDialog::CopyFrom(int command)
{
    for (const TSource& s : owner_.sources) {
        if (s.command != command)
            continue;
        if (!s.fill || !s.fill(window_, window_.selected))
            return false;
        if (owner_.copied)
            owner_.copied();
        window_.Redraw();
        Reload();
        return true;
    }
    return false;
}

void TSnapshotDialog::MenuCommand(int id)
{
    std::string name;
    switch (id) {
    case kSave:
        name = owner_.fileName ? *owner_.fileName : std::string{};
        if (name.empty() && !ChooseFile(true, name))
            return;
        SaveTo(name, "File save");
        return;
    case kSaveAs:
        if (ChooseFile(true, name))
            SaveTo(name, "File save as");
        return;
    case kOpen:
        if (ChooseFile(false, name))
            OpenFrom(name);
        return;
    default: CopyFrom(id); return;
    }
}
