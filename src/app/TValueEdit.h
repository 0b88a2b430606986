#pragma once
// The line edit of a value or text field. It only reports: focus in and out (a focus
// out commits the field in its model), every text change, Enter, Escape and the
// Up/Down steps; the dialog view forwards these to the field's model and shows the
// model's text again.

#include "ui/TEditResult.h"

#include <QLineEdit>
#include <functional>

class TValueEdit : public QLineEdit {
public:
    explicit TValueEdit(QWidget* parent = nullptr);

    std::function<void()> onFocusIn;
    std::function<void()> onFocusOut;
    std::function<void(TEditKey)> onKey; // Up/Down steps, or Other before a key is typed
    std::function<void()> onEnter;
    std::function<void()> onEscape;

    // Drops every callback: the owner is going away.
    void Detach();

    // Width for this many digits, so the fields of a column line up.
    void SetWidthInChars(int chars);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
