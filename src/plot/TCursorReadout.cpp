#include "plot/TCursorReadout.h"

#include "plot/TCursorDialog.h"

#include <cstdio>

void TCursorReadout::SwitchOff()
{
    if (inside_) {
        inside_ = false;
        Leave();
    }
    mode_ = kOff;
    referenceY_ = 0;
}

void TCursorReadout::Reset()
{
    mode_ = kOff;
    referenceY_ = 0;
    inside_ = false;
    Leave();
}

void TCursorReadout::Refresh()
{
    if (inside_)
        Enter();
}

void TCursorReadout::PointerMoved(int px, int py, int width, int height, bool inArea)
{
    if (mode_ == kOff)
        return;
    if (inArea) {
        if (!inside_) {
            inside_ = true;
            Enter();
        }
        ShowX(px, width);
        ShowY(py, height);
    } else if (inside_) {
        inside_ = false;
        Leave();
    }
}

void TCursorReadout::DoubleClicked(int py, int height)
{
    if (mode_ == kOff || !inside_)
        return;
    if (mode_ == kAbsolute) {
        referenceY_ = lastY_;
        mode_ = kRelative;
        SetField(TCursorDialog::kYCaption, "dY:");
    } else {
        mode_ = kAbsolute;
        SetField(TCursorDialog::kYCaption, "Y:");
    }
    ShowY(py, height);
}

void TCursorReadout::PointerLeft()
{
    if (!inside_)
        return;
    inside_ = false;
    Leave();
}

void TCursorReadout::Enter()
{
    SetField(TCursorDialog::kXCaption, "X:");
    SetField(TCursorDialog::kYCaption, "Y:");
    SetField(TCursorDialog::kXValue, "--------");
    SetField(TCursorDialog::kYValue, "--------");
    SetField(TCursorDialog::kXUnit, axes_.XUnit());
    SetField(TCursorDialog::kYUnit, axes_.YUnit());
    SetField(TCursorDialog::kYCaption, mode_ == kRelative ? "dY:" : "Y:");
}

void TCursorReadout::Leave()
{
    if (dialog_)
        dialog_->ClearFields();
}

void TCursorReadout::ShowX(int px, int width)
{
    TCursorAxes::TReading x = axes_.ReadX(px, width);
    SetField(TCursorDialog::kXValue, Print(x));
    lastX_ = x.value;
}

void TCursorReadout::ShowY(int py, int height)
{
    TCursorAxes::TReading y = axes_.ReadY(py, height);
    if (mode_ == kRelative)
        y.value -= referenceY_;
    SetField(TCursorDialog::kYValue, Print(y));
    lastY_ = y.value;
}

const char* TCursorReadout::Print(const TCursorAxes::TReading& reading)
{
    // + 0.0 turns -0 into 0, which prints without a sign.
    std::snprintf(text_, sizeof text_, reading.format, reading.value + 0.0);
    return text_;
}

void TCursorReadout::SetField(int id, std::string_view text)
{
    if (dialog_)
        dialog_->SetField(id, text);
}
