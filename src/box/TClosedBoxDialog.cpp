#include "TClosedBoxDialog.h"

#include "TClosedBox.h"
#include "TOptClosedTableDialog.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/optimize/TOptFitDialog.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

TClosedBoxDialog::TClosedBoxDialog(THost& host, TClosedBox& box)
    : TDialogModel(host, "Closed box", "closed.txt"), box_(box)
{
    menuCommand = TCmd::BoxDialog;
    menu = {SubMenu("&Optimize", {MenuCommand(kTableLookup, "By &table lookup..."),
                                  MenuCommand(kFrequencyFit, "By &frequency fit..."),
                                  MenuCommand(kQuickBox, "&Quick box")})};
    const TBoxElements elements{.box = [this]() -> TBoxObject& { return box_.BoxVolume(); }};
    Group("Enclosure");
    AddField(kVolume, BoxFieldInfo(TBoxField::Volume), BindBoxField(elements, TBoxField::Volume));
    AddField(kQb, BoxFieldInfo(TBoxField::Qb), BindBoxField(elements, TBoxField::Qb));
    AddField(kQl, BoxFieldInfo(TBoxField::Ql), BindBoxField(elements, TBoxField::Ql));
    AddField(kFill, BoxFieldInfo(TBoxField::Fill), BindBoxField(elements, TBoxField::Fill));
    AddOk();

    afterCommit = [this] { box_.RecalcRequest(TRecalc::Recalculate); };
    onCommand = [this](int id) {
        if (id == kQuickBox) {
            box_.QuickBox();
        } else if (id == kTableLookup) {
            if (!table_)
                table_ = std::make_unique<TOptClosedTableDialog>(Host(), box_, *this);
            table_->Start();
        } else if (id == kFrequencyFit) {
            OpenFrequencyFit(Host(), box_, *this);
        }
    };
    openChildren = [this] {
        return table_ && table_->IsOpen() ? std::vector<TDialogModel*>{table_.get()} : std::vector<TDialogModel*>{};
    };
}

TClosedBoxDialog::~TClosedBoxDialog() = default;
