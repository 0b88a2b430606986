#pragma once
// The Qt widget inside an MDI child: paints its window model through a QtCanvas and
// forwards pointer, key and close events to it. It owns nothing but the view.

#include <QWidget>

class TWindowModel;

class TModelView : public QWidget {
    Q_OBJECT
public:
    TModelView(TWindowModel& model, QWidget* parent = nullptr);
    TWindowModel& Model() const { return model_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TWindowModel& model_;
};
