#pragma once
// The start screen: a frameless picture centred on the desktop that closes itself
// after three seconds.

class QWidget;

namespace TStartScreen {
// Shows it; it deletes itself when it closes.
QWidget* Show(int milliseconds = 3000);
}
