#include "TDoubleTunedDialog.h"

#include "TDoubleTunedBox.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObject.h"
#include "box/elements/TPortObjectFields.h"
#include "box/elements/TPortSectionFields.h"
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

TDoubleTunedDialog::TDoubleTunedDialog(THost& host, TDoubleTunedBox& box)
    : TDialogModel(host, "Double tuned bassreflex box", box.Layout().helpFile), box_(box)
{
    menuCommand = TCmd::BoxDialog;
    menu = {SubMenu("&Optimize",
                    {MenuCommand(kFrequencyFit, "&By frequency fit..."), MenuCommand(kQuickBox, "&Quick box")})};
    AddBoxGroup("Rear box", 0, kRearBox, true);
    AddPortGroup("Rear port", 0, kRearPort, true);
    AddBoxGroup("Front box", 1, kFrontBox, false);
    AddPortGroup("Front port", 1, kFrontPort, false);
    // One switch for every port of the project.
    Group("", 1);
    AddField(kNonLinearity, Relabelled(PortFieldInfo(TPortField::NonLinearity), "&Sim. port nonlinearity"),
             {.read = [this] { return box_.FrontPort().NonLinearity() ? 1.0 : 0.0; },
              .write =
                  [this](double on) {
                      box_.FrontPort().SetNonLinearity(on != 0.0);
                      box_.FrontPort().dirty = true;
                      box_.RearPort().dirty = true;
                      return true;
                  }});
    AddOk();

    // Every change shows both coupled tunings at once, then recalculates.
    afterCommit = [this] {
        box_.UpdateCoupledTuning();
        box_.RecalcRequest(TRecalc::Recalculate);
    };
    onCommand = [this](int id) {
        if (id == kQuickBox)
            box_.QuickBox();
        else if (id == kFrequencyFit)
            OpenFrequencyFit(Host(), box_, *this);
    };
}

void TDoubleTunedDialog::AddBoxGroup(const char* caption, int column, int base, bool rear)
{
    Group(caption, column);
    const TBoxElements elements{
        .box = [this, rear]() -> TBoxObject& { return rear ? box_.RearBox() : box_.FrontBox(); }};
    AddField(base + kVolume, BoxFieldInfo(TBoxField::Volume), BindBoxField(elements, TBoxField::Volume));
    AddField(base + kQb, Relabelled(BoxFieldInfo(TBoxField::Qb), "Box Q-value"), BindBoxField(elements, TBoxField::Qb));
    AddField(base + kFill, BoxFieldInfo(TBoxField::Fill), BindBoxField(elements, TBoxField::Fill));
}

void TDoubleTunedDialog::AddPortGroup(const char* caption, int column, int base, bool rear)
{
    Group(caption, column);
    auto port = [this, rear]() -> TPortObject& { return rear ? box_.RearPort() : box_.FrontPort(); };
    AddField(base + kLength, PortFieldInfo(TPortField::Length), BindPortField(port, TPortField::Length, Host()));
    AddField(base + kDiameter, Relabelled(PortFieldInfo(TPortField::Diameter), "Diameter"),
             BindPortSection(port, TPortField::Diameter));
    AddField(base + kArea, Relabelled(PortFieldInfo(TPortField::Area), "Area"),
             BindPortSection(port, TPortField::Area));
    TFieldInfo tuning = PortFieldInfo(TPortField::ResFreq);
    tuning.readOnly = true;
    AddField(base + kResFreq, tuning, {.read = [port] { return port().fp; }});
    AddField(base + kCount, PortFieldInfo(TPortField::Count), BindPortField(port, TPortField::Count, Host()));
}
