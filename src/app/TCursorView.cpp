#include "TCursorView.h"

#include "TToolPlacement.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QTimer>

TCursorView::TCursorView(TFieldSource& model, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
      model_(model)
{
    setWindowTitle(QString::fromStdString(model.Title()));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    int r = 0;
    for (const TFieldSource::TRow& row : model.Rows()) {
        const int ids[3] = {row.caption, row.value, row.unit};
        for (int c = 0; c < 3; ++c) {
            auto* label = new QLabel(this);
            int id = ids[c];
            label->setObjectName(QString("field%1").arg(id));
            if (c == 1) {
                label->setFont(fixed);
                label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                label->setMinimumWidth(label->fontMetrics().horizontalAdvance("-00000.0000"));
            }
            grid->addWidget(label, r, c);
            labels_[id] = label;
            label->setText(QString::fromStdString(model.Field(id)));
        }
        ++r;
    }
    grid->setColumnStretch(1, 1);
    setMinimumWidth(170);
    adjustSize();
    show();
    // Beside the plots it reads from, not on top of them: the project shows its
    // windows after making its cursor readout, so the place is found once they stand.
    if (parent)
        QTimer::singleShot(0, this, [this] {
            QSize frame = frameGeometry().size();
            if (frame == size())
                frame += QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
            move(TToolPlacement::Beside(*parentWidget()->window(), frame, this));
        });
}

void TCursorView::FieldChanged(int id)
{
    auto it = labels_.find(id);
    if (it != labels_.end())
        it->second->setText(QString::fromStdString(model_.Field(id)));
}

QString TCursorView::FieldText(int id) const
{
    auto it = labels_.find(id);
    return it == labels_.end() ? QString() : it->second->text();
}

void TCursorView::closeEvent(QCloseEvent* event)
{
    event->ignore();
    model_.CloseRequested();
}

namespace {
// Ties the source to its widget: the widget may die first with its parent window, so
// the link holds it weakly and deletes it only while it lives.
class TCursorViewLink : public TFieldView {
public:
    explicit TCursorViewLink(TCursorView* view) : view_(view) {}
    ~TCursorViewLink() override { delete view_.data(); }
    void FieldChanged(int id) override
    {
        if (view_)
            view_->FieldChanged(id);
    }
    TCursorView* View() const { return view_.data(); }

private:
    QPointer<TCursorView> view_;
};
} // namespace

std::unique_ptr<TFieldView> TCursorView::Create(TFieldSource& model, QWidget* parent)
{
    return std::make_unique<TCursorViewLink>(new TCursorView(model, parent));
}

TCursorView* TCursorView::Of(const TFieldView* view)
{
    auto* link = dynamic_cast<const TCursorViewLink*>(view);
    return link ? link->View() : nullptr;
}
