#include "TScreenshot.h"

#include "QtHost.h"
#include "TMainApp.h"
#include "TMainWindow.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace TScreenshot {

bool Save(TMainApp& app, const QString& path)
{
    QApplication::processEvents();
    TMainWindow& window = app.Window();
    QPixmap base = window.grab();
    QRect frame = window.geometry();
    QRect bounds(QPoint(0, 0), base.size());
    std::vector<std::pair<QPoint, QPixmap>> layers;
    for (QWidget* dialog : app.Host().DialogWidgets()) {
        QPixmap picture = dialog->grab();
        QPoint at = dialog->geometry().topLeft() - frame.topLeft();
        layers.emplace_back(at, picture);
        bounds = bounds.united(QRect(at, picture.size()));
    }
    QImage image(bounds.size(), QImage::Format_RGB32);
    image.fill(QColor(64, 64, 64));
    QPainter painter(&image);
    painter.drawPixmap(-bounds.topLeft(), base);
    for (auto& [at, picture] : layers) {
        QPoint p = at - bounds.topLeft();
        painter.drawPixmap(p, picture);
        painter.setPen(QColor(40, 40, 40));
        painter.drawRect(QRect(p, picture.size()).adjusted(0, 0, -1, -1));
    }
    painter.end();
    return image.save(path, "PNG");
}

} // namespace TScreenshot
