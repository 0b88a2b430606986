#include "TBandpassDialog.h"

#include "TBP5Box.h"
#include "TBandpassBox.h"
#include "TOptBP5TableDialog.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObject.h"
#include "box/elements/TPortObjectFields.h"
#include "box/elements/TPortSectionFields.h"
#include "box/optimize/TOptFitDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

namespace {
TFieldInfo Relabelled(TFieldInfo info, const char* label)
{
    info.label = label;
    return info;
}

std::vector<TMenuItem> OptimizeMenu(const TBandpassBox& box)
{
    using D = TBandpassDialog;
    // Type 2 has no alignment table.
    if (box.Layout().coupledTuning)
        return {MenuCommand(D::kFrequencyFit, "&By frequency fit..."), MenuCommand(D::kQuickBox, "&Quick box")};
    return {MenuCommand(D::kTableLookup, "By &table lookup..."), MenuCommand(D::kFrequencyFit, "By &frequency fit..."),
            MenuCommand(D::kQuickBox, "&Quick box")};
}
} // namespace

TBandpassDialog::TBandpassDialog(THost& host, TBandpassBox& box)
    : TDialogModel(host, box.Layout().title, box.Layout().helpFile), box_(box)
{
    menuCommand = TCmd::BoxDialog;
    menu = {SubMenu("&Optimize", OptimizeMenu(box))};
    // The coupled tuning of type 2 is set after every change, not by the volume's rule.
    if (!box.Layout().coupledTuning)
        for (int k = 0; k < box.PortCount(); ++k)
            (&box.BoxOf(k) == &box.FirstBox() ? firstBoxPorts_ : secondBoxPorts_).push_back(&box.Port(k));
    AddBoxGroup(kFirstBox, true, 0);
    AddBoxGroup(kSecondBox, false, 1);
    AddPortGroup(kFirstPort, 0, box.PortCount() == 2 ? 0 : 1);
    if (box.PortCount() == 2)
        AddPortGroup(kSecondPort, 1, 1);
    // One switch for every port of the project.
    Group("", 1);
    AddField(kNonLinearity, Relabelled(PortFieldInfo(TPortField::NonLinearity), "&Sim. port nonlinearity"),
             {.read = [this] { return box_.Port(0).NonLinearity() ? 1.0 : 0.0; },
              .write =
                  [this](double on) {
                      box_.Port(0).SetNonLinearity(on != 0.0);
                      for (int k = 0; k < box_.PortCount(); ++k)
                          box_.Port(k).dirty = true;
                      return true;
                  }});
    AddOk();

    afterCommit = [this] {
        box_.UpdateTuning();
        box_.RecalcRequest(TRecalc::Recalculate);
    };
    onCommand = [this](int id) {
        if (id == kQuickBox) {
            box_.QuickBox();
        } else if (id == kTableLookup && box_.Layout().tableLookup) {
            box_.TableLookup();
        } else if (id == kTableLookup && box_.TypeCode() == TBP5Box::kTypeCode) {
            if (!table_)
                table_ = std::make_unique<TOptBP5TableDialog>(Host(), box_, *this);
            table_->Start();
        } else if (id == kFrequencyFit) {
            OpenFrequencyFit(Host(), box_, *this);
        }
    };
    openChildren = [this] {
        return table_ && table_->IsOpen() ? std::vector<TDialogModel*>{table_.get()} : std::vector<TDialogModel*>{};
    };
}

TBandpassDialog::~TBandpassDialog() = default;

void TBandpassDialog::AddBoxGroup(int base, bool first, int column)
{
    Group(first ? box_.Layout().firstBox : box_.Layout().secondBox, column);
    const TBoxElements elements{
        .box = [this, first]() -> TBoxObject& { return first ? box_.FirstBox() : box_.SecondBox(); },
        .ports = [this, first] { return std::span<TPortObject* const>(first ? firstBoxPorts_ : secondBoxPorts_); },
    };
    AddField(base + kVolume, Relabelled(BoxFieldInfo(TBoxField::Volume), "Box volume"),
             BindBoxField(elements, TBoxField::Volume));
    AddField(base + kQb, Relabelled(BoxFieldInfo(TBoxField::Qb), "Box Q-value"), BindBoxField(elements, TBoxField::Qb));
    AddField(base + kFill, BoxFieldInfo(TBoxField::Fill), BindBoxField(elements, TBoxField::Fill));
}

void TBandpassDialog::AddPortGroup(int base, int k, int column)
{
    Group(k == 0 ? box_.Layout().firstPort : box_.Layout().secondPort, column);
    auto port = [this, k]() -> TPortObject& { return box_.Port(k); };
    if (box_.Layout().coupledTuning) {
        // No entry solves a length: the tunings follow from the coupled system.
        AddField(base + 1 + static_cast<int>(TPortField::Length), PortFieldInfo(TPortField::Length),
                 BindPortField(port, TPortField::Length, Host()));
        for (TPortField field : {TPortField::Diameter, TPortField::Area})
            AddField(base + 1 + static_cast<int>(field), PortFieldInfo(field), BindPortSection(port, field));
        TFieldInfo tuning = PortFieldInfo(TPortField::ResFreq);
        tuning.readOnly = true;
        AddField(base + 1 + static_cast<int>(TPortField::ResFreq), tuning, {.read = [port] { return port().fp; }});
        AddField(base + 1 + static_cast<int>(TPortField::Count), PortFieldInfo(TPortField::Count),
                 BindPortField(port, TPortField::Count, Host()));
        return;
    }
    for (TPortField field : {TPortField::Length, TPortField::Diameter, TPortField::FlareRadius, TPortField::MaxDiameter,
                             TPortField::Area, TPortField::ResFreq, TPortField::Count})
        AddField(base + 1 + static_cast<int>(field), PortFieldInfo(field), BindPortField(port, field, Host()));
}
