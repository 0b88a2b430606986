#pragma once
// The Qt face of the cursor readout: a small tool window above the main window with
// one row "caption value unit" per row of its source ("X: ..." and "Y: ..."). Closing
// it only asks the source, which beeps.

#include "ui/TFieldView.h"

#include <QWidget>
#include <map>
#include <memory>

class QLabel;

class TCursorView : public QWidget {
    Q_OBJECT
public:
    TCursorView(TFieldSource& model, QWidget* parent);

    void FieldChanged(int id);
    QString FieldText(int id) const;

    // The view QtHost hands to a source: a widget owned by parent, deleted with the
    // returned link unless the parent took it down first.
    static std::unique_ptr<TFieldView> Create(TFieldSource& model, QWidget* parent);
    // The widget behind a view made by Create, or nullptr.
    static TCursorView* Of(const TFieldView* view);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TFieldSource& model_;
    std::map<int, QLabel*> labels_;
};
