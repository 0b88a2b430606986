// The typed fields: value and text lines in a TValueEdit, and several-line notes.
// Every change of their text goes to the model at once; the model keeps a text within
// its limit, and the widget shows what it kept.
#include "TFieldWidgets.h"
#include "TValueEdit.h"

#include "ui/TDialogModel.h"

#include <QApplication>
#include <QPlainTextEdit>

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

int DefaultChars(const TField& f)
{
    if (f.chars > 0)
        return f.chars;
    switch (f.kind) {
    case TFieldKind::Double:
    case TFieldKind::Long: return 9;
    case TFieldKind::String: return 28;
    case TFieldKind::Note: return 48;
    default: return 0;
    }
}
} // namespace

QWidget* TValueFieldWidget::Make(const TField& field)
{
    text_ = field.kind == TFieldKind::String;
    edit_ = new TValueEdit;
    edit_->SetWidthInChars(DefaultChars(field));
    if (!text_)
        edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit_->onFocusIn = [this] { host_.Forward([id = id_](TDialogModel& m) { m.FocusField(id); }, false); };
    edit_->onFocusOut = [this] { host_.Forward([id = id_](TDialogModel& m) { m.FocusLeft(id); }, false); };
    edit_->onKey = [this](TEditKey key) {
        if (key == TEditKey::Other) {
            if (TDialogModel* model = host_.LiveModel())
                model->Key(id_, key); // only marks the field as typed
            return;
        }
        host_.Forward([id = id_, key](TDialogModel& m) { m.Key(id, key); });
    };
    edit_->onEnter = [this] { Enter(); };
    edit_->onEscape = [this] { host_.Forward([](TDialogModel& m) { m.Escape(); }); };
    QObject::connect(edit_, &QLineEdit::textEdited, host_.Receiver(), [this] { Commit(); });
    return edit_;
}

void TValueFieldWidget::Show(const TField& field)
{
    QString text = Q(field.EditText());
    if (edit_->text() != text)
        edit_->setText(text);
    bool readOnly = (field.kind == TFieldKind::Double && field.dbl.ReadOnly()) ||
                    (field.kind == TFieldKind::Long && field.lng.ReadOnly());
    if (edit_->isReadOnly() != readOnly) {
        edit_->setReadOnly(readOnly);
        // A read-only field looks like one: the window's colour behind the text.
        QPalette palette = edit_->palette();
        palette.setBrush(QPalette::Base, readOnly ? edit_->palette().brush(QPalette::Window)
                                                  : QApplication::palette(edit_).brush(QPalette::Base));
        edit_->setPalette(palette);
    }
}

void TValueFieldWidget::Commit()
{
    TDialogModel* model = host_.LiveModel();
    if (Refreshing() || !model)
        return;
    QString text = edit_->text();
    model->Edit(id_, text.toStdString());
    QString kept = Q(model->Field(id_).EditText());
    if (kept != text) // a text field cut to its limit
        Quietly([&] { edit_->setText(kept); });
}

QWidget* TNoteFieldWidget::Make(const TField& field)
{
    note_ = new QPlainTextEdit;
    note_->setTabChangesFocus(true);
    QFontMetrics fm(note_->font());
    note_->setFixedSize(fm.horizontalAdvance(QString(DefaultChars(field), QLatin1Char('x'))) + 12,
                        fm.lineSpacing() * (field.rows > 0 ? field.rows : 6) + 12);
    QObject::connect(note_, &QPlainTextEdit::textChanged, host_.Receiver(), [this] { Commit(); });
    host_.Watch(note_, id_);
    return note_;
}

void TNoteFieldWidget::Show(const TField& field)
{
    QString text = Q(field.str.Text());
    if (note_->toPlainText() != text)
        note_->setPlainText(text);
}

void TNoteFieldWidget::Commit()
{
    TDialogModel* model = host_.LiveModel();
    if (Refreshing() || !model)
        return;
    QString text = note_->toPlainText();
    model->Edit(id_, text.toStdString());
    QString kept = Q(model->Field(id_).EditText());
    if (kept != text) {
        Quietly([&] {
            note_->setPlainText(kept);
            note_->moveCursor(QTextCursor::End);
        });
    }
}

void TNoteFieldWidget::Opened()
{
    if (note_)
        note_->moveCursor(QTextCursor::Start); // the caret starts at the beginning
}
