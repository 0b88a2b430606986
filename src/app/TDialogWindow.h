#pragma once
// The modeless tool window of a dialog model: built once from the field descriptions,
// it loads the model's values into the widgets (with a guard, so loading fires no
// commits) and forwards every user event to the model, then loads again.
//
// Widgets are named after their field for tests and pictures: "field<id>" for the
// editor, "label<id>" and "unit<id>" for the captions, "help" for the "?" button.

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QLabel;
class QMenuBar;
class QScrollArea;
class TDialogModel;
struct TField;

class TDialogWindow : public QWidget {
public:
    TDialogWindow(TDialogModel& model, QWidget* parent);
    ~TDialogWindow() override;

    TDialogModel& Model() const { return model_; }
    // Model -> widgets.
    void Load();
    // The size the dialog was built with; it never grows beyond it.
    QSize DesignSize() const { return design_; }
    // The widget that takes the focus for a field (the checked radio button of a group).
    QWidget* FocusWidget(int id) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Parts {
        QWidget* editor = nullptr;           // the field's main widget
        QLabel* label = nullptr;
        QLabel* unit = nullptr;
        QButtonGroup* radios = nullptr;      // Radio: the choices
        std::vector<QAbstractButton*> choices;
    };

    void Build();
    QWidget* BuildSections();
    void AddField(QGridLayout* grid, int row, int block, const TField& field);
    QWidget* MakeEditor(const TField& field, Parts& parts);
    void Watch(QWidget* widget, int id);
    void LoadField(const TField& field, Parts& parts);
    void SetTabOrder();
    void FixDesignSize();

    // Runs a user event on the model; afterwards shows the model's state (and moves
    // the focus where the model moved it, unless the event was a focus change the
    // user made), or hides the window when the event closed the dialog. Nothing runs
    // once the model is gone.
    void Forward(const std::function<void(TDialogModel&)>& event, bool followFocus = true);
    bool ModelAlive() const { return !life_.expired(); }
    void SyncFocus();

    TDialogModel& model_;
    std::weak_ptr<const int> life_;
    std::map<int, Parts> parts_;
    QMenuBar* menuBar_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    QSize design_;
    bool loading_ = false;
};
