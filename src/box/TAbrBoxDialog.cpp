#include "TAbrBoxDialog.h"

#include "TAbrBox.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TAbrObjectFields.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/optimize/TOptFitDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

TAbrBoxDialog::TAbrBoxDialog(THost& host, TAbrBox& box) : TDialogModel(host, "ABR box", "abr.txt"), box_(box)
{
    menuCommand = TCmd::BoxDialog;
    menu = {SubMenu("&Optimize",
                    {MenuCommand(kTableLookup, "By &table lookup..."),
                     MenuCommand(kFrequencyFit, "By &frequency fit..."), MenuCommand(kQuickBox, "&Quick box")})};
    auto radiator = [this]() -> TAbrObject& { return box_.Radiator(); };
    // A new volume or fill retunes the radiators in it.
    const TBoxElements elements{.box = [this]() -> TBoxObject& { return box_.BoxVolume(); },
                                .radiator = [this]() -> TAbrObject* { return &box_.Radiator(); }};
    Group("Enclosure");
    AddField(kVolume, BoxFieldInfo(TBoxField::Volume), BindBoxField(elements, TBoxField::Volume));
    AddField(kQl, BoxFieldInfo(TBoxField::Ql), BindBoxField(elements, TBoxField::Ql));
    AddField(kQb, BoxFieldInfo(TBoxField::Qb), BindBoxField(elements, TBoxField::Qb));
    AddField(kFill, BoxFieldInfo(TBoxField::Fill), BindBoxField(elements, TBoxField::Fill));

    Group("ABR unit", 1);
    const struct {
        int id;
        TAbrField field;
    } radiatorFields[] = {{kVap, TAbrField::Vap},     {kSd, TAbrField::Sd},
                          {kMmp, TAbrField::Mmp},     {kFp, TAbrField::Fp},
                          {kFb, TAbrField::Fb},       {kXmax, TAbrField::Xmax},
                          {kCount, TAbrField::Count}, {kNonLinearity, TAbrField::NonLinearity}};
    for (const auto& f : radiatorFields) {
        TFieldBinding binding = BindAbrField(radiator, f.field);
        // The resonances follow the box and the suspension, which other fields and the
        // sizing rules change: they are recomputed whenever they are shown.
        if (f.field == TAbrField::Fp || f.field == TAbrField::Fb)
            binding.read = [radiator, field = f.field] {
                RefreshAbrResonances(radiator());
                return AbrFieldStored(radiator(), field);
            };
        AddField(f.id, AbrFieldInfo(f.field), std::move(binding));
    }
    AddOk();

    afterCommit = [this] { box_.RecalcRequest(TRecalc::Recalculate); };
    onCommand = [this](int id) {
        if (id == kQuickBox)
            box_.QuickBox();
        else if (id == kTableLookup)
            box_.TableLookup();
        else if (id == kFrequencyFit)
            OpenFrequencyFit(Host(), box_, *this);
    };
}
