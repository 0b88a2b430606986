#pragma once
// Helpers for driving the program in offscreen GUI tests. A modal box blocks in exec(),
// so its answer is arranged before the action that opens it.

#include "app/QtHost.h"
#include "app/TMainApp.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

struct ModalAnswer {
    QString text;
    QString title;
    bool seen = false;
};

// Waits for the next modal QMessageBox, records it and presses the button.
inline std::shared_ptr<ModalAnswer> AnswerNextMessage(QMessageBox::StandardButton button)
{
    auto answer = std::make_shared<ModalAnswer>();
    auto timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer->text = box->text();
        answer->title = box->windowTitle();
        answer->seen = true;
        timer->stop();
        timer->deleteLater();
        if (QAbstractButton* b = box->button(button))
            b->click();
        else if (!box->buttons().isEmpty())
            box->buttons().first()->click();
    });
    timer->start();
    return answer;
}

// Waits for the next modal dialog that is not a message box (a file chooser, say) and
// cancels it; seen tells whether one came.
inline std::shared_ptr<ModalAnswer> CancelNextDialog()
{
    auto answer = std::make_shared<ModalAnswer>();
    auto timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog || qobject_cast<QMessageBox*>(modal))
            return;
        answer->title = dialog->windowTitle();
        answer->seen = true;
        timer->stop();
        timer->deleteLater();
        dialog->reject();
    });
    timer->start();
    return answer;
}

// The shown dialog window with this title, or null.
inline QWidget* ShownDialog(TMainApp& app, const QString& title)
{
    for (QWidget* w : app.Host().DialogWidgets())
        if (w->windowTitle() == title && w->isVisible())
            return w;
    return nullptr;
}

// Waits, with the event loop running, until done() or about 10 s passed.
template <class F>
bool WaitFor(F done)
{
    for (int k = 0; k < 1000 && !done(); ++k)
        QTest::qWait(10);
    return done();
}
