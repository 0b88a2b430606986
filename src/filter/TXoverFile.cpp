// The filter project file, saving and the save question.

#include "filter/TXover.h"

#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "ui/THost.h"

#include <algorithm>

namespace {
constexpr const char* kCouldNotSave = "Could not open file.\nCheck if device is ready\nor if the disk is full.";
constexpr const char* kProjectFilter =
    "Filter project files (*.flt)|*.flt|Box project files (*.box)|*.box|All files (*.*)|*.*|";
} // namespace

void TXover::WriteFile(TBinaryWriter& out) const
{
    out.WriteInt32(typeCode_);
    out.WriteInt16(kFileVersion);
    out.WriteZeros(16);
    (void)context_.General().Write(out);
    const std::vector<TNetA*> advanced = AdvancedNets();
    if (Advanced()) {
        // Per network, from the last net down: schematic windows, then gain plots.
        for (int n = Ways() - 1; n >= 0; --n)
            SchematicA(n).WriteRecord(out);
        for (int n = Ways() - 1; n >= 0; --n)
            advanced[static_cast<std::size_t>(n)]->GainPlot().WriteWindowRecord(out);
    } else {
        schematic_->WriteRecord(out);
        Plot(TXoverPlot::Gain).WriteWindowRecord(out);
    }
    for (TXoverPlot which : {TXoverPlot::Impedance, TXoverPlot::Summed, TXoverPlot::Phase, TXoverPlot::GroupDelay})
        Plot(which).WriteWindowRecord(out);
    impulse_->WriteWindowRecord(out);
    Plot(TXoverPlot::Surface).WriteWindowRecord(out);
    Plot(TXoverPlot::Overlay).WriteWindowRecord(out);
    if (Advanced()) {
        for (int n = Ways() - 1; n >= 0; --n)
            advanced[static_cast<std::size_t>(n)]->WriteRecord(out);
        for (const std::string& name : netNicknames_)
            out.WriteText(name, kNicknameField);
        for (const std::string& name : driverNicknames_)
            out.WriteText(name, kNicknameField);
    } else {
        for (const TNet* net : Networks())
            net->WriteRecord(out);
    }
    out.WriteText(snapshotFile_, kPathSize);
    snapshot_->WriteWindowRecord(out);
    out.WriteInt16(kEndMark);
}

