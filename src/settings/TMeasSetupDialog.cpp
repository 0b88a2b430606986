#include "settings/TMeasSetupDialog.h"

#include "ui/THost.h"

#include <algorithm>

namespace L = TMeasSetupLimits;

TMeasSetupDialog::TMeasSetupDialog(THost& host, TMeasSetup& setup, TRecalcRequest request,
                                   TMeasureSetupObject* owner, int mainMenuCommand)
    : TDialogModel(host, "Measurement setup", "measetup.txt"), setup_(setup), request_(std::move(request)),
      owner_(owner)
{
    menuCommand = mainMenuCommand;
    menu = {SubMenu("&Preferences", {MenuCommand(SaveCommand, "&Save"), MenuCommand(DefaultCommand, "Set to &default")})};

    Group("Frequency range");
    AddLong(StartId, "Start frequency", "Hz", "%ld", L::kMinStart, L::kMaxStop - L::kMinSpan, 20).Width(7);
    AddLong(StopId, "Stop frequency", "Hz", "%ld", L::kMinStart + L::kMinSpan, L::kMaxStop, 2000).Width(7);
    AddLong(PointsId, "Number of points", "", "%ld", L::kMinPoints, L::kMaxPoints, 50).Width(7);

    Group("Generator");
    AddDouble(LevelId, "Source level", "V", "%3.2f", L::kMinLevel, L::kMaxLevel, 2.83).Width(9);
    AddDouble(PowerId, "Watts into 8 ohm", "W", "%3.2f", L::kMinPower, L::kMaxPower, 1.0).Width(9);
    AddDouble(ResistanceId, "Source resistance", "ohm", "%3.2f", L::kMinResistance, L::kMaxResistance, 0.0)
        .Width(9);

    Group("High-pass filter", 1);
    AddLong(CutoffId, "Cutoff", "Hz", "%ld", L::kMinCutoff, L::kMaxCutoff, 0).Width(7);
    AddDouble(QId, "Q", "", "%2.1f", L::kMinQ, L::kMaxQ, 0.7).Width(7);

    Group("SPL plot", 1);
    AddCheck(AutorangeId, "", "Autorange", false);
    AddLong(RangeId, "Range", "dB", "%ld", L::kMinRange, L::kMaxRange, L::kDefaultRange).Width(7);
    AddCheck(HidePhaseId, "", "Hide phase", false);

    Group("", 1);
    AddCheck(CalcImmediatelyId, "", "Calculate immediately", true);
    AddOk();

    onLoad = [this] { Load(); };
    onFieldChanged = [this](int id) { FieldChanged(id); };
    onCommand = [this](int id) { Preferences(id); };
    onClose = [this] {
        if (owner_) {
            owner_->x = static_cast<std::int16_t>(std::clamp(position.x, -32768, 32767));
            owner_->y = static_cast<std::int16_t>(std::clamp(position.y, -32768, 32767));
        }
    };
    Load();
}

void TMeasSetupDialog::Open()
{
    if (!IsOpen()) {
        Load();
        if (owner_ && (owner_->x != 0 || owner_->y != 0))
            position = TDialogPosition{owner_->x, owner_->y};
    }
    TDialogModel::Open();
}

void TMeasSetupDialog::Load()
{
    Long(StartId).SetValue(setup_.startFrequency);
    Long(StopId).SetValue(setup_.stopFrequency);
    Long(PointsId).SetValue(setup_.pointCount);
    LinkFrequencyLimits();
    Dbl(LevelId).SetValue(setup_.sourceLevel);
    Dbl(PowerId).SetValue(setup_.sourcePower);
    ShowLevels();
    Dbl(ResistanceId).SetValue(setup_.sourceResistance);
    Dbl(ResistanceId).SetFormat(TMeasSetup::ResistanceFormat(setup_.sourceResistance));
    Long(CutoffId).SetValue(setup_.highPassCutoff);
    Dbl(QId).SetValue(setup_.highPassQ);
    SetChecked(AutorangeId, setup_.autorange);
    Long(RangeId).SetValue(setup_.splRange);
    SetEnabled(RangeId, !setup_.autorange);
    SetChecked(HidePhaseId, setup_.hidePhase);
    SetChecked(CalcImmediatelyId, setup_.calculateImmediately);
}

// Each end's limit follows the other end, so the two can never come closer than 10 Hz.
void TMeasSetupDialog::LinkFrequencyLimits()
{
    Long(StartId).SetRange(L::kMinStart, setup_.stopFrequency - L::kMinSpan);
    Long(StopId).SetRange(setup_.startFrequency + L::kMinSpan, L::kMaxStop);
}

// Both level fields pick their format again for their new values.
void TMeasSetupDialog::ShowLevels()
{
    Dbl(LevelId).SetValue(setup_.sourceLevel);
    Dbl(LevelId).SetFormat(TMeasSetup::LevelFormat(setup_.sourceLevel));
    Dbl(PowerId).SetValue(setup_.sourcePower);
    Dbl(PowerId).SetFormat(TMeasSetup::LevelFormat(setup_.sourcePower));
}

void TMeasSetupDialog::FieldChanged(int id)
{
    switch (id) {
    case StartId:
        setup_.startFrequency = Long(StartId).Value();
        LinkFrequencyLimits();
        break;
    case StopId:
        setup_.stopFrequency = Long(StopId).Value();
        LinkFrequencyLimits();
        break;
    case PointsId: setup_.pointCount = Long(PointsId).Value(); break;
    case LevelId:
        setup_.SetSourceLevel(Dbl(LevelId).Value());
        ShowLevels();
        break;
    case PowerId:
        setup_.SetSourcePower(Dbl(PowerId).Value());
        ShowLevels();
        break;
    case ResistanceId:
        setup_.sourceResistance = Dbl(ResistanceId).Value();
        Dbl(ResistanceId).SetFormat(TMeasSetup::ResistanceFormat(setup_.sourceResistance));
        break;
    case CutoffId: setup_.highPassCutoff = Long(CutoffId).Value(); break;
    case QId: setup_.highPassQ = Dbl(QId).Value(); break;
    case AutorangeId:
        setup_.SetAutorange(Checked(AutorangeId));
        Long(RangeId).SetValue(setup_.splRange);
        SetEnabled(RangeId, !setup_.autorange);
        break;
    case RangeId: setup_.splRange = Long(RangeId).Value(); break;
    case HidePhaseId: setup_.hidePhase = Checked(HidePhaseId); break;
    case CalcImmediatelyId:
        // Not a change of the measurement itself: the grid stays as it is.
        setup_.calculateImmediately = Checked(CalcImmediatelyId);
        Request(setup_.calculateImmediately ? TRecalc::Recalculate : TRecalc::MarkChanged);
        return;
    default: return;
    }
    setup_.setupChanged = true;
    Request(TRecalc::Recalculate);
}

void TMeasSetupDialog::Preferences(int command)
{
    if (command == SaveCommand) {
        if (!setup_.SavePreferences())
            Host().Message("Could not save to file 'msetup.prf'", "Error", TMsgButtons::Ok, TMsgIcon::Error);
    } else if (command == DefaultCommand) {
        setup_.LoadPreferences(true);
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
