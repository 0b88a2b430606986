#include "TSpeakerConfigDialog.h"

#include "driver/TSpeakerObject.h"
#include "settings/TMeasSetup.h"
#include "ui/THost.h"

using namespace TSpeakerConnection;

namespace {
constexpr std::size_t kStatusChars = 43;
}

TSpeakerConfigDialog::TSpeakerConfigDialog(THost& host, TSpeakerObject& speaker, std::string title, int command,
                                           bool evenDriverCounts)
    : TDialogModel(host, std::move(title), kHelpFile), speaker_(speaker)
{
    menuCommand = command;

    Group("Driver unit");
    AddText(kManufacturer, "Manufacturer");
    AddText(kModel, "Model");
    AddText(kFileName, "Filename");

    Group("Configuration");
    if (evenDriverCounts)
        AddLong(kDrivers, "Number of drivers", "", "%d", 2, 8, 2, 2);
    else
        AddLong(kDrivers, "Number of drivers", "", "%d", TSpeakerObject::kMinDrivers, TSpeakerObject::kMaxDrivers, 1);
    AddDouble(kExtraMass, "Extra mass", "g", "%3.1f", 0.0, TSpeakerObject::kMaxExtraMass * 1000.0, 0.0);
    AddButton(kConnection, "&Electrical connection");
    AddCheck(kIsobaric, "Isobarik:", "&Yes", false);
    AddRadio(kIsobaricChoice, "", {"&Series", "&Parallell", "S&ep. sources"}, -1);

    Group("Double voice coil", 1);
    AddRadio(kDvcChoice, "", {"Series", "Parallell", "Sep. sources", "Load resistor"}, -1);
    AddDouble(kLoadResistor, "", "ohm", "%3.1f", 0.0, TSpeakerObject::kMaxLoadResistor, 0.0);

    Group("Nonlinearities", 1);
    AddCheck(kBlNonLinear, "", "&BL nonlinearity", false);
    AddCheck(kCmsNonLinear, "", "&Cms nonlinearity", false);
    AddCheck(kCoilHeating, "", "&Voice coil heating", false);

    Group("Imported SPL data", 2);
    AddButton(kBrowse, "&Browse");
    AddText(kStatus, "", kNotInUse);
    AddDouble(kLevelOffset, "Level offset", "dB", "%2.1f", -200.0, 200.0, 0.0);
    AddText(kLevelOffsetNone, "Level offset", kNoLevel);
    AddCheck(kAutoLevel, "", "&Automatic level offset", true);
    AddLong(kTransition, "Transition freq.", "Hz", "%d", 1, 20000, 300);
    AddDouble(kPhaseLag, "Phase lag cutoff", "Hz", "%3.0f", 0.0, 100000.0, 100000.0);
    AddCheck(kDisable, "", "&Disable", false);
    AddOk();

    onLoad = [this] { Load(); };
    onFieldChanged = [this](int id) { Changed(id); };
    onCommand = [this](int id) {
        if (id == kConnection)
            OpenConnectionList();
        else if (id == kBrowse)
            Browse();
    };
    onClose = [this] {
        speaker_.dialogX = static_cast<std::int16_t>(position.x);
        speaker_.dialogY = static_cast<std::int16_t>(position.y);
        if (connection_)
            connection_->Close();
        if (onClosed)
            onClosed(); // the owner may destroy this dialog here
    };
    Load();
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
    TDialogPosition saved{speaker_.dialogX, speaker_.dialogY};
    if (saved.Placed())
        position = saved;
    Reload();
    Open();
}

