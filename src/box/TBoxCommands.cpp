// The box project's menu commands: what each runs and when it is enabled, as one table.

#include "TBoxEmbryo.h"

#include "TBoxDiagramDialogs.h"
#include "driver/TSpeakerConfigDialog.h"
#include "driver/TSpeakerUnitDialog.h"
#include "plot/TSnapshotDialog.h"
#include "room/TRoomCabinet.h"
#include "settings/TMeasSetupDialog.h"
#include "timedomain/TStepRespDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>

namespace {

enum class TEnabled {
    WithResults, // once the project has results or a file
    Always,      // unless its dialog is open
    Managed,     // switched by the project itself (DefaultSize after a calculation)
};

struct TBoxCommand {
    int id;
    TEnabled enabled;
    bool (*run)(TBoxEmbryo& box);
};

bool ExportCommand(TBoxEmbryo& box, TBoxExport kind)
{
    (void)box.Export(kind);
    return true;
}

// clang-format off
constexpr TBoxCommand kCommands[] = {
    {TCmd::Calculate,        TEnabled::WithResults, [](TBoxEmbryo& b) { b.Calculate(0); return true; }},
    {TCmd::DriverConfig,     TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenDriverConfig(); return true; }},
    {TCmd::BoxDialog,        TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenBoxDialog(); return true; }},
    {TCmd::MeasSetup,        TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenSetupDialog(); return true; }},
    {TCmd::Save,             TEnabled::WithResults, [](TBoxEmbryo& b) { (void)b.Save(); return true; }},
    {TCmd::SaveAs,           TEnabled::WithResults, [](TBoxEmbryo& b) { (void)b.SaveAs(); return true; }},
    {TCmd::PrintWindow,      TEnabled::WithResults, nullptr},
    {TCmd::CopyWindow,       TEnabled::WithResults, nullptr},
    {TCmd::UserNote,         TEnabled::WithResults, nullptr},
    {TCmd::ExportSpl,        TEnabled::WithResults, [](TBoxEmbryo& b) { return ExportCommand(b, TBoxExport::Spl); }},
    {TCmd::ExportImpedance,  TEnabled::WithResults, [](TBoxEmbryo& b) { return ExportCommand(b, TBoxExport::Impedance); }},
    {TCmd::ExportGroupDelay, TEnabled::WithResults, [](TBoxEmbryo& b) { return ExportCommand(b, TBoxExport::GroupDelay); }},
    {TCmd::ExportRoomSpl,    TEnabled::WithResults, [](TBoxEmbryo& b) { return ExportCommand(b, TBoxExport::RoomSpl); }},
    {TCmd::RoomCabinet,      TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenRoomDialog(); return true; }},
    {TCmd::ExportModesSpl,   TEnabled::WithResults, [](TBoxEmbryo& b) { return ExportCommand(b, TBoxExport::ModesSpl); }},
    {TCmd::ExportTransient,  TEnabled::WithResults, [](TBoxEmbryo& b) { return ExportCommand(b, TBoxExport::Transient); }},
    {TCmd::TransientResp,    TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenTransientDialog(); return true; }},
    {TCmd::Snapshot,         TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenSnapshotDialog(); return true; }},
    {TCmd::PrintDiagrams,    TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenPrintDiagrams(); return true; }},
    {TCmd::UnitEditor,       TEnabled::Always,      [](TBoxEmbryo& b) { b.OpenUnitEditor(); return true; }},
    {TCmd::DriverLoad,       TEnabled::Always,      [](TBoxEmbryo& b) { b.LoadFrontUnit(); return true; }},
    {TCmd::ShowDiagrams,     TEnabled::Always,      [](TBoxEmbryo& b) { b.OpenShowDiagrams(); return true; }},
    {TCmd::DefaultSize,      TEnabled::Managed,     nullptr},
    // Only the types with two driver groups (frontAndRear) offer these; their box
    // command is "&Reflex BandPass", the same dialog as "&Box".
    {TCmd::ReflexBandpassDialog, TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenBoxDialog(); return true; }},
    {TCmd::RearDriverConfig, TEnabled::WithResults, [](TBoxEmbryo& b) { b.OpenRearDriverConfig(); return true; }},
    {TCmd::RearDriverLoad,   TEnabled::Always,      [](TBoxEmbryo& b) { b.LoadRearUnit(); return true; }},
    {TCmd::RearUnitEditor,   TEnabled::Always,      [](TBoxEmbryo& b) { b.OpenRearUnitEditor(); return true; }},
};
// clang-format on

