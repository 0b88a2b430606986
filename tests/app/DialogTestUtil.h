#pragma once
// Helpers for dialog view tests: a shown, active view of a model, and typing into a
// field the way a user does (focus, select all, type).

#include "app/TDialogView.h"
#include "app/TDialogWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <memory>

// Owns a shown view; deletes it at the end of the test.
struct ShownDialog {
    explicit ShownDialog(TDialogModel& model)
        : view(static_cast<TDialogWindow*>(TDialogView::Create(model, nullptr)))
    {
        view->show();
        view->activateWindow();
        ready = QTest::qWaitForWindowActive(view.get());
        QApplication::processEvents();
    }
    template <class T = QWidget> T* Field(int id) const
    {
        return view->findChild<T*>(QStringLiteral("field%1").arg(id));
    }
    // Puts the focus on a line edit and replaces its text by typing.
    void TypeInto(int id, const QString& text) const
    {
        auto* edit = Field<QLineEdit>(id);
        edit->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    std::unique_ptr<TDialogWindow> view;
    bool ready = false;
};
