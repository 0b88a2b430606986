#include "TDialogWindow.h"

#include "TValueEdit.h"
#include "ui/TDialogModel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

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

void AddMenuItems(QMenu* menu, const std::vector<TMenuItem>& items, const std::function<void(int)>& run)
{
    for (const TMenuItem& item : items) {
        if (item.separator()) {
            menu->addSeparator();
        } else if (item.id == 0) {
            AddMenuItems(menu->addMenu(Q(item.text)), item.items, run);
        } else {
            int id = item.id;
            QObject::connect(menu->addAction(Q(item.text)), &QAction::triggered, menu, [run, id] { run(id); });
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
    for (auto& [id, parts] : parts_)
        if (auto* note = qobject_cast<QPlainTextEdit*>(parts.editor))
            note->moveCursor(QTextCursor::Start); // the caret starts at the beginning
}

TDialogWindow::~TDialogWindow()
{
    // QWidget's destructor, which runs after this one, hides the window and deletes the
    // widgets: the focus moves and the widgets send focus-outs and signals while this
    // object no longer exists. Cut every path from the widgets back to it first.
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
                AddMenuItems(menuBar_->addMenu(Q(item.text)), item.items, run);
            else if (item.id != 0)
                connect(menuBar_->addAction(Q(item.text)), &QAction::triggered, this, [run, id = item.id] { run(id); });
        }
        top->setMenuBar(menuBar_);
    }
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    content_ = BuildSections();
    scroll_->setWidget(content_);
    top->addWidget(scroll_);
}

QWidget* TDialogWindow::BuildSections()
{
    auto* content = new QWidget;
    auto* outer = new QVBoxLayout(content);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns);
    std::map<int, QVBoxLayout*> columnLayouts;
    // Widest first-caption per section, to line the sections of a column up.
    std::map<int, std::vector<std::pair<QGridLayout*, int>>> captions;

    QGridLayout* grid = nullptr;
    int section = -1;
    int row = -1;
    int block = 0;
    std::vector<const TField*> bottom;
    for (const TField& f : model_.Fields()) {
        if (f.kind == TFieldKind::Button && f.bottom) {
            bottom.push_back(&f);
            continue;
        }
        if (!grid || f.section != section) {
            section = f.section;
            QVBoxLayout*& column = columnLayouts[f.column];
            if (!column) {
                column = new QVBoxLayout;
                columns->addLayout(column);
            }
            QWidget* box = nullptr;
            if (!f.group.empty())
                box = new QGroupBox(Q(f.group));
            else
                box = new QWidget;
            grid = new QGridLayout(box);
            if (f.group.empty())
                grid->setContentsMargins(0, 0, 0, 0);
            captions[f.column].emplace_back(grid, 0);
            column->addWidget(box);
            row = -1;
        }
        if (f.beside && row >= 0) {
            ++block;
        } else {
            ++row;
            block = 0;
        }
        AddField(grid, row, block, f);
        const Parts& added = parts_[f.id];
        if (block == 0 && added.label)
            captions[f.column].back().second =
                std::max(captions[f.column].back().second, added.label->sizeHint().width());
    }
    for (auto& [index, column] : columnLayouts)
        column->addStretch(1);
    for (auto& [index, grids] : captions) {
        int widest = 0;
        for (auto& [g, width] : grids)
            widest = std::max(widest, width);
        for (auto& [g, width] : grids)
            g->setColumnMinimumWidth(1, widest);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const TField* f : bottom) {
        Parts& parts = parts_[f->id];
        parts.editor = MakeEditor(*f, parts);
        buttons->addWidget(parts.editor);
    }
    if (!model_.HelpFile().empty()) {
        auto* help = new QPushButton(QStringLiteral("?"));
        help->setObjectName(QStringLiteral("help"));
        help->setFocusPolicy(Qt::NoFocus);
        help->setToolTip(tr("Help"));
        int side = help->sizeHint().height();
        help->setFixedWidth(side);
        connect(help, &QPushButton::clicked, this, [this] {
            if (ModelAlive())
                model_.Help();
        });
        buttons->addWidget(help);
    }
    if (buttons->count() > 1)
        outer->addLayout(buttons);
    else
        delete buttons;
    return content;
}

