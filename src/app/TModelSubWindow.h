#pragma once
// An MDI child hosting a window model. The system close asks the model: most
// windows only hide, and come back through "Show diagrams".

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TWindowModel& model_;
    TModelView* view_;
};