const TBoxCommand* Find(int id)
{
    for (const TBoxCommand& c : kCommands)
        if (c.id == id)
            return &c;
    return nullptr;
}

} // namespace

bool TBoxEmbryo::HandlesCommand(int id) const { return !Unsupported(id) && Find(id) != nullptr; }

bool TBoxEmbryo::HandleCommand(int id)
{
    const TBoxCommand* command = Unsupported(id) ? nullptr : Find(id);
    if (!command)
        return false;
    // Window commands go to the window the user works in.
    return command->run ? command->run(*this) : ActiveWindowCommand(id);
}

bool TBoxEmbryo::ActiveWindowCommand(int id)
{
    if (auto* plot = ActivePlot())
        return plot->HandleCommand(id);
    if (id == TCmd::UserNote) {
        // Without an active plot it is the project's note.
        EditUserNote();
        return true;
    }
    if (host_.ActiveView() == infoWin_.get()) {
        if (id == TCmd::CopyWindow)
            infoWin_->Copy();
        if (id == TCmd::PrintWindow)
            infoWin_->Print();
    }
    return true;
}

bool TBoxEmbryo::Unsupported(int id) const
{
    const bool rearGroup = id == TCmd::ReflexBandpassDialog || id == TCmd::RearDriverConfig ||
                           id == TCmd::RearDriverLoad || id == TCmd::RearUnitEditor;
    if (rearGroup && !type_.frontAndRear)
        return true;
    const std::vector<int>& removed = type_.unsupportedCommands;
    return std::find(removed.begin(), removed.end(), id) != removed.end();
}

bool TBoxEmbryo::CommandDialogOpen(int id) const
{
    // The unit editor holds both unit commands while it is open.
    if (id == TCmd::DriverLoad || id == TCmd::UnitEditor)
        return unitEditor_ && unitEditor_->IsOpen();
    if (id == TCmd::RearDriverLoad || id == TCmd::RearUnitEditor)
        return rearUnitEditor_ && rearUnitEditor_->IsOpen();
    if (id == TCmd::RoomCabinet)
        return roomCabinet_->dialogOpen;
    // Both box commands open the one box dialog, whichever of them it names.
    if ((id == TCmd::BoxDialog || id == TCmd::ReflexBandpassDialog) && boxDialog_ && boxDialog_->IsOpen())
        return true;
    const TDialogModel* dialogs[] = {boxDialog_.get(),        setupDialog_.get(),  configDialog_.get(),
                                     rearConfigDialog_.get(), showDiagrams_.get(), printDiagrams_.get(),
                                     transientDialog_.get(),  snapshotDialog_.get()};
    for (const TDialogModel* d : dialogs)
        if (d && d->IsOpen() && d->menuCommand == id)
            return true;
    return false;
}

void TBoxEmbryo::EnableUnlessOpen(int id) { host_.EnableCommand(id, !Unsupported(id) && !CommandDialogOpen(id)); }

void TBoxEmbryo::EnableProjectCommands(bool enabled)
{
    for (const TBoxCommand& c : kCommands) {
        if (c.enabled == TEnabled::Always || (c.enabled == TEnabled::WithResults && enabled))
            EnableUnlessOpen(c.id);
        else if (c.enabled == TEnabled::WithResults)
            host_.EnableCommand(c.id, false);
    }
    if (enabled)
        host_.EnableCommand(TCmd::Calculate, front_.complete);
}