void TDialogWindow::AddField(QGridLayout* grid, int row, int block, const TField& f)
{
    // Four grid columns per field on a row: gap | label | editor | unit.
    Parts& parts = parts_[f.id];
    const int gap = block * 4;
    const int column = gap + 1;
    if (block > 0)
        grid->setColumnMinimumWidth(gap, 2 * style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
    const bool tall = (f.kind == TFieldKind::Radio && !f.horizontal) || f.kind == TFieldKind::List ||
                      f.kind == TFieldKind::Note;
    if (!f.label.empty()) {
        parts.label = new QLabel(Q(f.label));
        parts.label->setObjectName(QStringLiteral("label%1").arg(f.id));
        auto align = Qt::Alignment(style()->styleHint(QStyle::SH_FormLayoutLabelAlignment));
        grid->addWidget(parts.label, row, column,
                        (align & Qt::AlignHorizontal_Mask) | (tall ? Qt::AlignTop : Qt::AlignVCenter));
    }
    parts.editor = MakeEditor(f, parts);
    // Everything but number fields may use the unit column too, so that the editor
    // column is as wide as the number fields and their units stand right after them.
    const bool wide = f.kind != TFieldKind::Double && f.kind != TFieldKind::Long && f.kind != TFieldKind::Button;
    if (f.label.empty() && f.kind != TFieldKind::Double && f.kind != TFieldKind::Long &&
        f.kind != TFieldKind::String && f.kind != TFieldKind::Combo) {
        // Check boxes, choices, lists, buttons and texts without a caption start at
        // the caption column, as in a form.
        grid->addWidget(parts.editor, row, column, 1, f.unit.empty() ? 3 : 2, Qt::AlignLeft | Qt::AlignVCenter);
    } else if (wide && f.unit.empty()) {
        grid->addWidget(parts.editor, row, column + 1, 1, 2,
                        f.kind == TFieldKind::Combo ? Qt::AlignLeft | Qt::AlignVCenter : Qt::Alignment());
    } else {
        grid->addWidget(parts.editor, row, column + 1);
    }
    if (!f.unit.empty()) {
        parts.unit = new QLabel(Q(f.unit));
        parts.unit->setObjectName(QStringLiteral("unit%1").arg(f.id));
        grid->addWidget(parts.unit, row, column + 2, Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (parts.label && parts.editor)
        parts.label->setBuddy(FocusWidget(f.id) ? FocusWidget(f.id) : parts.editor);
}

QWidget* TDialogWindow::MakeEditor(const TField& f, Parts& parts)
{
    const int id = f.id;
    QWidget* editor = nullptr;
    switch (f.kind) {
    case TFieldKind::Double:
    case TFieldKind::Long:
    case TFieldKind::String: {
        auto* edit = new TValueEdit;
        edit->SetWidthInChars(DefaultChars(f));
        if (f.kind != TFieldKind::String)
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->onFocusIn = [this, id] { Forward([id](TDialogModel& m) { m.FocusField(id); }, false); };
        edit->onFocusOut = [this, id] { Forward([id](TDialogModel& m) { m.FocusLeft(id); }, false); };
        edit->onKey = [this, id](TEditKey key) {
            if (key == TEditKey::Other) {
                if (ModelAlive())
                    model_.Key(id, key); // only marks the field as typed
                return;
            }
            Forward([id, key](TDialogModel& m) { m.Key(id, key); });
        };
        edit->onEnter = [this] { Forward([](TDialogModel& m) { m.Enter(); }); };
        edit->onEscape = [this] { Forward([](TDialogModel& m) { m.Escape(); }); };
        connect(edit, &QLineEdit::textEdited, this, [this, id, edit](const QString& text) {
            if (loading_ || !ModelAlive())
                return;
            model_.Edit(id, text.toStdString());
            QString kept = Q(model_.Field(id).EditText());
            if (kept != text) { // a text field cut to its limit
                loading_ = true;
                edit->setText(kept);
                loading_ = false;
            }
        });
        editor = edit;
        break;
    }
    case TFieldKind::Note: {
        auto* note = new QPlainTextEdit;
        note->setTabChangesFocus(true);
        QFontMetrics fm(note->font());
        note->setFixedSize(fm.horizontalAdvance(QString(DefaultChars(f), QLatin1Char('x'))) + 12,
                           fm.lineSpacing() * (f.rows > 0 ? f.rows : 6) + 12);
        connect(note, &QPlainTextEdit::textChanged, this, [this, id, note] {
            if (loading_ || !ModelAlive())
                return;
            QString text = note->toPlainText();
            model_.Edit(id, text.toStdString());
            QString kept = Q(model_.Field(id).EditText());
            if (kept != text) {
                loading_ = true;
                note->setPlainText(kept);
                note->moveCursor(QTextCursor::End);
                loading_ = false;
            }
        });
        Watch(note, id);
        editor = note;
        break;
    }
    case TFieldKind::Check: {
        auto* check = new QCheckBox(Q(f.text));
        connect(check, &QCheckBox::clicked, this,
                [this, id](bool on) { Forward([id, on](TDialogModel& m) { m.Toggle(id, on); }); });
        Watch(check, id);
        editor = check;
        break;
    }
    case TFieldKind::Radio: {
        auto* box = new QWidget;
        QBoxLayout* layout = f.horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                          : static_cast<QBoxLayout*>(new QVBoxLayout(box));
        layout->setContentsMargins(0, 0, 0, 0);
        parts.radios = new QButtonGroup(box);
        for (std::size_t i = 0; i < f.items.size(); ++i) {
            auto* radio = new QRadioButton(Q(f.items[i]));
            radio->setObjectName(QStringLiteral("field%1_%2").arg(id).arg(i));
            parts.radios->addButton(radio, static_cast<int>(i));
            parts.choices.push_back(radio);
            layout->addWidget(radio);
            Watch(radio, id);
        }
        connect(parts.radios, &QButtonGroup::idClicked, this,
                [this, id](int index) { Forward([id, index](TDialogModel& m) { m.Select(id, index); }); });
        editor = box;
        break;
    }
    case TFieldKind::Combo: {
        auto* combo = new QComboBox;
        connect(combo, &QComboBox::activated, this,
                [this, id](int index) { Forward([id, index](TDialogModel& m) { m.Select(id, index); }); });
        Watch(combo, id);
        editor = combo;
        break;
    }
    case TFieldKind::List: {
        auto* list = new QListWidget;
        QFontMetrics fm(list->font());
        list->setFixedHeight(fm.lineSpacing() * (f.rows > 0 ? f.rows : 6) + 8);
        connect(list, &QListWidget::currentRowChanged, this, [this, id](int index) {
            if (!loading_)
                Forward([id, index](TDialogModel& m) { m.Select(id, index); });
        });
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, id] { Forward([id](TDialogModel& m) { m.Activate(id); }); });
        Watch(list, id);
        editor = list;
        break;
    }
    case TFieldKind::Button: {
        auto* button = new QPushButton(Q(f.text));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, id] { Forward([id](TDialogModel& m) { m.Press(id); }); });
        Watch(button, id);
        editor = button;
        break;
    }
    case TFieldKind::Text: {
        auto* text = new QLabel;
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        editor = text;
        break;
    }
    }
    editor->setObjectName(QStringLiteral("field%1").arg(id));
    return editor;
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
        bool note = qobject_cast<QPlainTextEdit*>(watched) != nullptr;
        if (key->key() == Qt::Key_Escape) {
            Forward([](TDialogModel& m) { m.Escape(); });
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !note) {
            // A focused push button other than OK takes Enter as its own click.
            const TField* f = ModelAlive() ? model_.Find(id) : nullptr;
            if (f && f->kind == TFieldKind::Button && id != TBaseDialog::OkId)
                Forward([id](TDialogModel& m) { m.Press(id); });
            else
                Forward([](TDialogModel& m) { m.Enter(); });
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
    // A radio group has the focus when any of its buttons has it.
    auto it = parts_.find(model_.FocusedId());
    if (it != parts_.end() && current &&
        std::find(it->second.choices.begin(), it->second.choices.end(), current) != it->second.choices.end())
        return;
    target->setFocus(Qt::TabFocusReason);
    scroll_->ensureWidgetVisible(target); // also when the dialog was made smaller
}

