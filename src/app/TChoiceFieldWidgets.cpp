// The fields the user chooses in: check boxes, radio groups, combo boxes and lists.
// A choice commits at once.
#include "TFieldWidgets.h"

#include "ui/TDialogModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

QStringList Items(const TField& field)
{
    QStringList items;
    for (const std::string& item : field.items)
        items << Q(item);
    return items;
}
} // namespace

QWidget* TCheckFieldWidget::Make(const TField& field)
{
    check_ = new QCheckBox(Q(field.text));
    QObject::connect(check_, &QCheckBox::clicked, host_.Receiver(), [this] { Commit(); });
    host_.Watch(check_, id_);
    return check_;
}

void TCheckFieldWidget::Show(const TField& field)
{
    check_->setText(Q(field.text));
    check_->setChecked(field.checked);
}

void TCheckFieldWidget::Commit()
{
    host_.Forward([id = id_, on = check_->isChecked()](TDialogModel& m) { m.Toggle(id, on); });
}

QWidget* TRadioFieldWidget::Make(const TField& field)
{
    horizontal_ = field.horizontal;
    auto* box = new QWidget;
    QBoxLayout* layout = horizontal_ ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                     : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    layout->setContentsMargins(0, 0, 0, 0);
    group_ = new QButtonGroup(box);
    for (std::size_t i = 0; i < field.items.size(); ++i) {
        auto* radio = new QRadioButton(Q(field.items[i]));
        radio->setObjectName(QStringLiteral("field%1_%2").arg(id_).arg(i));
        group_->addButton(radio, static_cast<int>(i));
        choices_.push_back(radio);
        layout->addWidget(radio);
        host_.Watch(radio, id_);
    }
    QObject::connect(group_, &QButtonGroup::idClicked, host_.Receiver(), [this] { Commit(); });
    return box;
}

void TRadioFieldWidget::Show(const TField& field)
{
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        choices_[i]->setChecked(static_cast<int>(i) == field.selected);
        choices_[i]->setEnabled(field.ItemEnabled(static_cast<int>(i)));
        choices_[i]->setVisible(field.ItemVisible(static_cast<int>(i)));
    }
    if (field.selected < 0 && group_->checkedButton()) {
        group_->setExclusive(false);
        group_->checkedButton()->setChecked(false);
        group_->setExclusive(true);
    }
}

void TRadioFieldWidget::Commit()
{
    host_.Forward([id = id_, index = group_->checkedId()](TDialogModel& m) { m.Select(id, index); });
}

QWidget* TRadioFieldWidget::FocusWidget() const
{
    if (!group_)
        return Editor();
    if (QAbstractButton* checked = group_->checkedButton())
        return checked;
    return choices_.empty() ? nullptr : choices_.front();
}

std::vector<QWidget*> TRadioFieldWidget::TabStops() const { return {choices_.begin(), choices_.end()}; }

bool TRadioFieldWidget::HasFocus(const QWidget* widget) const
{
    // A radio group has the focus when any of its buttons has it.
    return widget && std::find(choices_.begin(), choices_.end(), widget) != choices_.end();
}

QWidget* TComboFieldWidget::Make(const TField&)
{
    combo_ = new QComboBox;
    QObject::connect(combo_, &QComboBox::activated, host_.Receiver(), [this] { Commit(); });
    host_.Watch(combo_, id_);
    return combo_;
}

void TComboFieldWidget::Show(const TField& field)
{
    QStringList items = Items(field);
    QStringList shown;
    for (int i = 0; i < combo_->count(); ++i)
        shown << combo_->itemText(i);
    if (shown != items) {
        combo_->clear();
        combo_->addItems(items);
    }
    combo_->setCurrentIndex(field.selected);
}

void TComboFieldWidget::Commit()
{
    host_.Forward([id = id_, index = combo_->currentIndex()](TDialogModel& m) { m.Select(id, index); });
}

QWidget* TListFieldWidget::Make(const TField& field)
{
    list_ = new QListWidget;
    QFontMetrics fm(list_->font());
    list_->setFixedHeight(fm.lineSpacing() * (field.rows > 0 ? field.rows : 6) + 8);
    QObject::connect(list_, &QListWidget::currentRowChanged, host_.Receiver(), [this] { Commit(); });
    QObject::connect(list_, &QListWidget::itemDoubleClicked, host_.Receiver(),
                     [this] { host_.Forward([id = id_](TDialogModel& m) { m.Activate(id); }); });
    host_.Watch(list_, id_);
    return list_;
}

void TListFieldWidget::Show(const TField& field)
{
    QStringList items = Items(field);
    QStringList shown;
    for (int i = 0; i < list_->count(); ++i)
        shown << list_->item(i)->text();
    if (shown != items) {
        list_->clear();
        list_->addItems(items);
    }
    list_->setCurrentRow(field.selected);
}

void TListFieldWidget::Commit()
{
    if (!Refreshing())
        host_.Forward([id = id_, index = list_->currentRow()](TDialogModel& m) { m.Select(id, index); });
}
