#include "plot/TCursorDialog.h"

#include "ui/THost.h"

namespace {
int Slot(int id) { return id >= 101 && id <= 106 ? id - 101 : -1; }

constexpr TFieldSource::TRow kRows[] = {
    {TCursorDialog::kXCaption, TCursorDialog::kXValue, TCursorDialog::kXUnit},
    {TCursorDialog::kYCaption, TCursorDialog::kYValue, TCursorDialog::kYUnit},
};
} // namespace

TCursorDialog::TCursorDialog(THost& host) : host_(host) { view_ = host.CreateFieldView(*this); }

TCursorDialog::~TCursorDialog() = default;

std::span<const TFieldSource::TRow> TCursorDialog::Rows() const { return kRows; }

void TCursorDialog::SetField(int id, std::string_view text)
{
    int slot = Slot(id);
    if (slot < 0 || fields_[slot] == text)
        return;
    fields_[slot].assign(text);
    if (view_)
        view_->FieldChanged(id);
}

const std::string& TCursorDialog::Field(int id) const
{
    static const std::string empty;
    int slot = Slot(id);
    return slot < 0 ? empty : fields_[slot];
}

void TCursorDialog::ClearFields()
{
    for (int id = 101; id <= 106; ++id)
        SetField(id, "");
}

bool TCursorDialog::CloseRequested()
{
    host_.Beep();
    return false;
}
