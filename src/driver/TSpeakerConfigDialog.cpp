#include "TSpeakerConfigDialog.h"

#include "driver/TSpeakerObject.h"
#include "settings/TProgramContext.h"
#include "ui/THost.h"

#include <cmath>
#include <cstring>

using namespace TSpeakerConnection;

namespace {
constexpr std::size_t kStatusChars = 43;

// A text of the unit record, which always keeps room for its terminator.
template <std::size_t N>
std::string RecordText(const char (&text)[N])
{
    return std::string(text, strnlen(text, N));
}

// The value fields, each described once.
namespace Info {
using K = TValueKind;
constexpr TFieldInfo kDrivers{"Number of drivers", "", "%d", TSpeakerObject::kMinDrivers, TSpeakerObject::kMaxDrivers,
                              1.0, K::Whole};
constexpr TFieldInfo kDriverPairs{"Number of drivers", "", "%d", 2, 8, 1.0, K::Whole}; // in steps of 2
constexpr TFieldInfo kExtraMass{"Extra mass", "g", "%3.1f", 0.0, TSpeakerObject::kMaxExtraMass * 1000.0, 0.001};
constexpr TFieldInfo kLoadResistor{"", "ohm", "%3.1f", 0.0, TSpeakerObject::kMaxLoadResistor};
constexpr TFieldInfo kLevelOffset{"Level offset", "dB", "%2.1f", -200.0, 200.0};
constexpr TFieldInfo kTransition{"Transition freq.", "Hz", "%d", 1, 20000, 1.0, K::Whole};
constexpr TFieldInfo kPhaseLag{"Phase lag cutoff", "Hz", "%3.0f", 0.0, 100000.0};
} // namespace Info
} // namespace

