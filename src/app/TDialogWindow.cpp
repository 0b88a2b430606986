#include "TDialogWindow.h"

#include "TDialogLayout.h"
#include "TValueEdit.h"
#include "ui/TDialogModel.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

void AddMenuItems(QMenu* menu, const std::vector<TMenuItem>& items, const std::function<void(int)>& run,
                  std::map<int, QAction*>& actions)
{
    for (const TMenuItem& item : items) {
        if (item.separator()) {
            menu->addSeparator();
        } else if (item.id == 0) {
            AddMenuItems(menu->addMenu(Q(item.text)), item.items, run, actions);
        } else {
            int id = item.id;
            QAction* action = menu->addAction(Q(item.text));
            actions[id] = action;
            QObject::connect(action, &QAction::triggered, menu, [run, id] { run(id); });
        }
    }
}
} // namespace

TDialogWindow::TDialogWindow(TDialogModel& model, QWidget* parent)
    : QWidget(parent, Qt::Tool), model_(model), life_(model.LifeToken())
{
    setWindowTitle(Q(model.title));
    if (model.modal)
        setWindowModality(Qt::ApplicationModal);
    Build();
    Load();
    SetTabOrder();
    FixDesignSize();
    // A dialog the user has placed opens there again; the host places the others.
    if (model.position.Placed())
        move(model.position.x, model.position.y);
    if (QWidget* w = FocusWidget(model.FocusedId()))
        w->setFocus(Qt::OtherFocusReason);
    for (auto& [id, widget] : fields_)
        widget->Opened();
}

TDialogWindow::~TDialogWindow()
{
    // QWidget's destructor, which runs after this one, hides the window and deletes the
    // widgets: the focus moves and the widgets send focus-outs and signals while this
    // object and its field adapters no longer exist. Cut every path from the widgets
    // back to them first: event filters, signal connections (all made through this
    // window, TFieldHost::Receiver) and the callbacks of the value edits.
    for (QObject* child : findChildren<QObject*>()) {
        child->removeEventFilter(this);
        disconnect(child, nullptr, this, nullptr);
        if (auto* edit = dynamic_cast<TValueEdit*>(child))
            edit->Detach();
    }
}

void TDialogWindow::Build()
{
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    if (!model_.menu.empty()) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false); // the dialog's own menu stays in the dialog
        for (const TMenuItem& item : model_.menu) {
            auto run = [this](int id) { Forward([id](TDialogModel& m) { m.Command(id); }); };
            if (item.id == 0 && !item.separator())
                AddMenuItems(menuBar_->addMenu(Q(item.text)), item.items, run, actions_);
            else if (item.id != 0) {
                QAction* action = menuBar_->addAction(Q(item.text));
                actions_[item.id] = action;
                connect(action, &QAction::triggered, this, [run, id = item.id] { run(id); });
            }
        }
        top->setMenuBar(menuBar_);
    }
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    for (const TField& f : model_.Fields())
        fields_[f.id] = MakeFieldWidget(f, *this);
    TDialogLayout layout(*this, [this](int id) { return WidgetOf(id); });
    content_ = layout.Build(model_);
    if (QPushButton* help = layout.HelpButton()) {
        connect(help, &QPushButton::clicked, this, [this] {
            if (ModelAlive())
                model_.Help();
        });
    }
    scroll_->setWidget(content_);
    top->addWidget(scroll_);
}

TFieldWidget* TDialogWindow::WidgetOf(int id) const
{
    auto it = fields_.find(id);
    return it == fields_.end() ? nullptr : it->second.get();
}

// Focus and the dialog keys of the widgets that are not value edits.
void TDialogWindow::Watch(QWidget* widget, int id)
{
    widget->setProperty("tonvekField", id);
    widget->installEventFilter(this);
}

