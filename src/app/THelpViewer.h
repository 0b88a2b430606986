#pragma once
// The program's own read-only text viewer for help files; it never blocks the program.

#include <QPointer>
#include <QString>

class QWidget;

namespace THelpViewer {
// Opens a viewer window on the file; a missing file shows a one-line notice.
QPointer<QWidget> Open(const QString& path, QWidget* parent);
} // namespace THelpViewer
