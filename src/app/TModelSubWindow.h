#pragma once
// An MDI child hosting a window model. The system close asks the model: most
// windows only hide, and come back through "Show diagrams".
//
// The model's restored rectangle gives the size of the client area (what the model
// paints on; the plots are laid out for 600 by 290) and the place of the frame. The
// projects put windows side by side at multiples of that default size, so positions
// are stretched by the frame's title bar and borders per 600 by 290: such windows
// stay side by side, frames and all, instead of overlapping.

#include "ui/TCanvas.h"

#include <QMdiSubWindow>

class TWindowModel;
class TModelView;

class TModelSubWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    TModelSubWindow(TWindowModel& model, QWidget* parent = nullptr);
    TModelView* View() const { return view_; }
    TWindowModel& Model() const { return model_; }
    // Copies the show state and restored rectangle into the model's placement.
    void StorePlacement();
    // Gives the frame the model's restored rectangle (or the default client size when
    // it has none). The window must be in its MDI area, which gives it its frame.
    void ApplyRestoredRect();

    // The conversions between the model's rectangle and the frame geometry, for the
    // frame margins given.
    static QRect FrameFor(const TRect& restored, const QMargins& frame);
    static TRect RestoredFor(const QRect& geometry, const QMargins& frame);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TWindowModel& model_;
    TModelView* view_;
};
