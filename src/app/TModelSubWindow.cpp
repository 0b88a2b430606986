#include "TModelSubWindow.h"

#include "TAppIcon.h"
#include "TModelView.h"
#include "plot/TSnapshot.h"
#include "ui/TWindowModel.h"

#include <QCloseEvent>
#include <algorithm>
#include <cmath>

TModelSubWindow::TModelSubWindow(TWindowModel& model, QWidget* parent)
    : QMdiSubWindow(parent), model_(model), view_(new TModelView(model, this))
{
    setWidget(view_);
    setWindowTitle(QString::fromStdString(model.Title()));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowIcon(TAppIcon::Get()); // not the toolkit's own
}

namespace {
// The default plot size: the unit of the projects' window layouts.
constexpr double kCellW = 600, kCellH = 290;
} // namespace

QRect TModelSubWindow::FrameFor(const TRect& r, const QMargins& frame)
{
    const int mw = frame.left() + frame.right(), mh = frame.top() + frame.bottom();
    int x = r.left + static_cast<int>(std::lround(r.left * mw / kCellW));
    int y = r.top + static_cast<int>(std::lround(r.top * mh / kCellH));
    return QRect(x, y, r.Width() + mw, r.Height() + mh);
}

TRect TModelSubWindow::RestoredFor(const QRect& g, const QMargins& frame)
{
    const int mw = frame.left() + frame.right(), mh = frame.top() + frame.bottom();
    int left = static_cast<int>(std::lround(g.left() * kCellW / (kCellW + mw)));
    int top = static_cast<int>(std::lround(g.top() * kCellH / (kCellH + mh)));
    return TRect{left, top, left + std::max(0, g.width() - mw), top + std::max(0, g.height() - mh)};
}

void TModelSubWindow::ApplyRestoredRect()
{
    TRect r = model_.placement.restored;
    if (r.Width() <= 0 || r.Height() <= 0) {
        QPoint at = geometry().topLeft();
        r = RestoredFor(QRect(at, QSize(1, 1)), contentsMargins());
        r.right = r.left + model_.DefaultWidth();
        r.bottom = r.top + model_.DefaultHeight();
    }
    setGeometry(FrameFor(r, contentsMargins()));
}

void TModelSubWindow::StorePlacement()
{
    TViewPlacement& p = model_.placement;
    if (isHidden())
        p.show = TShowState::Hidden;
    else if (isMinimized())
        p.show = TShowState::Minimised;
    else if (isMaximized())
        p.show = TShowState::Maximised;
    else {
        p.show = TShowState::Normal;
        p.restored = RestoredFor(geometry(), contentsMargins());
    }
}

void TModelSubWindow::closeEvent(QCloseEvent* event)
{
    // The snapshot window lives as long as its project: closing it only minimises it.
    // (The view is made while the model is still being built, so this is asked here.)
    if (dynamic_cast<const TSnapshot*>(&model_)) {
        event->ignore();
        showMinimized();
        return;
    }
    if (model_.CloseRequested()) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
    StorePlacement();
}

void TModelSubWindow::changeEvent(QEvent* event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        StorePlacement();
}

void TModelSubWindow::moveEvent(QMoveEvent* event)
{
    QMdiSubWindow::moveEvent(event);
    StorePlacement();
}

void TModelSubWindow::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    StorePlacement();
}
