#pragma once
// One adapter per field kind between a dialog model's field and its Qt widget. Each
// adapter creates its widget, refreshes it from the field (model -> widget, with a
// guard so that refreshing commits nothing) and commits what the user did with it
// (widget -> model). The window that owns the adapters places their widgets
// (TDialogLayout) and routes focus and the dialog keys; the adapters reach the model
// only through their host.
//
// Widgets are named after their field for tests and pictures: "field<id>" for the
// editor, "field<id>_<n>" for the choices of a radio group, "label<id>" and
// "unit<id>" for the captions.

#include <Qt>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QObject;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class TDialogModel;
class TValueEdit;
struct TField;

// What an adapter needs from the window that shows it.
class TFieldHost {
public:
    // Runs a user event on the model and shows the model's state afterwards; does
    // nothing once the model is gone or closed. followFocus: move the focus where the
    // model moved it (not after a focus change the user made).
    virtual void Forward(const std::function<void(TDialogModel&)>& event, bool followFocus = true) = 0;
    // The model while it exists; nullptr once its owner destroyed it.
    virtual TDialogModel* LiveModel() = 0;
    // Sends the focus changes and dialog keys (Enter, Escape) of a widget that is not
    // a value edit to the host, as events of field id.
    virtual void Watch(QWidget* widget, int id) = 0;
    // The object every widget signal is connected through: disconnecting the widgets
    // from it cuts every path back to the adapters.
    virtual QObject* Receiver() = 0;

protected:
    ~TFieldHost() = default;
};

class TFieldWidget {
public:
    TFieldWidget(int id, TFieldHost& host) : id_(id), host_(host) {}
    virtual ~TFieldWidget() = default;
    TFieldWidget(const TFieldWidget&) = delete;
    TFieldWidget& operator=(const TFieldWidget&) = delete;

    int Id() const { return id_; }

    // Create: the captions (nullptr when the field has none) and the editor, without a
    // parent until they are laid out.
    QLabel* CreateLabel(const TField& field);
    QWidget* Create(const TField& field);
    QLabel* CreateUnit(const TField& field);
    QWidget* Editor() const { return editor_; }
    QLabel* Label() const { return label_; }
    QLabel* Unit() const { return unit_; }

    // Refresh: shows the field's state, enabled and visible on the editor and its
    // captions, and its value; the widget's signals meanwhile commit nothing.
    void Refresh(const TField& field);
    // Commit: sends the widget's state, as the user left it, to the model.
    virtual void Commit() = 0;
    // Once, after the window loaded the first values.
    virtual void Opened() {}

    // Focus: the widget that takes it, every widget of the tab order, and whether a
    // widget having the focus means the field has it.
    virtual QWidget* FocusWidget() const { return editor_; }
    virtual std::vector<QWidget*> TabStops() const { return {editor_}; }
    virtual bool HasFocus(const QWidget* widget) const { return widget == editor_; }
    // Enter pressed in the widget; false: the widget keeps the key for itself.
    virtual bool Enter();

    // Placement on a row of label | editor | unit.
    virtual bool Tall() const { return false; }                 // the label stands at the top
    virtual bool SpansUnitColumn() const { return true; }       // without a unit, the editor takes its column
    virtual bool TakesCaptionColumn() const { return true; }    // without a label, the editor starts there
    virtual Qt::Alignment SpanAlignment() const { return {}; }  // in the spanned columns

protected:
    virtual QWidget* Make(const TField& field) = 0;
    virtual void Show(const TField& field) = 0;
    bool Refreshing() const { return refreshing_; }
    // Puts a corrected value back into the widget without committing it.
    void Quietly(const std::function<void()>& change);

    const int id_;
    TFieldHost& host_;

private:
    QWidget* editor_ = nullptr;
    QLabel* label_ = nullptr;
    QLabel* unit_ = nullptr;
    bool refreshing_ = false;
};

// The adapter for a field's kind.
std::unique_ptr<TFieldWidget> MakeFieldWidget(const TField& field, TFieldHost& host);

// Double, Long, String: a one-line TValueEdit; every keystroke goes to the model,
// which commits when the focus leaves.
class TValueFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override;
    bool SpansUnitColumn() const override { return text_; }
    bool TakesCaptionColumn() const override { return false; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    TValueEdit* edit_ = nullptr;
    bool text_ = false; // a String field, not a number
};

// Note: several lines; Enter makes a new line.
class TNoteFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override;
    void Opened() override;
    bool Enter() override { return false; }
    bool Tall() const override { return true; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QPlainTextEdit* note_ = nullptr;
};

class TCheckFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override;

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QCheckBox* check_ = nullptr;
};

// Radio: one button per choice in a row or a column; the group takes the focus
// through its checked button.
class TRadioFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override;
    QWidget* FocusWidget() const override;
    std::vector<QWidget*> TabStops() const override;
    bool HasFocus(const QWidget* widget) const override;
    bool Tall() const override { return !horizontal_; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QButtonGroup* group_ = nullptr;
    std::vector<QAbstractButton*> choices_;
    bool horizontal_ = false;
};

class TComboFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override;
    bool TakesCaptionColumn() const override { return false; }
    Qt::Alignment SpanAlignment() const override { return Qt::AlignLeft | Qt::AlignVCenter; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QComboBox* combo_ = nullptr;
};

// List: a click selects, a double click activates.
class TListFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override;
    bool Tall() const override { return true; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QListWidget* list_ = nullptr;
};

// Button: a click or Enter presses it; Enter on OK is the dialog's Enter.
class TButtonFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override;
    bool Enter() override;
    bool SpansUnitColumn() const override { return false; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QPushButton* button_ = nullptr;
};

// Text: a read-only line the user can select but not change or tab to.
// Drawing: a fixed-size area the model's paint function draws on through a QtCanvas;
// every refresh of the dialog repaints it. It takes neither focus nor input.
class TDrawingFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override {}
    std::vector<QWidget*> TabStops() const override { return {}; }
    bool TakesCaptionColumn() const override { return true; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QWidget* area_ = nullptr;
};

class TTextFieldWidget : public TFieldWidget {
public:
    using TFieldWidget::TFieldWidget;
    void Commit() override {}
    std::vector<QWidget*> TabStops() const override { return {}; }

protected:
    QWidget* Make(const TField& field) override;
    void Show(const TField& field) override;

private:
    QLabel* text_ = nullptr;
};