QWidget* TDialogWindow::FocusWidget(int id) const
{
    auto it = parts_.find(id);
    if (it == parts_.end())
        return nullptr;
    const Parts& parts = it->second;
    if (parts.radios) {
        if (QAbstractButton* checked = parts.radios->checkedButton())
            return checked;
        return parts.choices.empty() ? nullptr : parts.choices.front();
    }
    return parts.editor;
}

void TDialogWindow::Load()
{
    if (!ModelAlive())
        return;
    loading_ = true;
    for (const TField& f : model_.Fields()) {
        auto it = parts_.find(f.id);
        if (it != parts_.end())
            LoadField(f, it->second);
    }
    loading_ = false;
}

void TDialogWindow::LoadField(const TField& f, Parts& parts)
{
    QWidget* editor = parts.editor;
    if (!editor)
        return;
    for (QWidget* w : {editor, static_cast<QWidget*>(parts.label), static_cast<QWidget*>(parts.unit)}) {
        if (!w)
            continue;
        w->setEnabled(f.enabled);
        // Hidden while the window is built stays hidden; setVisible(true) before the
        // window is shown would make a top-level of an unparented child.
        if (!f.visible)
            w->hide();
        else if (w->isHidden() && w->parentWidget())
            w->show();
    }
    switch (f.kind) {
    case TFieldKind::Double:
    case TFieldKind::Long:
    case TFieldKind::String: {
        auto* edit = static_cast<TValueEdit*>(editor);
        QString text = Q(f.EditText());
        if (edit->text() != text)
            edit->setText(text);
        bool readOnly = (f.kind == TFieldKind::Double && f.dbl.ReadOnly()) ||
                        (f.kind == TFieldKind::Long && f.lng.ReadOnly());
        if (edit->isReadOnly() != readOnly) {
            edit->setReadOnly(readOnly);
            // A read-only field looks like one: the window's colour behind the text.
            QPalette palette = edit->palette();
            palette.setBrush(QPalette::Base, readOnly ? edit->palette().brush(QPalette::Window)
                                                      : QApplication::palette(edit).brush(QPalette::Base));
            edit->setPalette(palette);
        }
        break;
    }
    case TFieldKind::Note: {
        auto* note = static_cast<QPlainTextEdit*>(editor);
        QString text = Q(f.str.Text());
        if (note->toPlainText() != text)
            note->setPlainText(text);
        break;
    }
    case TFieldKind::Check: {
        auto* check = static_cast<QCheckBox*>(editor);
        check->setText(Q(f.text));
        check->setChecked(f.checked);
        break;
    }
    case TFieldKind::Radio:
        for (std::size_t i = 0; i < parts.choices.size(); ++i) {
            parts.choices[i]->setChecked(static_cast<int>(i) == f.selected);
            parts.choices[i]->setEnabled(f.enabled);
        }
        if (f.selected < 0 && parts.radios->checkedButton()) {
            parts.radios->setExclusive(false);
            parts.radios->checkedButton()->setChecked(false);
            parts.radios->setExclusive(true);
        }
        break;
    case TFieldKind::Combo: {
        auto* combo = static_cast<QComboBox*>(editor);
        QStringList items;
        for (const std::string& item : f.items)
            items << Q(item);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        if (shown != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(f.selected);
        break;
    }
    case TFieldKind::List: {
        auto* list = static_cast<QListWidget*>(editor);
        QStringList items;
        for (const std::string& item : f.items)
            items << Q(item);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        if (shown != items) {
            list->clear();
            list->addItems(items);
        }
        list->setCurrentRow(f.selected);
        break;
    }
    case TFieldKind::Button: static_cast<QPushButton*>(editor)->setText(Q(f.text)); break;
    case TFieldKind::Text: static_cast<QLabel*>(editor)->setText(Q(f.text)); break;
    }
}

void TDialogWindow::SetTabOrder()
{
    QWidget* previous = nullptr;
    for (const TField& f : model_.Fields()) {
        auto it = parts_.find(f.id);
        if (it == parts_.end() || f.kind == TFieldKind::Text)
            continue;
        const Parts& parts = it->second;
        std::vector<QWidget*> widgets;
        if (parts.radios)
            widgets.assign(parts.choices.begin(), parts.choices.end());
        else
            widgets.push_back(parts.editor);
        for (QWidget* w : widgets) {
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
