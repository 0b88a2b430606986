#include "TBaseDialog.h"

#include "THost.h"

#include <algorithm>

TBaseDialog::TBaseDialog(THost& host, std::string helpFile) : host_(host), helpFile_(std::move(helpFile)) {}

TBaseDialog::~TBaseDialog() = default;

std::int16_t TBaseDialog::FileCoordinate(int coordinate)
{
    return static_cast<std::int16_t>(std::clamp(coordinate, -32768, 32767));
}

void TBaseDialog::KeepPositionIn(std::int16_t& x, std::int16_t& y)
{
    keptX_ = &x;
    keptY_ = &y;
}

void TBaseDialog::RestorePosition()
{
    if (!keptX_)
        return;
    TDialogPosition saved{*keptX_, *keptY_};
    if (saved.Placed())
        position = saved;
}

void TBaseDialog::SavePosition()
{
    if (!keptX_)
        return;
    *keptX_ = FileCoordinate(position.x);
    *keptY_ = FileCoordinate(position.y);
}

void TBaseDialog::ResetProtocol()
{
    closing_ = false;
    returnValue_ = 2;
    focused_ = 0;
    std::vector<int> order = TabOrder();
    if (!order.empty()) {
        focused_ = order.front();
        FieldFocused(focused_);
    }
}

void TBaseDialog::FocusField(int id)
{
    if (id == focused_)
        return;
    int previous = focused_;
    // The new owner is recorded first, so a commit that looks at the focus (or a view
    // that reports the same move again) sees where it went.
    focused_ = id;
    if (previous != 0)
        CommitField(previous);
    if (id != 0 && focused_ == id)
        FieldFocused(id);
}

void TBaseDialog::FocusLeft(int id)
{
    if (id != 0 && id == focused_)
        FocusField(0);
}

int TBaseDialog::NextInTabOrder(int from) const
{
    std::vector<int> order = TabOrder();
    if (order.empty())
        return 0;
    auto it = std::find(order.begin(), order.end(), from);
    if (it == order.end() || ++it == order.end())
        return order.front();
    return *it;
}

void TBaseDialog::MoveFocusForClose()
{
    std::vector<int> order = TabOrder();
    if (hasOk_ && std::find(order.begin(), order.end(), OkId) != order.end())
        FocusField(OkId);
    else
        FocusField(NextInTabOrder(focused_));
}

void TBaseDialog::Enter()
{
    returnValue_ = 1;
    if (hasOk_ && focused_ == OkId) {
        closing_ = true;
        RequestClose();
        return;
    }
    int next = NextInTabOrder(focused_);
    if (next != 0 && next == focused_) {
        // A dialog with one field: Enter still takes over what was typed.
        CommitField(next);
        FieldFocused(next);
        return;
    }
    FocusField(next);
}

void TBaseDialog::Escape()
{
    MoveFocusForClose();
    closing_ = true;
    RequestClose();
}

void TBaseDialog::RequestClose()
{
    if (!open_)
        return;
    if (!closing_) {
        // The field being edited loses the focus, and so commits, before the close.
        MoveFocusForClose();
        closing_ = true;
    }
    // Whatever had the focus commits now, also when focus stayed on one field.
    int at = focused_;
    FocusField(0);
    if (!Finish()) {
        // Declined: the dialog stays as it was, with the focus where the close put it.
        closing_ = false;
        returnValue_ = 2;
        FocusField(at);
    }
}

void TBaseDialog::Help()
{
    if (!helpFile_.empty())
        host_.OpenHelp(helpFile_);
}
