#include "THelpViewer.h"

#include "TToolPlacement.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace THelpViewer {

QPointer<QWidget> Open(const QString& path, QWidget* parent)
{
    auto* viewer = new QPlainTextEdit(parent);
    viewer->setWindowFlag(Qt::Window, true);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setReadOnly(true);
    viewer->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The help texts are laid out in columns with their own line ends: wrapping would
    // break the columns apart, a scroll bar does not.
    viewer->setLineWrapMode(QPlainTextEdit::NoWrap);
    viewer->setWindowTitle(QFileInfo(path).fileName() + " - Help");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        viewer->setPlainText(QString::fromUtf8(file.readAll()));
    else
        viewer->setPlainText("No help text found at " + path);
    // Wide enough for the 80 columns the texts are written in, and some 30 lines.
    QFontMetrics fm(viewer->font());
    int width = fm.horizontalAdvance(QString(80, QLatin1Char('x'))) + 2 * viewer->frameWidth() +
                viewer->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    int height = fm.lineSpacing() * 30 + 2 * viewer->frameWidth() + 16;
    if (QScreen* screen = parent ? parent->screen() : nullptr) {
        width = std::min(width, screen->availableGeometry().width());
        height = std::min(height, screen->availableGeometry().height());
    }
    viewer->resize(width, height);
    if (parent)
        viewer->move(TToolPlacement::Beside(*parent->window(), viewer->size() + QSize(0, viewer->style()->pixelMetric(QStyle::PM_TitleBarHeight)), viewer));
    viewer->show();
    return viewer;
}

} // namespace THelpViewer
