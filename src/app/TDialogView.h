#pragma once
// Builds the Qt view of a dialog model: the one renderer every dialog goes through
// (TDialogWindow).

class QString;
class QWidget;
class TDialogModel;

namespace TDialogView {
// A modeless tool window showing the model; the caller shows it.
QWidget* Create(TDialogModel& model, QWidget* parent);
// Loads the model's values into an existing view.
void Reload(QWidget* view);
// Renders the model's view at its design size into a PNG file, for a look at a
// dialog in tests and tools; false when the file could not be written.
[[nodiscard]] bool SavePicture(TDialogModel& model, const QString& path);
} // namespace TDialogView
