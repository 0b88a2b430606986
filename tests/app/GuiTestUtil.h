#pragma once
// Helpers for driving modal message boxes in offscreen GUI tests: a modal box blocks
// in exec(), so the answer is arranged before the action that opens it.

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
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
