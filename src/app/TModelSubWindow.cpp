#include "TModelSubWindow.h"

#include "TModelView.h"
#include "ui/TWindowModel.h"

#include <QCloseEvent>

TModelSubWindow::TModelSubWindow(TWindowModel& model, QWidget* parent)
    : QMdiSubWindow(parent), model_(model), view_(new TModelView(model, this))
{
    setWidget(view_);
    setWindowTitle(QString::fromStdString(model.Title()));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(model.DefaultWidth(), model.DefaultHeight());
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
        QRect g = geometry();
        p.restored = TRect{g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    }
}

void TModelSubWindow::closeEvent(QCloseEvent* event)
{
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
