#include "TModelView.h"

#include "QtCanvas.h"
#include "TPlotRender.h"
#include "ui/TWindowModel.h"

#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>

TModelView::TModelView(TWindowModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 60);
    // The model learns when its MDI child becomes or stops being the active one (the
    // plots switch their cursor readout on and off with it).
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parent))
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
            bool was = before.testFlag(Qt::WindowActive), is = now.testFlag(Qt::WindowActive);
            if (was != is)
                model_.Activated(is);
        });
}

QSize TModelView::sizeHint() const { return QSize(model_.DefaultWidth(), model_.DefaultHeight()); }

void TModelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QtCanvas canvas(painter, width(), height());
    TPlotRender::PrepareCanvas(canvas, model_);
    model_.Paint(canvas);
}

void TModelView::mouseMoveEvent(QMouseEvent* event)
{
    QPoint p = event->position().toPoint();
    model_.MouseMove(p.x(), p.y(), width(), height());
}

void TModelView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint p = event->position().toPoint();
    model_.MouseDoubleClick(p.x(), p.y(), width(), height());
    update();
}

void TModelView::leaveEvent(QEvent*) { model_.MouseLeave(); }

void TModelView::keyPressEvent(QKeyEvent* event)
{
    TKey key = TKey::Other;
    switch (event->key()) {
    case Qt::Key_PageUp: key = TKey::PageUp; break;
    case Qt::Key_PageDown: key = TKey::PageDown; break;
    case Qt::Key_Up: key = TKey::Up; break;
    case Qt::Key_Down: key = TKey::Down; break;
    case Qt::Key_Left: key = TKey::Left; break;
    case Qt::Key_Right: key = TKey::Right; break;
    case Qt::Key_Home: key = TKey::Home; break;
    case Qt::Key_End: key = TKey::End; break;
    default: QWidget::keyPressEvent(event); return;
    }
    model_.KeyPress(key);
    update();
}