bool TDialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    QVariant property = watched->property("tonvekField");
    if (!property.isValid())
        return QWidget::eventFilter(watched, event);
    const int id = property.toInt();
    switch (event->type()) {
    case QEvent::FocusIn: Forward([id](TDialogModel& m) { m.FocusField(id); }, false); break;
    case QEvent::FocusOut: Forward([id](TDialogModel& m) { m.FocusLeft(id); }, false); break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            Forward([](TDialogModel& m) { m.Escape(); });
            return true;
        }
        // Left and right step what a list's selected line shows; a list has no other use for them.
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            const TField* field = ModelAlive() ? model_.Find(id) : nullptr;
            if (field && field->kind == TFieldKind::List) {
                const int direction = key->key() == Qt::Key_Left ? -1 : 1;
                Forward([id, direction](TDialogModel& m) { m.StepList(id, direction); });
                return true;
            }
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // The field decides: a note keeps Enter for a new line, a button takes it as a click.
            TFieldWidget* widget = WidgetOf(id);
            if (!widget)
                Forward([](TDialogModel& m) { m.Enter(); });
            if (!widget || widget->Enter())
                return true;
        }
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void TDialogWindow::Forward(const std::function<void(TDialogModel&)>& event, bool followFocus)
{
    if (!ModelAlive() || !model_.IsOpen())
        return;
    event(model_);
    if (!ModelAlive())
        return; // the owner destroyed the model when it closed
    if (!model_.IsOpen()) {
        hide();
        return;
    }
    Load();
    if (followFocus)
        SyncFocus();
}

void TDialogWindow::SyncFocus()
{
    QWidget* target = FocusWidget(model_.FocusedId());
    if (!target || !isVisible())
        return;
    QWidget* current = focusWidget();
    if (current == target)
        return;
    if (TFieldWidget* widget = WidgetOf(model_.FocusedId()); widget && widget->HasFocus(current))
        return;
    target->setFocus(Qt::TabFocusReason);
    scroll_->ensureWidgetVisible(target); // also when the dialog was made smaller
}

QWidget* TDialogWindow::FocusWidget(int id) const
{
    TFieldWidget* widget = WidgetOf(id);
    return widget ? widget->FocusWidget() : nullptr;
}

void TDialogWindow::Load()
{
    if (!ModelAlive())
        return;
    for (const TField& f : model_.Fields())
        if (TFieldWidget* widget = WidgetOf(f.id))
            widget->Refresh(f);
    for (auto& [id, action] : actions_)
        action->setEnabled(model_.CommandEnabled(id));
}

void TDialogWindow::SetTabOrder()
{
    QWidget* previous = nullptr;
    for (const TField& f : model_.Fields()) {
        TFieldWidget* widget = WidgetOf(f.id);
        if (!widget)
            continue;
        for (QWidget* w : widget->TabStops()) {
            if (previous)
                QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
}

void TDialogWindow::FixDesignSize()
{
    content_->adjustSize();
    QSize inner = content_->sizeHint();
    content_->setMinimumSize(inner); // smaller windows scroll instead of squeezing
    int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    design_ = QSize(std::max(inner.width(), menuBar_ ? menuBar_->sizeHint().width() : 0), inner.height() + menuHeight);
    // Scroll steps of about 5 dialog units each way.
    QFontMetrics fm(font());
    scroll_->horizontalScrollBar()->setSingleStep(std::max(1, fm.averageCharWidth() * 5 / 4));
    scroll_->verticalScrollBar()->setSingleStep(std::max(1, fm.height() * 5 / 8));
    setMinimumSize(std::min(design_.width(), 80), std::min(design_.height(), 60));
    setMaximumSize(design_); // larger than designed snaps back
    resize(design_);
}

void TDialogWindow::closeEvent(QCloseEvent* event)
{
    // The model decides: it commits the field being edited, then closes.
    event->ignore();
    if (!ModelAlive() || !model_.IsOpen()) {
        event->accept();
        return;
    }
    Forward([](TDialogModel& m) { m.RequestClose(); });
}

void TDialogWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (ModelAlive() && isVisible())
        model_.position = TDialogPosition{x(), y()};
}