TSpeakerConfigDialog::TSpeakerConfigDialog(THost& host, TSpeakerObject& speaker, std::string title, int command,
                                           bool evenDriverCounts)
    : TDialogModel(host, std::move(title), kHelpFile), speaker_(speaker)
{
    menuCommand = command;
    KeepPositionIn(speaker_.dialogX, speaker_.dialogY);
    TSpeakerObject& s = speaker_;
    // A change of the driver itself: its per-frequency data are computed again.
    const auto driver = [&s](auto set) {
        return [&s, set](double value) {
            set(value);
            s.outOfDate = true;
            return true;
        };
    };
    // Without Xmax (or Pmax) the effect cannot be simulated; the box shows it off.
    const auto effect = [&s, driver](bool& flag, const double& limit) {
        return TFieldBinding{.read = [&s, &flag, &limit] { return s.IsDefined(limit) && flag ? 1.0 : 0.0; },
                             .write = driver([&flag](double v) { flag = v != 0.0; }),
                             .enabled = [&s, &limit] { return s.IsDefined(limit); }};
    };

    Group("Driver unit");
    AddText(kManufacturer, "Manufacturer").Bind({.text = [&s] { return RecordText(s.manufacturer); }});
    AddText(kModel, "Model").Bind({.text = [&s] { return RecordText(s.model); }});
    AddText(kFileName, "Filename").Bind({.text = [&s] { return RecordText(s.fileName); }});

    Group("Configuration");
    AddField(kDrivers, evenDriverCounts ? Info::kDriverPairs : Info::kDrivers,
             {.read = [&s] { return double(s.numberOfDrivers); },
              .write = driver([&s](double v) { s.SetNumberOfDrivers(static_cast<int>(std::lround(v))); })})
        .Step(evenDriverCounts ? 2 : 1);
    AddField(kExtraMass, Info::kExtraMass,
             {.read = [&s] { return s.extraMass; }, .write = driver([&s](double v) { s.extraMass = v; })});
    AddButton(kConnection, "&Electrical connection").EnabledIf([&s] { return s.numberOfDrivers > 1; });
    AddCheck(kIsobaric, "Isobarik:", "&Yes", false)
        .Bind({.read = [&s] { return s.isobaric ? 1.0 : 0.0; },
               .write = driver([&s](double v) { s.SetIsobaric(v != 0.0); })});
    AddRadio(kIsobaricChoice, "", {"&Series", "&Parallell", "S&ep. sources"}, -1)
        .Bind({.read = [&s] { return s.isobaric ? double(s.isobaricConnection) : -1.0; },
               .write = driver([&s](double v) { s.SetIsobaricConnection(static_cast<int>(v)); }),
               .enabled = [&s] { return s.isobaric; }});

    Group("Double voice coil", 1);
    AddRadio(kDvcChoice, "", {"Series", "Parallell", "Sep. sources", "Load resistor"}, -1)
        .Bind({.read = [&s] { return s.HasDoubleVoiceCoil() ? double(s.dvcConnection) : -1.0; },
               .write = driver([&s](double v) { s.SetDvcConnection(static_cast<int>(v)); }),
               .enabled = [&s] { return s.HasDoubleVoiceCoil(); }});
    AddField(kLoadResistor, Info::kLoadResistor, BindMember(s.loadResistor))
        .EnabledIf([&s] { return s.HasLoadResistor(); });

    Group("Nonlinearities", 1);
    AddCheck(kBlNonLinear, "", "&BL nonlinearity", false).Bind(effect(s.blNonLinear, s.Xmax));
    AddCheck(kCmsNonLinear, "", "&Cms nonlinearity", false).Bind(effect(s.cmsNonLinear, s.Xmax));
    AddCheck(kCoilHeating, "", "&Voice coil heating", false).Bind(effect(s.coilHeating, s.Pmax));

    Group("Imported SPL data", 2);
    AddButton(kBrowse, "&Browse");
    AddText(kStatus, "", kNotInUse).Bind({.text = [&s] {
        return StatusText(s.importDisabled ? std::string() : s.importFileName);
    }});
    // Without imported data the offset shows "---"; under automatic offset it is read only.
    AddField(kLevelOffset, Info::kLevelOffset,
             {.read = [&s] { return s.levelOffset; },
              .write =
                  [&s](double v) {
                      s.SetLevelOffset(v);
                      return true;
                  },
              .refresh =
                  [&s](TField& f) {
                      f.visible = s.ImportActive();
                      f.ReadOnly(s.autoLevelOffset);
                  }});
    AddText(kLevelOffsetNone, "Level offset", kNoLevel).Refresh([&s](TField& f) { f.visible = !s.ImportActive(); });
    AddCheck(kAutoLevel, "", "&Automatic level offset", true).Bind(BindMember(s.autoLevelOffset));
    AddField(kTransition, Info::kTransition, BindMember(s.transitionFrequency));
    AddField(kPhaseLag, Info::kPhaseLag, BindMember(s.phaseLagCutoff));
    AddCheck(kDisable, "", "&Disable", false).Bind(BindMember(s.importDisabled));
    AddOk();

    afterCommit = [this] { Recalculate(); };
    onCommand = [this](int id) {
        if (id == kConnection)
            OpenConnectionList();
        else if (id == kBrowse)
            Browse();
    };
    onClose = [this] {
        if (connection_)
            connection_->Close();
        if (onClosed)
            onClosed(); // the owner may destroy this dialog here
    };
    Reload();
}

TSpeakerConfigDialog::~TSpeakerConfigDialog() = default;

std::string TSpeakerConfigDialog::StatusText(const std::string& name)
{
    if (name.empty())
        return kNotInUse;
    return name.size() > kStatusChars ? name.substr(name.size() - kStatusChars) : name;
}

void TSpeakerConfigDialog::OpenAtSavedPosition()
{
    Reload();
    Open();
}

void TSpeakerConfigDialog::Recalculate()
{
    if (onRecalculate)
        onRecalculate(TRecalc::Recalculate);
}

void TSpeakerConfigDialog::Browse()
{
    TFileRequest request;
    request.filter = TSpeakerObject::kImportFilter;
    request.defaultExtension = TSpeakerObject::kImportExtension;
    request.initialName = speaker_.importFileName;
    std::string path;
    if (!Host().ChooseOpenFile(request, path))
        return;
    speaker_.SetImportFileName(path);
    speaker_.ReadImportedData(speaker_.Context().MeasSetup().grid);
    Reload();
    Recalculate();
}

void TSpeakerConfigDialog::OpenConnectionList()
{
    speaker_.outOfDate = true;
    if (!connection_) {
        connection_ = std::make_unique<TSpeakerConnectionDialog>(Host(), speaker_);
        connection_->onStored = [this] { Recalculate(); };
    }
    connection_->Reload();
    connection_->Open();
}
