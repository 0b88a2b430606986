#include "TValueEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

TValueEdit::TValueEdit(QWidget* parent) : QLineEdit(parent) {}

void TValueEdit::Detach()
{
    onFocusIn = nullptr;
    onFocusOut = nullptr;
    onKey = nullptr;
    onEnter = nullptr;
    onEscape = nullptr;
}

void TValueEdit::SetWidthInChars(int chars)
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    QSize text(fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))), fontMetrics().height());
    QMargins margins = textMargins();
    text += QSize(margins.left() + margins.right() + 4, margins.top() + margins.bottom());
    QSize size = style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this);
    setFixedWidth(size.width());
}

void TValueEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (onFocusIn)
        onFocusIn();
}

void TValueEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (onFocusOut)
        onFocusOut();
}

void TValueEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (onEnter)
            onEnter();
        event->accept();
        return;
    case Qt::Key_Escape:
        if (onEscape)
            onEscape();
        event->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        if (onKey)
            onKey(event->key() == Qt::Key_Up ? TEditKey::Up : TEditKey::Down);
        event->accept();
        return;
    default: break;
    }
    if (onKey && !event->text().isEmpty())
        onKey(TEditKey::Other);
    QLineEdit::keyPressEvent(event);
}
