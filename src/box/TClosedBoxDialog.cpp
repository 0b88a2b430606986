#include "TClosedBoxDialog.h"

#include "TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

TClosedBoxDialog::TClosedBoxDialog(THost& host, TClosedBox& box)
    : TDialogModel(host, "Closed box", "closed.txt"), box_(box)
{
    menuCommand = TCmd::BoxDialog;
    menu = {SubMenu("&Optimize", {MenuCommand(kTableLookup, "By &table lookup..."),
                                  MenuCommand(kFrequencyFit, "By &frequency fit..."),
                                  MenuCommand(kQuickBox, "&Quick box")})};
    Group("Enclosure");
    AddDouble(kVolume, "Box volume", "l", "%2.1f", 0.1, 10000, 10);
    AddDouble(kQb, "QB", "", "%2.1f", 3, 15, 15);
    AddDouble(kQl, "QL", "", "%2.1f", 3, 15, 15);
    AddLong(kFill, "Fill", "%", "%ld", 0, 100, 0);
    AddOk();

    onLoad = [this] {
        const TBoxObject& b = box_.BoxVolume();
        Dbl(kVolume).SetValue(b.Vb * 1000.0);
        Dbl(kQb).SetValue(b.Qb);
        Dbl(kQl).SetValue(b.Ql);
        Long(kFill).SetValue(b.fill);
    };
    onFieldChanged = [this](int id) {
        TBoxObject& b = box_.BoxVolume();
        switch (id) {
        case kVolume: b.Vb = Dbl(kVolume).Value() * 0.001; break;
        case kQb: b.Qb = Dbl(kQb).Value(); break;
        case kQl: b.Ql = Dbl(kQl).Value(); break;
        case kFill: b.fill = Long(kFill).Value(); break;
        default: return;
        }
        b.dirty = true;
        box_.RecalcRequest(TRecalc::Recalculate);
    };
    onCommand = [this](int id) {
        if (id == kQuickBox)
            box_.QuickBox();
        else if (id == kTableLookup || id == kFrequencyFit)
            Host().Message("The box optimiser is not part of this version yet.\nUse \"Quick box\" or enter the volume.",
                           "Optimize", TMsgButtons::Ok, TMsgIcon::Information);
    };
    onClose = [this] {
        box_.boxDialogX = position.x;
        box_.boxDialogY = position.y;
    };
}