bool TXover::ReadFile(TBinaryReader& in)
{
    std::int32_t code = 0;
    std::int16_t version = 0;
    if (!in.ReadInt32(code) || !in.ReadInt16(version))
        return false;
    // No filter file was ever written before version 300.
    if (KindOfTypeCode(code) < 0 || KeptKind(KindOfTypeCode(code)) != kind_ || version < 300)
        return false;
    typeCode_ = code;
    if (version != kFileVersion)
        host_.Message(
            "This project file was created with an\nolder version of Tonvek.\nRemenber that project files are "
            "not\nbackwards compatible",
            "Old project file", TMsgButtons::Ok, TMsgIcon::Warning);
    version_ = version;
    if (!in.Skip(16) || !context_.General().Read(in, version))
        return false;
    const std::vector<TNetA*> advanced = AdvancedNets();
    if (Advanced()) {
        for (int n = Ways() - 1; n >= 0; --n)
            if (!SchematicA(n).ReadRecord(in))
                return false;
        for (int n = Ways() - 1; n >= 0; --n)
            if (!advanced[static_cast<std::size_t>(n)]->GainPlot().ReadWindowRecord(in))
                return false;
    } else if (!schematic_->ReadRecord(in) ||
               !Plot(TXoverPlot::Gain).ReadWindowRecord(in)) {
        return false;
    }
    // Files up to version 400 whose first network was made active have no impedance
    // window record; simple networks are never active.
    const bool impedanceRecord = version > 400 || !Advanced() || !advanced[0]->Active();
    if (impedanceRecord && !Plot(TXoverPlot::Impedance).ReadWindowRecord(in))
        return false;
    for (TXoverPlot which : {TXoverPlot::Summed, TXoverPlot::Phase, TXoverPlot::GroupDelay})
        if (!Plot(which).ReadWindowRecord(in))
            return false;
    if (!impulse_->ReadWindowRecord(in))
        return false;
    if (version > 309 &&
        (!Plot(TXoverPlot::Surface).ReadWindowRecord(in) || !Plot(TXoverPlot::Overlay).ReadWindowRecord(in)))
        return false;
    if (Advanced()) {
        for (int n = Ways() - 1; n >= 0; --n)
            if (!advanced[static_cast<std::size_t>(n)]->ReadRecord(in, version))
                return false;
    } else {
        for (TNet* net : Networks())
            if (!net->ReadRecord(in, version))
                return false;
    }
    if (version > 409) {
        if (Advanced()) {
            std::array<std::string, kStoreSlots> nets, drivers;
            for (std::string& name : nets)
                if (!in.ReadText(name, kNicknameField))
                    return false;
            for (std::string& name : drivers)
                if (!in.ReadText(name, kNicknameField))
                    return false;
            netNicknames_ = nets;
            driverNicknames_ = drivers;
            LabelSlots();
        }
        std::string snapshot;
        if (!in.ReadText(snapshot, kPathSize))
            return false;
        snapshotFile_ = snapshot;
        snapshotChooserName_ = snapshot;
        if (!snapshot_->ReadWindowRecord(in))
            return false;
        // The slots come from the file named there; without any, no name is kept.
        const bool loaded = !snapshot.empty() && snapshot_->LoadFile(context_.Folder().Resolve(snapshot));
        if (!loaded || std::none_of(snapshot_->slotData.begin(), snapshot_->slotData.end(),
                                    [](const TSnapshot::TSlot& slot) { return slot.hasData; })) {
            snapshotFile_.clear();
            snapshotChooserName_.clear();
            snapshot_->Reset();
        }
    }
    std::int16_t mark = 0;
    return in.ReadInt16(mark) && mark == kEndMark;
}

bool TXover::Load(const std::string& path)
{
    TBinaryReader in;
    if (!in.Open(path, kMaxFileBytes))
        return false;
    projectFile_ = path;
    return LoadFrom(in);
}

bool TXover::LoadFrom(TBinaryReader& in)
{
    const bool ok = ReadFile(in);
    version_ = kFileVersion;
    if (!ok)
        return false;
    MarkAllDirty();
    Recalculate();
    changed_ = false;
    return true;
}

bool TXover::SaveTo(const std::string& path)
{
    TBinaryWriter out;
    WriteFile(out);
    if (!out.SaveTo(path))
        return false;
    projectFile_ = path;
    Recalculate();
    changed_ = false;
    SetMainTitle(true);
    return true;
}

bool TXover::SaveReporting(const std::string& path, const char* title)
{
    if (SaveTo(path))
        return true;
    host_.Message(kCouldNotSave, title, TMsgButtons::Ok, TMsgIcon::Warning);
    return false;
}

bool TXover::Save()
{
    std::string path = projectFile_;
    if (path.empty()) {
        TFileRequest request{"Save project as", kProjectFilter, "box", projectFile_, {}};
        if (!host_.ChooseSaveFile(request, path))
            return false;
    }
    return SaveReporting(path, "File save");
}

bool TXover::SaveAs()
{
    TFileRequest request{"Save project as", kProjectFilter, "box", projectFile_, {}};
    std::string path;
    if (!host_.ChooseSaveFile(request, path))
        return false;
    return SaveReporting(path, "File save as");
}

bool TXover::AskSaveChanges()
{
    if (!changed_)
        return true;
    switch (host_.Message("Project has been changed.\r\nSave project ?", "Filter project", TMsgButtons::YesNoCancel,
                          TMsgIcon::Question)) {
    // A save that was cancelled or failed keeps the project: the user asked to keep it.
    case TMsgAnswer::Yes: return Save();
    case TMsgAnswer::No: return true;
    default: return false;
    }
}
