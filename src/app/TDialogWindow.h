#pragma once
// The modeless tool window of a dialog model: built once from the field descriptions,
// it loads the model's values into the widgets (with a guard, so loading fires no
// commits) and forwards every user event to the model, then loads again.
//
// One adapter per field makes and refreshes its widgets and commits the user's changes
// (TFieldWidgets); TDialogLayout places them. The window owns the adapters, routes
// the widgets' focus changes and dialog keys to the model and keeps the focus where
// the model has it. The "?" button is named "help".

#include "TFieldWidgets.h"

#include <QSize>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QMenuBar;
class QScrollArea;
class TDialogModel;

class TDialogWindow : public QWidget, private TFieldHost {
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
    void Build();
    void SetTabOrder();
    void FixDesignSize();
    TFieldWidget* WidgetOf(int id) const;

    // Runs a user event on the model; afterwards shows the model's state (and moves
    // the focus where the model moved it, unless the event was a focus change the
    // user made), or hides the window when the event closed the dialog. Nothing runs
    // once the model is gone.
    void Forward(const std::function<void(TDialogModel&)>& event, bool followFocus = true) override;
    TDialogModel* LiveModel() override { return ModelAlive() ? &model_ : nullptr; }
    void Watch(QWidget* widget, int id) override;
    QObject* Receiver() override { return this; }
    bool ModelAlive() const { return !life_.expired(); }
    void SyncFocus();

    TDialogModel& model_;
    std::weak_ptr<const int> life_;
    std::map<int, std::unique_ptr<TFieldWidget>> fields_;
    QMenuBar* menuBar_ = nullptr;
    std::map<int, QAction*> actions_; // the menu's commands, enabled as the model says
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    QSize design_;
};
