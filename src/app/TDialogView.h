#pragma once
// Builds the Qt view of a dialog model: the one renderer every dialog goes through.

class QWidget;
class TDialogModel;

namespace TDialogView {
// A modeless tool window showing the model; the caller shows it.
QWidget* Create(TDialogModel& model, QWidget* parent);
// Loads the model's values into an existing view.
void Reload(QWidget* view);
} // namespace TDialogView
