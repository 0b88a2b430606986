#include "TBreflDorvelDialog.h"

#include "TBassReflexDorvelBox.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObject.h"
#include "box/elements/TPortObjectFields.h"
#include "box/optimize/TOptFitDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

namespace {
// The element tables' descriptions under this dialog's labels.
TFieldInfo Relabelled(TFieldInfo info, const char* label)
{
    info.label = label;
    return info;
}
} // namespace

const TFieldInfo& TBreflDorvelDialog::RearQlInfo()
{
    static const TFieldInfo info{"QL", "", "%2.1f", 0.1, 15.0};
    return info;
}

const TFieldInfo& TBreflDorvelDialog::ResistanceInfo()
{
    static const TFieldInfo info{"Ac. res.", "Ns/m^3", "%2.3e", 0.1, 1e12};
    return info;
}

TBreflDorvelDialog::TBreflDorvelDialog(THost& host, TBassReflexDorvelBox& box)
    : TDialogModel(host, "Dorvel's bassreflex box", "brefl.txt"),
      box_(box), frontPorts_{&box.FrontPort()}, rearPorts_{&box.RearPort()}
{
    menuCommand = TCmd::ReflexBandpassDialog; // this type's "&Box"
    menu = {SubMenu("&Optimize",
                    {MenuCommand(kTableLookup, "By &table lookup..."),
                     MenuCommand(kFrequencyFit, "By &frequency fit..."), MenuCommand(kQuickBox, "&Quick box")})};
    AddBoxGroup("Front box", kFrontBox, false);
    AddBoxGroup("Rear box", kRearBox, true);
    AddPortGroup("Front port", kFrontPort, false);
    AddPortGroup("Rear port / variovent", kRearPort, true);
    AddField(kRearPort + kResistance, ResistanceInfo(),
             {.read = [this] { return box_.acousticResistance; },
              .write =
                  [this](double stored) {
                      // Nothing is marked dirty: the resistance enters no load.
                      box_.acousticResistance = stored;
                      return true;
                  }});
    // One switch for both port groups.
    Group("", 1);
    AddField(kNonLinearity, Relabelled(PortFieldInfo(TPortField::NonLinearity), "&Sim. port nonlinearity"),
             {.read = [this] { return box_.FrontPort().NonLinearity() ? 1.0 : 0.0; },
              .write =
                  [this](double on) {
                      box_.FrontPort().SetNonLinearity(on != 0.0);
                      box_.FrontPort().dirty = true;
                      return true;
                  }});
    AddOk();

    afterCommit = [this] { box_.RecalcRequest(TRecalc::Recalculate); };
    onCommand = [this](int id) {
        if (id == kQuickBox)
            box_.QuickBox();
        else if (id == kFrequencyFit)
            OpenFrequencyFit(Host(), box_, *this);
        else if (id == kTableLookup)
            // The menu is shared with the other box dialogs; this type has no table.
            Host().Message("The reflex bandpass box has no alignment table.\nUse \"Quick box\" or enter the "
                           "volumes and ports.",
                           "Optimize", TMsgButtons::Ok, TMsgIcon::Information);
    };
}

void TBreflDorvelDialog::AddBoxGroup(const char* caption, int base, bool rear)
{
    Group(caption, rear ? 1 : 0);
    // A new volume or fill retunes the port group in this box at once.
    const TBoxElements elements{
        .box = [this, rear]() -> TBoxObject& { return rear ? box_.RearBox() : box_.FrontBox(); },
        .ports = [this, rear] { return std::span<TPortObject* const>(rear ? rearPorts_ : frontPorts_); },
    };
    AddField(base + kVolume, BoxFieldInfo(TBoxField::Volume), BindBoxField(elements, TBoxField::Volume));
    if (rear) {
        AddField(base + kQl, RearQlInfo(),
                 {.read = [this] { return box_.RearBox().Ql; },
                  .write =
                      [this](double stored) {
                          box_.RearBox().Ql = stored;
                          box_.RearBox().dirty = true;
                          return true;
                      }});
    } else {
        AddField(base + kQl, BoxFieldInfo(TBoxField::Ql), BindBoxField(elements, TBoxField::Ql));
    }
    AddField(base + kQb, BoxFieldInfo(TBoxField::Qb), BindBoxField(elements, TBoxField::Qb));
    AddField(base + kFill, BoxFieldInfo(TBoxField::Fill), BindBoxField(elements, TBoxField::Fill));
}

void TBreflDorvelDialog::AddPortGroup(const char* caption, int base, bool rear)
{
    Group(caption, rear ? 1 : 0);
    auto port = [this, rear]() -> TPortObject& { return rear ? box_.RearPort() : box_.FrontPort(); };
    struct {
        TPortField field;
        int offset;
        const char* label;
    } const fields[] = {{TPortField::Length, kLength, "Length"},
                        {TPortField::Diameter, kDiameter, "Diameter"},
                        {TPortField::Area, kArea, "Area"},
                        {TPortField::ResFreq, kResFreq, "Res. freq."},
                        {TPortField::Count, kCount, "Number of vents"}};
    for (const auto& f : fields)
        AddField(base + f.offset, Relabelled(PortFieldInfo(f.field), f.label), BindPortField(port, f.field, Host()));
}
