#include "plot/TCursorDialog.h"

#include "ui/THost.h"

namespace {
TCursorDialog::TViewFactory& Factory()
{
    static TCursorDialog::TViewFactory factory;
    return factory;
}

int Slot(int id) { return id >= 101 && id <= 106 ? id - 101 : -1; }
} // namespace

void TCursorDialog::SetViewFactory(TViewFactory factory) { Factory() = std::move(factory); }

TCursorDialog::TCursorDialog(THost& host) : host_(host)
{
    if (Factory())
        view_ = Factory()(*this, host);
}

TCursorDialog::~TCursorDialog() = default;

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
