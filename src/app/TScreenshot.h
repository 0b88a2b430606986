#pragma once
// A picture of the whole program: the main window with its child windows and the
// open dialogs placed where they stand relative to it.

#include <QString>

class TMainApp;

namespace TScreenshot {
[[nodiscard]] bool Save(TMainApp& app, const QString& path);
}
