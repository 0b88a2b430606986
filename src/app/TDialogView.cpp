#include "TDialogView.h"

#include "TDialogWindow.h"

namespace TDialogView {

QWidget* Create(TDialogModel& model, QWidget* parent) { return new TDialogWindow(model, parent); }

void Reload(QWidget* view)
{
    if (auto* window = dynamic_cast<TDialogWindow*>(view))
        window->Load();
}

} // namespace TDialogView
