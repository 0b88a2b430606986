#pragma once
// Where a tool window opens that has no place of its own yet: beside the main
// window's child windows, so it covers neither the plots nor another tool window.

#include <QPoint>
#include <QSize>

class QWidget;

namespace TToolPlacement {
// The top-left frame position for a window of the given frame size that belongs to
// mainWindow: right of the visible MDI children, at the top of the client area, and
// moved diagonally past every visible window of mainWindow already standing there.
// It stays inside the screen (or the main window, when that is larger).
QPoint Beside(const QWidget& mainWindow, QSize frame, const QWidget* self = nullptr);
// Cascade step: enough for the title bar of the window underneath to stay visible.
int Step(const QWidget& mainWindow);
} // namespace TToolPlacement
