#include "TDialogLayout.h"

#include "TFieldWidgets.h"
#include "ui/TDialogModel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

QWidget* TDialogLayout::Build(const TDialogModel& model)
{
    auto* content = new QWidget;
    outer_ = new QVBoxLayout(content);
    columns_ = new QHBoxLayout;
    outer_->addLayout(columns_);

    std::vector<const TField*> bottom;
    for (const TField& f : model.Fields()) {
        if (f.kind == TFieldKind::Button && f.bottom) {
            bottom.push_back(&f);
            continue;
        }
        if (!grid_ || f.section != section_)
            StartSection(f);
        if (f.beside && row_ >= 0) {
            ++block_;
        } else {
            ++row_;
            block_ = 0;
        }
        if (TFieldWidget* widget = widgetOf_(f.id)) {
            AddField(*widget, f);
            if (block_ == 0 && widget->Label())
                captions_[f.column].back().second =
                    std::max(captions_[f.column].back().second, widget->Label()->sizeHint().width());
        }
    }
    for (auto& [index, column] : columnLayouts_)
        column->addStretch(1);
    LineUpCaptions();
    AddButtonRow(model, bottom);
    return content;
}

void TDialogLayout::StartSection(const TField& f)
{
    section_ = f.section;
    QVBoxLayout*& column = columnLayouts_[f.column];
    if (!column) {
        column = new QVBoxLayout;
        columns_->addLayout(column);
    }
    QWidget* box = nullptr;
    if (!f.group.empty())
        box = new QGroupBox(QString::fromStdString(f.group));
    else
        box = new QWidget;
    grid_ = new QGridLayout(box);
    if (f.group.empty())
        grid_->setContentsMargins(0, 0, 0, 0);
    captions_[f.column].emplace_back(grid_, 0);
    column->addWidget(box);
    row_ = -1;
}

void TDialogLayout::AddField(TFieldWidget& widget, const TField& f)
{
    // Four grid columns per field on a row: gap | label | editor | unit.
    const int gap = block_ * 4;
    const int column = gap + 1;
    QStyle* style = window_.style();
    if (block_ > 0)
        grid_->setColumnMinimumWidth(gap, 2 * style->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
    if (QLabel* label = widget.CreateLabel(f)) {
        auto align = Qt::Alignment(style->styleHint(QStyle::SH_FormLayoutLabelAlignment));
        grid_->addWidget(label, row_, column,
                         (align & Qt::AlignHorizontal_Mask) | (widget.Tall() ? Qt::AlignTop : Qt::AlignVCenter));
    }
    QWidget* editor = widget.Create(f);
    // Everything but number fields may use the unit column too, so that the editor
    // column is as wide as the number fields and their units stand right after them.
    if (f.label.empty() && widget.TakesCaptionColumn()) {
        // Check boxes, choices, lists, buttons and texts without a caption start at
        // the caption column, as in a form.
        grid_->addWidget(editor, row_, column, 1, f.unit.empty() ? 3 : 2, Qt::AlignLeft | Qt::AlignVCenter);
    } else if (widget.SpansUnitColumn() && f.unit.empty()) {
        grid_->addWidget(editor, row_, column + 1, 1, 2, widget.SpanAlignment());
    } else {
        grid_->addWidget(editor, row_, column + 1);
    }
    if (QLabel* unit = widget.CreateUnit(f))
        grid_->addWidget(unit, row_, column + 2, Qt::AlignLeft | Qt::AlignVCenter);
    if (QLabel* label = widget.Label())
        label->setBuddy(widget.FocusWidget() ? widget.FocusWidget() : editor);
}

void TDialogLayout::LineUpCaptions()
{
    for (auto& [index, grids] : captions_) {
        int widest = 0;
        for (auto& [g, width] : grids)
            widest = std::max(widest, width);
        for (auto& [g, width] : grids)
            g->setColumnMinimumWidth(1, widest);
    }
}

void TDialogLayout::AddButtonRow(const TDialogModel& model, const std::vector<const TField*>& buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (const TField* f : buttons)
        if (TFieldWidget* widget = widgetOf_(f->id))
            row->addWidget(widget->Create(*f));
    if (!model.HelpFile().empty()) {
        help_ = new QPushButton(QStringLiteral("?"));
        help_->setObjectName(QStringLiteral("help"));
        help_->setFocusPolicy(Qt::NoFocus);
        help_->setToolTip(QWidget::tr("Help"));
        help_->setFixedWidth(help_->sizeHint().height());
        row->addWidget(help_);
    }
    if (row->count() > 1)
        outer_->addLayout(row);
    else
        delete row;
}
