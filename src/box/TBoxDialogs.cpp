// The box project's parameter dialogs: each is made once, when first needed, and
// belongs to the project.

#include "TBoxEmbryo.h"

#include "TBoxReport.h"
#include "driver/TSpeakerConfigDialog.h"
#include "plot/TSnapshotDialog.h"
#include "room/TRoomCabinet.h"
#include "settings/TMeasSetupDialog.h"
#include "timedomain/TStepRespDialog.h"
#include "ui/TCommandIds.h"
#include "ui/TDialogModel.h"
#include "ui/THost.h"

TDialogModel* TBoxEmbryo::BoxDialogModel()
{
    if (!boxDialog_) {
        boxDialog_ = MakeBoxDialog();
        if (boxDialog_)
            boxDialog_->KeepPositionIn(boxDialogX, boxDialogY);
    }
    return boxDialog_.get();
}

TDialogModel* TBoxEmbryo::OptimiserDialog() const
{
    return optimiserDialog_ && optimiserDialog_->IsOpen() ? optimiserDialog_.get() : nullptr;
}

TDialogModel& TBoxEmbryo::OpenOptimiserDialog(std::unique_ptr<TDialogModel> dialog)
{
    if (TDialogModel* open = OptimiserDialog()) {
        open->Open(); // raises it
        return *open;
    }
    optimiserDialog_ = std::move(dialog);
    optimiserDialog_->Open();
    return *optimiserDialog_;
}

void TBoxEmbryo::OpenBoxDialog()
{
    TDialogModel& dialog = *BoxDialogModel();
    if (dialog.IsOpen()) {
        dialog.Open(); // raises it
        return;
    }
    dialog.Reload();
    dialog.Open();
}

TMeasSetupDialog& TBoxEmbryo::SetupDialog()
{
    if (!setupDialog_)
        setupDialog_ = std::make_unique<TMeasSetupDialog>(
            host_, context_, [this](TRecalc kind) { RecalcRequest(kind); }, this, TCmd::MeasSetup);
    return *setupDialog_;
}

TSpeakerConfigDialog& TBoxEmbryo::DriverConfigDialog()
{
    if (!configDialog_) {
        configDialog_ = std::make_unique<TSpeakerConfigDialog>(
            host_, front_, type_.frontAndRear ? TSpeakerConfigDialog::kFrontTitle : TSpeakerConfigDialog::kTitle,
            TCmd::DriverConfig);
        configDialog_->onRecalculate = [this](TRecalc kind) { RecalcRequest(kind); };
    }
    return *configDialog_;
}

TSpeakerConfigDialog& TBoxEmbryo::RearDriverConfigDialog()
{
    if (!rearConfigDialog_) {
        rearConfigDialog_ = std::make_unique<TSpeakerConfigDialog>(host_, rear_, TSpeakerConfigDialog::kRearTitle,
                                                                   TCmd::RearDriverConfig);
        rearConfigDialog_->onRecalculate = [this](TRecalc kind) { RecalcRequest(kind); };
    }
    return *rearConfigDialog_;
}

void TBoxEmbryo::OpenSetupDialog() { SetupDialog().Open(); }

void TBoxEmbryo::OpenDriverConfig() { DriverConfigDialog().OpenAtSavedPosition(); }

void TBoxEmbryo::OpenRearDriverConfig()
{
    if (type_.frontAndRear)
        RearDriverConfigDialog().OpenAtSavedPosition();
}

void TBoxEmbryo::RefreshDriverConfig()
{
    if (configDialog_ && configDialog_->IsOpen())
        configDialog_->Reload();
    if (rearConfigDialog_ && rearConfigDialog_->IsOpen())
        rearConfigDialog_->Reload();
}

std::vector<TDialogModel*> TBoxEmbryo::ParameterDialogs()
{
    std::vector<TDialogModel*> dialogs{BoxDialogModel(), &SetupDialog(), &DriverConfigDialog()};
    if (type_.frontAndRear)
        dialogs.push_back(&RearDriverConfigDialog());
    dialogs.push_back(&TransientDialog());
    // The room dialogs while they are open.
    for (TDialogModel* room : roomDialog_.OpenDialogs())
        dialogs.push_back(room);
    return dialogs;
}
TStepRespDialog& TBoxEmbryo::TransientDialog()
{
    if (!transientDialog_) {
        TStepRespDialog::TOwner owner{
            .changed = [this] { changed_ = true; },
            .hasResults = [this] { return front_.complete; },
            .preferencesPath = context_.Folder().Resolve(TStepRespSettings::PreferencesFile),
        };
        transientDialog_ = std::make_unique<TStepRespDialog>(host_, *transient_, std::move(owner), TCmd::TransientResp);
    }
    return *transientDialog_;
}

void TBoxEmbryo::OpenTransientDialog()
{
    // Whoever sets the response up wants to see it.
    host_.ShowView(*transient_);
    TransientDialog().Open();
}

TSnapshotDialog& TBoxEmbryo::SnapshotDialog()
{
    if (!snapshotDialog_) {
        TSnapshotDialog::TOwner owner;
        owner.folder = &context_.Folder();
        owner.fileName = &snapshotFile_.fileName;
        owner.storedPath = &snapshotPath_;
        owner.version = kFileVersion;
        const auto grid = [this](TSnapshot& w, int slot, const double* level) {
            return front_.complete && w.CopyInto(slot, Grid().Frequencies().data(), level, PointCount());
        };
        owner.sources = {
            {TSnapshotDialog::kFreeAirSpl, "&Free air SPL at 1m distance",
             [this, grid](TSnapshot& w, int slot) { return grid(w, slot, splTotal.data()); }},
            {TSnapshotDialog::kRoomSpl, "&SPL in room && cabinet",
             [this, grid](TSnapshot& w, int slot) { return grid(w, slot, roomCabinet_->Level()); }},
        };
        owner.copied = [this] {
            if (changed_)
                Calculate(0);
        };
        owner.fileDone = [this] { RecalcRequest(TRecalc::MarkChanged); };
        snapshotDialog_ = std::make_unique<TSnapshotDialog>(host_, *snapshot_, std::move(owner), TCmd::Snapshot);
    }
    return *snapshotDialog_;
}

void TBoxEmbryo::OpenSnapshotDialog()
{
    host_.ShowView(*snapshot_);
    snapshot_->dialog = &SnapshotDialog();
    SnapshotDialog().Open();
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
