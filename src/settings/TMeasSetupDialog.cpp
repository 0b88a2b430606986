#include "settings/TMeasSetupDialog.h"

#include "settings/TMeasSetupFields.h"
#include "settings/TProgramContext.h"
#include "ui/THost.h"

namespace L = TMeasSetupLimits;
using F = TSetupField;

TMeasSetupDialog::TMeasSetupDialog(THost& host, TProgramContext& context, TRecalcRequest request,
                                   TMeasureSetupObject* owner, int mainMenuCommand)
    : TDialogModel(host, "Measurement setup", "measetup.txt"), context_(context), setup_(context.MeasSetup()),
      request_(std::move(request))
{
    menuCommand = mainMenuCommand;
    menu = {SubMenu("&Preferences", {MenuCommand(SaveCommand, "&Save"), MenuCommand(DefaultCommand, "Set to &default")})};
    if (owner)
        KeepPositionIn(owner->x, owner->y);

    const auto add = [this](int id, F field) -> TField& {
        return AddField(id, SetupFieldInfo(field), BindSetupField(setup_, field));
    };
    // The format picks itself again for every new value.
    const auto levelFormat = [](TField& f) { f.dbl.SetFormat(TMeasSetup::LevelFormat(f.dbl.Value())); };

    Group("Frequency range");
    // Each end's limit follows the other end, so the two never come closer than 10 Hz.
    add(StartId, F::Start)
        .Refresh([this](TField& f) { f.lng.SetRange(L::kMinStart, setup_.stopFrequency - L::kMinSpan); })
        .Width(7);
    add(StopId, F::Stop)
        .Refresh([this](TField& f) { f.lng.SetRange(setup_.startFrequency + L::kMinSpan, L::kMaxStop); })
        .Width(7);
    add(PointsId, F::Points).Width(7);

    Group("Generator");
    add(LevelId, F::Level).Refresh(levelFormat).Width(9);
    add(PowerId, F::Power).Refresh(levelFormat).Width(9);
    add(ResistanceId, F::Resistance)
        .Refresh([](TField& f) { f.dbl.SetFormat(TMeasSetup::ResistanceFormat(f.dbl.Value())); })
        .Width(9);

    Group("High-pass filter", 1);
    add(CutoffId, F::Cutoff).Width(7);
    add(QId, F::Q).Width(7);

    Group("SPL plot", 1);
    add(AutorangeId, F::Autorange);
    add(RangeId, F::Range).EnabledIf([this] { return !setup_.autorange; }).Width(7);
    add(HidePhaseId, F::HidePhase);

    Group("", 1);
    // Not a change of the measurement itself: the grid stays as it is.
    add(CalcImmediatelyId, F::CalcImmediately).Then([this] {
        Request(setup_.calculateImmediately ? TRecalc::Recalculate : TRecalc::MarkChanged);
    });
    AddOk();

    afterCommit = [this] {
        setup_.setupChanged = true;
        Request(TRecalc::Recalculate);
    };
    onCommand = [this](int id) { Preferences(id); };
    Reload();
}

void TMeasSetupDialog::Preferences(int command)
{
    if (command == SaveCommand) {
        if (!setup_.SavePreferences(context_.Folder()))
            Host().Message("Could not save to file 'msetup.prf'", "Error", TMsgButtons::Ok, TMsgIcon::Error);
    } else if (command == DefaultCommand) {
        setup_.LoadPreferences(context_.Folder(), true);
        Reload();
        // The factory values are a change like any other: the plots must follow them.
        Request(TRecalc::Recalculate);
    }
}

void TMeasSetupDialog::Request(TRecalc kind)
{
    if (request_)
        request_(kind);
}
