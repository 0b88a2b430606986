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
    // Top-level dialogs have no frame of their own in a grab: each gets a title strip.
    const int strip = 22;
    std::vector<QString> titles;
    // Every tool window of the program: dialogs, the cursor readout, help viewers.
    std::vector<QWidget*> tools;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->isWindow() && w->isVisible() &&
            (w->windowType() == Qt::Tool || w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            tools.push_back(w);
    for (QWidget* dialog : tools) {
        QPixmap picture = dialog->grab();
        QPoint at = dialog->geometry().topLeft() - frame.topLeft();
        if (at.y() < strip)
            at.setY(strip);
        layers.emplace_back(at, picture);
        titles.push_back(dialog->windowTitle());
        bounds = bounds.united(QRect(at - QPoint(0, strip), picture.size() + QSize(0, strip)));
    }
    QImage image(bounds.size(), QImage::Format_RGB32);
    image.fill(QColor(64, 64, 64));
    QPainter painter(&image);
    painter.drawPixmap(-bounds.topLeft(), base);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const auto& [at, picture] = layers[i];
        QPoint p = at - bounds.topLeft();
        QRect title(p.x(), p.y() - strip, picture.width(), strip);
        painter.fillRect(title, QColor(52, 101, 164));
        painter.setPen(Qt::white);
        painter.drawText(title.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, titles[i]);
        painter.drawPixmap(p, picture);
        painter.setPen(QColor(40, 40, 40));
        painter.drawRect(QRect(p - QPoint(0, strip), picture.size() + QSize(0, strip)).adjusted(0, 0, -1, -1));
    }
    painter.end();
    return image.save(path, "PNG");
}

} // namespace TScreenshot
