#include "TToolPlacement.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace TToolPlacement {

int Step(const QWidget& mainWindow)
{
    return mainWindow.style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
}

QPoint Beside(const QWidget& mainWindow, QSize frame, const QWidget* self)
{
    const int gap = 8;
    QRect client = mainWindow.geometry();
    QPoint anchor = client.topLeft() + QPoint(gap, gap);
    if (auto* mdi = mainWindow.findChild<QMdiArea*>()) {
        QWidget* area = mdi->viewport();
        QPoint origin = area->mapToGlobal(QPoint(0, 0));
        int right = 0;
        for (QMdiSubWindow* sub : mdi->subWindowList())
            if (sub->isVisible() && !sub->isMinimized())
                right = std::max(right, sub->geometry().right() + 1);
        anchor = origin + QPoint(right + gap, gap);
    }

    // Inside the screen, or the main window where that reaches further.
    QRect bounds = mainWindow.frameGeometry();
    if (QScreen* screen = mainWindow.screen())
        bounds = bounds.united(screen->availableGeometry());
    auto clamp = [&](QPoint p) {
        p.setX(std::max(bounds.left(), std::min(p.x(), bounds.right() + 1 - frame.width())));
        p.setY(std::max(bounds.top(), std::min(p.y(), bounds.bottom() + 1 - frame.height())));
        return p;
    };

    // The title bars of the windows already standing: a new window may cover their
    // bodies, never the bars by which they are found and moved.
    const int step = Step(mainWindow);
    std::vector<QRect> bars;
    for (QWidget* w : mainWindow.findChildren<QWidget*>())
        if (w != self && w->isWindow() && w->isVisible() && w->windowType() != Qt::Popup) {
            QRect g = w->frameGeometry();
            bars.emplace_back(g.left(), g.top(), g.width(), step);
        }
    // The main window's own title bar and those of the child windows inside it count too.
    const QRect mainFrame = mainWindow.frameGeometry();
    bars.emplace_back(mainFrame.left(), mainFrame.top(), mainFrame.width(),
                      std::max(step, mainWindow.geometry().top() - mainFrame.top()));
    if (auto* mdi = mainWindow.findChild<QMdiArea*>())
        for (QMdiSubWindow* sub : mdi->subWindowList())
            if (sub->isVisible() && !sub->isMinimized())
                bars.emplace_back(QRect(sub->mapToGlobal(QPoint(0, 0)), QSize(sub->width(), step)));
    // Cascade down and right; where a step would leave the bounds the window stays at
    // their edge. The walk is bounded.
    QPoint at = clamp(anchor);
    for (int k = 1; k < 64; ++k) {
        QRect candidate(at, frame);
        if (std::none_of(bars.begin(), bars.end(), [&](const QRect& bar) { return bar.intersects(candidate); }))
            break;
        at = clamp(anchor + QPoint(k * step, k * step));
    }
    return at;
}

} // namespace TToolPlacement
