#include "TModelView.h"

#include "QtCanvas.h"
#include "TPlotRender.h"
#include "filter/TDrawingWin.h"
#include "plot/TInfoWin.h"
#include "ui/TWindowModel.h"

#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

TModelView::TModelView(TWindowModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 60);
    info_ = dynamic_cast<TInfoWin*>(&model);
    schematic_ = dynamic_cast<TSchematicWin*>(&model);
    if (Scrolls()) {
        horizontal_ = new QScrollBar(Qt::Horizontal, this);
        vertical_ = new QScrollBar(Qt::Vertical, this);
        for (QScrollBar* bar : {horizontal_, vertical_}) {
            bar->setFocusPolicy(Qt::NoFocus);
            bar->hide();
            connect(bar, &QScrollBar::valueChanged, this, [this] { ScrollBarMoved(); });
        }
    }
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

QSize TModelView::ClientSize() const
{
    int w = width(), h = height();
    if (vertical_ && vertical_->isVisibleTo(this))
        w -= vertical_->width();
    if (horizontal_ && horizontal_->isVisibleTo(this))
        h -= horizontal_->height();
    return QSize(std::max(1, w), std::max(1, h));
}

int TModelView::RangeX(int clientWidth) const
{
    return schematic_ ? schematic_->ScrollRangeX(clientWidth) : std::max(0, (700 - clientWidth) / 10);
}

int TModelView::RangeY(int clientHeight) const
{
    return schematic_ ? schematic_->ScrollRangeY(clientHeight) : std::max(0, (1000 - clientHeight) / 10);
}

int TModelView::ModelScrollX() const { return schematic_ ? schematic_->ScrollX() : info_->ScrollX(); }
int TModelView::ModelScrollY() const { return schematic_ ? schematic_->ScrollY() : info_->ScrollY(); }

void TModelView::ScrollModel(int x, int y, int clientWidth, int clientHeight)
{
    if (schematic_)
        schematic_->ScrollTo(x, y, clientWidth, clientHeight);
    else
        info_->ScrollTo(x, y, clientWidth, clientHeight);
}

void TModelView::UpdateScrollBars()
{
    if (!Scrolls())
        return;
    // The information page is 700 by 1000 units, a schematic its own size, scrolled in
    // steps of 10; a bar shows while there is something to scroll to in its direction.
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    bool needH = false, needV = false;
    for (int pass = 0; pass < 2; ++pass) {
        int w = width() - (needV ? extent : 0), h = height() - (needH ? extent : 0);
        needH = RangeX(w) > 0;
        needV = RangeY(h) > 0;
    }
    const int w = std::max(1, width() - (needV ? extent : 0)), h = std::max(1, height() - (needH ? extent : 0));
    syncing_ = true;
    horizontal_->setVisible(needH);
    vertical_->setVisible(needV);
    horizontal_->setGeometry(0, height() - extent, w, extent);
    vertical_->setGeometry(width() - extent, 0, extent, h);
    horizontal_->setRange(0, RangeX(w));
    vertical_->setRange(0, RangeY(h));
    horizontal_->setPageStep(std::max(1, w / 10));
    vertical_->setPageStep(std::max(1, h / 10));
    ScrollModel(ModelScrollX(), ModelScrollY(), w, h);
    horizontal_->setValue(ModelScrollX());
    vertical_->setValue(ModelScrollY());
    syncing_ = false;
}

void TModelView::ScrollBarMoved()
{
    if (syncing_ || !Scrolls())
        return;
    QSize client = ClientSize();
    ScrollModel(horizontal_->value(), vertical_->value(), client.width(), client.height());
    update();
}

void TModelView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateScrollBars();
}

void TModelView::wheelEvent(QWheelEvent* event)
{
    if (!Scrolls() || !vertical_->isVisible()) {
        QWidget::wheelEvent(event);
        return;
    }
    // Three steps of 10 units a notch, as text views scroll three lines.
    int notches = event->angleDelta().y() / 120;
    vertical_->setValue(vertical_->value() - 3 * notches);
    event->accept();
}

void TModelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QSize client = ClientSize();
    painter.setClipRect(QRect(QPoint(0, 0), client));
    QtCanvas canvas(painter, client.width(), client.height());
    TPlotRender::PrepareCanvas(canvas, model_);
    model_.Paint(canvas);
}

void TModelView::mouseMoveEvent(QMouseEvent* event)
{
    QPoint p = event->position().toPoint();
    model_.MouseMove(p.x(), p.y(), ClientSize().width(), ClientSize().height());
}

void TModelView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint p = event->position().toPoint();
    model_.MouseDoubleClick(p.x(), p.y(), ClientSize().width(), ClientSize().height());
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
    UpdateScrollBars(); // the information and schematic windows scroll with the keys too
    update();
}
