#include "TBreflDialog.h"

#include "TBassReflexBox.h"
#include "TOptBreflTableDialog.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TPortObjectFields.h"
#include "box/optimize/TOptFitDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

TBreflDialog::TBreflDialog(THost& host, TBassReflexBox& box)
    : TDialogModel(host, "Bassreflex box", "brefl.txt"), box_(box), ports_{&box.Port()}
{
    menuCommand = TCmd::BoxDialog;
    menu = {SubMenu("&Optimize",
                    {MenuCommand(kTableLookup, "By &table lookup..."),
                     MenuCommand(kFrequencyFit, "By &frequency fit..."), MenuCommand(kQuickBox, "&Quick box")})};
    // A new volume or fill retunes the port at once, so its fields follow.
    const TBoxElements elements{
        .box = [this]() -> TBoxObject& { return box_.BoxVolume(); },
        .ports = [this] { return std::span<TPortObject* const>(ports_); },
    };
    Group("Box");
    AddField(kVolume, BoxFieldInfo(TBoxField::Volume), BindBoxField(elements, TBoxField::Volume));
    AddField(kQb, BoxFieldInfo(TBoxField::Qb), BindBoxField(elements, TBoxField::Qb));
    AddField(kQl, BoxFieldInfo(TBoxField::Ql), BindBoxField(elements, TBoxField::Ql));
    AddField(kFill, BoxFieldInfo(TBoxField::Fill), BindBoxField(elements, TBoxField::Fill));
    Group("Port", 1);
    const auto port = [this]() -> TPortObject& { return box_.Port(); };
    for (TPortField field : {TPortField::Length, TPortField::Diameter, TPortField::FlareRadius, TPortField::MaxDiameter,
                             TPortField::Area, TPortField::ResFreq, TPortField::Count, TPortField::NonLinearity})
        AddField(kLength + static_cast<int>(field), PortFieldInfo(field), BindPortField(port, field, host));
    AddOk();

    afterCommit = [this] { box_.RecalcRequest(TRecalc::Recalculate); };
    onCommand = [this](int id) {
        if (id == kQuickBox) {
            box_.QuickBox();
        } else if (id == kTableLookup) {
            if (!table_)
                table_ = std::make_unique<TOptBreflTableDialog>(Host(), box_, *this);
            table_->Start();
        } else if (id == kFrequencyFit) {
            OpenFrequencyFit(Host(), box_, *this);
        }
    };
    openChildren = [this] {
        return table_ && table_->IsOpen() ? std::vector<TDialogModel*>{table_.get()} : std::vector<TDialogModel*>{};
    };
}

TBreflDialog::~TBreflDialog() = default;
