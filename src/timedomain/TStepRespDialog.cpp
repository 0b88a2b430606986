#include "timedomain/TStepRespDialog.h"

#include "timedomain/TStepResponse.h"
#include "ui/THost.h"

#include <cmath>

namespace {

// clang-format off
const TFieldInfo kFields[] = {
    {.label = "Frequency", .unit = "Hz", .format = "%2.1f", .minimum = TStepResponse::kMinBurst,
     .maximum = TStepResponse::kMaxBurst},
    {.label = "# periods", .format = "%ld", .minimum = TStepResponse::kMinPeriods,
     .maximum = TStepResponse::kMaxPeriods, .kind = TValueKind::Whole},
    {.label = "&Show input signal", .kind = TValueKind::Switch},
    {.label = "&Zoom 200%", .kind = TValueKind::Switch},
    {.label = "&Enable calculation", .kind = TValueKind::Switch},
};
// clang-format on

} // namespace

const TFieldInfo& StepRespFieldInfo(TStepRespField field) { return kFields[static_cast<int>(field)]; }

const std::vector<std::string>& TStepRespDialog::ResolutionItems()
{
    static const std::vector<std::string> items{"25 us", "50 us", "0.1 ms", "0.2 ms", "0.5 ms", "1.0 ms", "2.0 ms"};
    return items;
}

int TStepRespDialog::ResolutionIndex(double timeStep)
{
    const double usable = TStepResponse::Usable(TStepRespSettings{.timeStep = timeStep}).timeStep;
    for (std::size_t i = 0; i < TStepResponse::kTimeSteps.size(); ++i)
        if (TStepResponse::kTimeSteps[i] == usable)
            return static_cast<int>(i);
    return 0;
}

TStepRespDialog::TStepRespDialog(THost& host, TStepResponse& window, TOwner owner, int mainMenuCommand)
    : TDialogModel(host, "Transient resp.", "impresp.txt"), window_(window), owner_(std::move(owner))
{
    menuCommand = mainMenuCommand;
    menu = {SubMenu("&Preferences", {MenuCommand(kSave, "&Save"), MenuCommand(kDefault, "Set to &default")})};
    KeepPositionIn(window_.dialogX, window_.dialogY);
    TStepRespSettings& s = window_.Settings();
    const auto enabled = [this] { return Enabled(); };
    const auto burst = [this] { return Enabled() && Burst(); };

    Group("Resolution");
    AddCombo(kResolution, "Time step", ResolutionItems(), 0)
        .Bind({.read = [&s] { return static_cast<double>(ResolutionIndex(s.timeStep)); },
               .write =
                   [&s](double index) {
                       const auto i = static_cast<std::size_t>(std::lround(index));
                       if (!(index >= 0) || i >= TStepResponse::kTimeSteps.size())
                           return false;
                       s.timeStep = TStepResponse::kTimeSteps[i];
                       return true;
                   },
               .then = [this] { Changed(true); },
               .enabled = enabled});

    Group("Input signal");
    AddRadio(kKind, "Signal", {"&Impulse", "&Step", "&Tone burst"}, 0)
        .Bind({.read = [&s] { return static_cast<double>(s.kind); },
               .write =
                   [&s](double index) {
                       const long k = std::lround(index);
                       if (!(index >= 0) || k > TStepRespSettings::ToneBurst)
                           return false;
                       s.kind = static_cast<std::int16_t>(k);
                       // Only a burst shows its input, and only when asked to.
                       s.curvesShown = static_cast<std::int16_t>(k == TStepRespSettings::ToneBurst && s.showInput ? 2
                                                                                                                  : 1);
                       return true;
                   },
               .then = [this] { Changed(false); },
               .enabled = enabled});
    AddField(kFrequency, StepRespFieldInfo(TStepRespField::Frequency), BindMember(s.burstFrequency))
        .EnabledIf(burst)
        .Then([this] { Changed(false); })
        .Width(7);
    AddField(kPeriods, StepRespFieldInfo(TStepRespField::Periods), BindMember(s.periods))
        .EnabledIf(burst)
        .Then([this] { Changed(false); })
        .Width(7);
    AddField(kShowInput, StepRespFieldInfo(TStepRespField::ShowInput),
             {.read = [&s] { return s.showInput ? 1.0 : 0.0; },
              .write =
                  [&s](double on) {
                      s.showInput = on != 0;
                      s.curvesShown = static_cast<std::int16_t>(s.showInput ? 2 : 1);
                      return true;
                  },
              .then = [this] { Changed(false); },
              .enabled = burst});

    Group("", 1);
    AddField(kZoom, StepRespFieldInfo(TStepRespField::Zoom), BindMember(s.zoom))
        .Then([this] { Changed(false); })
        .EnabledIf(enabled);
    AddField(kEnable, StepRespFieldInfo(TStepRespField::Enable), BindMember(s.enabled)).Then([this] {
        if (Enabled()) {
            Changed(true);
        } else {
            if (owner_.changed)
                owner_.changed();
            window_.DataCleared();
        }
    });
    AddOk();

    onCommand = [this](int id) { Preferences(id); };
    Reload();
}

bool TStepRespDialog::Enabled() const { return window_.Settings().enabled; }

bool TStepRespDialog::Burst() const { return window_.Settings().kind == TStepRespSettings::ToneBurst; }

void TStepRespDialog::Changed(bool newSpectrum)
{
    if (owner_.changed)
        owner_.changed();
    window_.ApplySettings();
    if (!owner_.hasResults || owner_.hasResults())
        window_.Update(newSpectrum);
}

void TStepRespDialog::Preferences(int command)
{
    if (command == kSave) {
        if (!window_.SavePreferences(owner_.preferencesPath))
            Host().Message("Could not save to file 'stepresp.prf'", "Error", TMsgButtons::Ok, TMsgIcon::Error);
    } else if (command == kDefault) {
        window_.ResetToDefaults();
        Reload();
        Changed(true);
    }
}
