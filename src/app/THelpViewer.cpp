#include "THelpViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>

namespace THelpViewer {

QPointer<QWidget> Open(const QString& path, QWidget* parent)
{
    auto* viewer = new QPlainTextEdit(parent);
    viewer->setWindowFlag(Qt::Window, true);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setReadOnly(true);
    viewer->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    viewer->setWindowTitle(QFileInfo(path).fileName() + " - Help");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        viewer->setPlainText(QString::fromUtf8(file.readAll()));
    else
        viewer->setPlainText("No help text found at " + path);
    viewer->resize(560, 420);
    viewer->show();
    return viewer;
}

} // namespace THelpViewer
