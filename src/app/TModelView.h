#pragma once
// The Qt widget inside an MDI child: paints its window model through a QtCanvas and
// forwards pointer, key and close events to it. It owns nothing but the view.

#include <QWidget>

class QScrollBar;
class TInfoWin;
class TSchematicWin;
class TWindowModel;

class TModelView : public QWidget {
    Q_OBJECT
public:
    TModelView(TWindowModel& model, QWidget* parent = nullptr);
    TWindowModel& Model() const { return model_; }

    QSize sizeHint() const override;
    // The part the model paints on: the widget less the scroll bars it shows.
    QSize ClientSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The information window scrolls over its page: scroll bars for the mouse, kept
    // in step with the model's own scroll position.
    void UpdateScrollBars();
    void ScrollBarMoved();

    TWindowModel& model_;
    // Page size, scroll range and position of the models that scroll a page.
    bool Scrolls() const { return info_ != nullptr || schematic_ != nullptr; }
    int RangeX(int clientWidth) const;
    int RangeY(int clientHeight) const;
    int ModelScrollX() const;
    int ModelScrollY() const;
    void ScrollModel(int x, int y, int clientWidth, int clientHeight);

    TInfoWin* info_ = nullptr;
    TSchematicWin* schematic_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    bool syncing_ = false;
};