void TSpeakerConfigDialog::Load()
{
    const TSpeakerObject& s = speaker_;
    SetText(kManufacturer, s.manufacturer);
    SetText(kModel, s.model);
    SetText(kFileName, s.fileName);
    Long(kDrivers).SetValue(s.numberOfDrivers);
    Dbl(kExtraMass).SetValue(s.extraMass * 1000.0);
    SetChecked(kIsobaric, s.isobaric);
    SetSelected(kIsobaricChoice, s.isobaric ? s.isobaricConnection : -1);
    SetSelected(kDvcChoice, s.HasDoubleVoiceCoil() ? s.dvcConnection : -1);
    Dbl(kLoadResistor).SetValue(s.loadResistor);
    // Without Xmax (or Pmax) the effect cannot be simulated; the box shows it off.
    SetChecked(kBlNonLinear, s.IsDefined(s.Xmax) && s.blNonLinear);
    SetChecked(kCmsNonLinear, s.IsDefined(s.Xmax) && s.cmsNonLinear);
    SetChecked(kCoilHeating, s.IsDefined(s.Pmax) && s.coilHeating);
    SetText(kStatus, StatusText(s.importDisabled ? std::string() : s.importFileName));
    Dbl(kLevelOffset).SetValue(s.levelOffset);
    SetChecked(kAutoLevel, s.autoLevelOffset);
    Long(kTransition).SetValue(s.transitionFrequency);
    Dbl(kPhaseLag).SetValue(s.phaseLagCutoff);
    SetChecked(kDisable, s.importDisabled);
    UpdateEnables();
}

void TSpeakerConfigDialog::UpdateEnables()
{
    const TSpeakerObject& s = speaker_;
    SetEnabled(kConnection, s.numberOfDrivers > 1);
    SetEnabled(kIsobaricChoice, s.isobaric);
    SetEnabled(kDvcChoice, s.HasDoubleVoiceCoil());
    SetEnabled(kLoadResistor, s.HasLoadResistor());
    SetEnabled(kBlNonLinear, s.IsDefined(s.Xmax));
    SetEnabled(kCmsNonLinear, s.IsDefined(s.Xmax));
    SetEnabled(kCoilHeating, s.IsDefined(s.Pmax));
    const bool level = s.ImportActive();
    SetVisible(kLevelOffset, level);
    SetVisible(kLevelOffsetNone, !level);
    Field(kLevelOffset).ReadOnly(s.autoLevelOffset);
}

void TSpeakerConfigDialog::Recalculate()
{
    if (onRecalculate)
        onRecalculate(TRecalc::Recalculate);
}

void TSpeakerConfigDialog::Changed(int id)
{
    TSpeakerObject& s = speaker_;
    switch (id) {
    case kDrivers:
        s.SetNumberOfDrivers(Long(kDrivers).Value());
        s.outOfDate = true;
        break;
    case kExtraMass:
        s.extraMass = Dbl(kExtraMass).Value() * 0.001;
        s.outOfDate = true;
        break;
    case kIsobaric:
        s.SetIsobaric(Checked(kIsobaric));
        SetSelected(kIsobaricChoice, s.isobaric ? s.isobaricConnection : -1);
        s.outOfDate = true;
        break;
    case kIsobaricChoice:
        s.SetIsobaricConnection(Selected(kIsobaricChoice));
        s.outOfDate = true;
        break;
    case kDvcChoice:
        s.SetDvcConnection(Selected(kDvcChoice));
        s.outOfDate = true;
        break;
    case kLoadResistor: s.loadResistor = Dbl(kLoadResistor).Value(); break;
    case kBlNonLinear:
        s.blNonLinear = Checked(kBlNonLinear);
        s.outOfDate = true;
        break;
    case kCmsNonLinear:
        s.cmsNonLinear = Checked(kCmsNonLinear);
        s.outOfDate = true;
        break;
    case kCoilHeating:
        s.coilHeating = Checked(kCoilHeating);
        s.outOfDate = true;
        break;
    case kLevelOffset: s.SetLevelOffset(Dbl(kLevelOffset).Value()); break;
    case kAutoLevel: s.autoLevelOffset = Checked(kAutoLevel); break;
    case kTransition: s.transitionFrequency = static_cast<std::int16_t>(Long(kTransition).Value()); break;
    case kPhaseLag: s.phaseLagCutoff = Dbl(kPhaseLag).Value(); break;
    case kDisable:
        s.importDisabled = Checked(kDisable);
        SetText(kStatus, StatusText(s.importDisabled ? std::string() : s.importFileName));
        break;
    default: return;
    }
    UpdateEnables();
    Recalculate();
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
    speaker_.ReadImportedData(CurrentMeasSetup().grid);
    SetText(kStatus, StatusText(speaker_.importDisabled ? std::string() : speaker_.importFileName));
    UpdateEnables();
    Host().RefreshDialog(*this);
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
