#include "TDialogView.h"

#include <QWidget>

// Placeholder until the dialog framework lands: an empty tool window.
namespace TDialogView {
QWidget* Create(TDialogModel&, QWidget* parent)
{
    auto* w = new QWidget(parent, Qt::Tool);
    return w;
}
void Reload(QWidget*) {}
} // namespace TDialogView
