#pragma once
// The Qt face of the cursor readout: a small tool window above the main window with
// the two rows "X: value unit" and "Y: value unit". Closing it only beeps.

#include "plot/TCursorDialog.h"

#include <QWidget>
#include <map>

class QLabel;
class THost;

class TCursorView : public QWidget {
    Q_OBJECT
public:
    TCursorView(TCursorDialog& model, QWidget* parent);

    void FieldChanged(int id);
    QString FieldText(int id) const;

    // Makes every cursor dialog created from now on for `host` (any host when null) get
    // a view owned by parent. A project checked on a headless host gets none.
    static void Install(QWidget* parent, const THost* host = nullptr);
    static void Uninstall();
    // The view of a dialog made after Install, or nullptr.
    static TCursorView* Of(const TCursorDialog& model);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TCursorDialog& model_;
    std::map<int, QLabel*> labels_;
};
