// The adapters' common part, the choice of adapter by kind, and the two simplest
// kinds: push buttons and read-only text lines.
#include "TFieldWidgets.h"

#include "QtCanvas.h"
#include "ui/TDialogModel.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

// Paints the field's picture, one logical unit per pixel, on a white ground; asks the
// model at paint time, so nothing is drawn once the model is gone.
class TDrawingArea : public QWidget {
public:
    TDrawingArea(int id, TFieldHost& host, int width, int height) : id_(id), host_(host)
    {
        setFixedSize(std::max(width, 1), std::max(height, 1));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        TDialogModel* model = host_.LiveModel();
        const TField* field = model ? model->Find(id_) : nullptr;
        if (!field || !field->paint)
            return;
        QtCanvas canvas(painter, width(), height());
        canvas.MapOntoDevice(width(), height());
        field->paint(canvas);
    }

private:
    int id_;
    TFieldHost& host_;
};
} // namespace

QWidget* TDrawingFieldWidget::Make(const TField& field)
{
    area_ = new TDrawingArea(id_, host_, field.drawWidth, field.drawHeight);
    return area_;
}

void TDrawingFieldWidget::Show(const TField&) { area_->update(); }

std::unique_ptr<TFieldWidget> MakeFieldWidget(const TField& field, TFieldHost& host)
{
    switch (field.kind) {
    case TFieldKind::Double:
    case TFieldKind::Long:
    case TFieldKind::String: return std::make_unique<TValueFieldWidget>(field.id, host);
    case TFieldKind::Note: return std::make_unique<TNoteFieldWidget>(field.id, host);
    case TFieldKind::Check: return std::make_unique<TCheckFieldWidget>(field.id, host);
    case TFieldKind::Radio: return std::make_unique<TRadioFieldWidget>(field.id, host);
    case TFieldKind::Combo: return std::make_unique<TComboFieldWidget>(field.id, host);
    case TFieldKind::List: return std::make_unique<TListFieldWidget>(field.id, host);
    case TFieldKind::Button: return std::make_unique<TButtonFieldWidget>(field.id, host);
    case TFieldKind::Drawn: return std::make_unique<TDrawingFieldWidget>(field.id, host);
    case TFieldKind::Text: break;
    }
    return std::make_unique<TTextFieldWidget>(field.id, host);
}

QLabel* TFieldWidget::CreateLabel(const TField& field)
{
    if (field.label.empty())
        return nullptr;
    label_ = new QLabel(Q(field.label));
    label_->setObjectName(QStringLiteral("label%1").arg(id_));
    return label_;
}

QWidget* TFieldWidget::Create(const TField& field)
{
    editor_ = Make(field);
    editor_->setObjectName(QStringLiteral("field%1").arg(id_));
    return editor_;
}

QLabel* TFieldWidget::CreateUnit(const TField& field)
{
    if (field.unit.empty())
        return nullptr;
    unit_ = new QLabel(Q(field.unit));
    unit_->setObjectName(QStringLiteral("unit%1").arg(id_));
    return unit_;
}

void TFieldWidget::Refresh(const TField& field)
{
    if (!editor_)
        return;
    const bool outer = refreshing_;
    refreshing_ = true;
    for (QWidget* w : {editor_, static_cast<QWidget*>(label_), static_cast<QWidget*>(unit_)}) {
        if (!w)
            continue;
        w->setEnabled(field.enabled);
        // Hidden while the window is built stays hidden; setVisible(true) before the
        // window is shown would make a top-level of an unparented child.
        if (!field.visible)
            w->hide();
        else if (w->isHidden() && w->parentWidget())
            w->show();
    }
    Show(field);
    refreshing_ = outer;
}

void TFieldWidget::Quietly(const std::function<void()>& change)
{
    const bool outer = refreshing_;
    refreshing_ = true;
    change();
    refreshing_ = outer;
}

bool TFieldWidget::Enter()
{
    host_.Forward([](TDialogModel& m) { m.Enter(); });
    return true;
}

QWidget* TButtonFieldWidget::Make(const TField& field)
{
    button_ = new QPushButton(Q(field.text));
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, host_.Receiver(), [this] { Commit(); });
    host_.Watch(button_, id_);
    return button_;
}

void TButtonFieldWidget::Show(const TField& field) { button_->setText(Q(field.text)); }

void TButtonFieldWidget::Commit()
{
    host_.Forward([id = id_](TDialogModel& m) { m.Press(id); });
}

bool TButtonFieldWidget::Enter()
{
    // A focused push button other than OK takes Enter as its own click.
    if (id_ == TBaseDialog::OkId)
        return TFieldWidget::Enter();
    Commit();
    return true;
}

QWidget* TTextFieldWidget::Make(const TField&)
{
    text_ = new QLabel;
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return text_;
}

void TTextFieldWidget::Show(const TField& field) { text_->setText(Q(field.text)); }
