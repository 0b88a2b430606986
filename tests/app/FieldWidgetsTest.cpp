// Each field kind's adapter on its own, with a stand-in for the dialog window: the
// widget it makes, a model change refreshed into it (which commits nothing), and a
// user action committed back to the model. Then what Enter means in each kind, and
// where the layout puts a field without a caption.
#include "DialogTestUtil.h"

#include "app/TFieldWidgets.h"
#include "app/TValueEdit.h"
#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Id = 7;

class OneField : public TDialogModel {
public:
    explicit OneField(THost& host) : TDialogModel(host, "One field")
    {
        onFieldChanged = [this](int id) { changed.push_back(id); };
        onCommand = [this](int id) { commands.push_back(id); };
    }
    std::vector<int> changed;
    std::vector<int> commands;
};

// What the window does for an adapter, reduced to one field: run the event, show the result.
class StandInHost : public TFieldHost {
public:
    explicit StandInHost(TDialogModel& model) : model_(model) {}
    void Forward(const std::function<void(TDialogModel&)>& event, bool) override
    {
        if (!model_.IsOpen())
            return;
        ++forwarded;
        event(model_);
        if (widget && model_.IsOpen())
            widget->Refresh(model_.Field(widget->Id()));
    }
    TDialogModel* LiveModel() override { return &model_; }
    void Watch(QWidget*, int id) override { watched.push_back(id); }
    QObject* Receiver() override { return &receiver_; }

    TFieldWidget* widget = nullptr;
    int forwarded = 0;
    std::vector<int> watched;

private:
    TDialogModel& model_;
    QObject receiver_;
};

// A field's adapter with its widgets in a shown window.
struct Fixture {
    explicit Fixture(const std::function<void(OneField&)>& add)
    {
        add(model);
        model.Open();
        const TField& field = model.Field(Id);
        widget = MakeFieldWidget(field, host);
        host.widget = widget.get();
        auto* layout = new QVBoxLayout(&window);
        if (QLabel* label = widget->CreateLabel(field))
            layout->addWidget(label);
        editor = widget->Create(field);
        layout->addWidget(editor);
        if (QLabel* unit = widget->CreateUnit(field))
            layout->addWidget(unit);
        widget->Refresh(field);
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }
    // The window goes first; its focus-out still reaches the adapter, which shows nothing more.
    ~Fixture() { host.widget = nullptr; }
    void Refresh() { widget->Refresh(model.Field(Id)); }

    THeadlessHost dialogs;
    OneField model{dialogs};
    StandInHost host{model};
    std::unique_ptr<TFieldWidget> widget;
    QWidget window;
    QWidget* editor = nullptr;
    bool exposed = false;
};

template <class T> T* As(QWidget* w) { return dynamic_cast<T*>(w); }

QString LineText(QWidget* w) { return As<QLineEdit>(w) ? As<QLineEdit>(w)->text() : QString(); }

// Typing into a line edit the way a user does: the field has the focus, the text is
// replaced, the focus leaves.
void TypeAndLeave(QWidget* w, const QString& text)
{
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w, &in);
    As<QLineEdit>(w)->selectAll();
    QTest::keyClicks(w, text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

void ClickIndicator(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }

QRadioButton* Choice(QWidget* editor, int i)
{
    return editor->findChild<QRadioButton*>(QStringLiteral("field%1_%2").arg(Id).arg(i));
}

struct KindCase {
    const char* name;
    std::function<void(OneField&)> add;
    std::size_t tabStops;
    std::function<bool(QWidget*)> made;                 // the right widget, showing the field
    std::function<void(OneField&)> change;              // from outside, as onLoad would
    std::function<bool(QWidget*)> shown;                // the change in the widget
    std::function<void(QWidget*)> userAction;           // nullptr: the user cannot change it
    std::function<bool(const OneField&, QWidget*)> committed;
};

const std::vector<KindCase>& KindCases()
{
    static const std::vector<KindCase> cases = {
        {"double", [](OneField& m) { m.AddDouble(Id, "&Level", "V", "%3.2f", 0, 100, 2.5); }, 1,
         [](QWidget* w) { return As<TValueEdit>(w) && LineText(w) == "2.50" && (As<QLineEdit>(w)->alignment() & Qt::AlignRight); },
         [](OneField& m) { m.Dbl(Id).SetValue(12); },
         [](QWidget* w) { return LineText(w) == "12.00"; },
         [](QWidget* w) { TypeAndLeave(w, "4,5"); },
         [](const OneField& m, QWidget* w) { return m.Field(Id).dbl.Value() == 4.5 && LineText(w) == "4.50"; }},
        {"long steps with the arrow keys", [](OneField& m) { m.AddLong(Id, "&Count", "", "%ld", 0, 50, 3, 5); }, 1,
         [](QWidget* w) { return As<TValueEdit>(w) && LineText(w) == "3"; },
         [](OneField& m) { m.Long(Id).SetValue(20); },
         [](QWidget* w) { return LineText(w) == "20"; },
         [](QWidget* w) { QTest::keyClick(w, Qt::Key_Up); },
         [](const OneField& m, QWidget* w) { return m.Field(Id).lng.Value() == 25 && LineText(w) == "25"; }},
        {"string keeps its limit", [](OneField& m) { m.AddString(Id, "&Name", 8, "abc"); }, 1,
         [](QWidget* w) { return As<TValueEdit>(w) && LineText(w) == "abc"; },
         [](OneField& m) { m.SetText(Id, "xyz"); },
         [](QWidget* w) { return LineText(w) == "xyz"; },
         [](QWidget* w) { TypeAndLeave(w, "abcdefghijk"); },
         [](const OneField& m, QWidget* w) { return m.Field(Id).str.Text() == "abcdefgh" && LineText(w) == "abcdefgh"; }},
        {"note keeps its limit", [](OneField& m) { m.AddNote(Id, "", 10, "one"); }, 1,
         [](QWidget* w) { return As<QPlainTextEdit>(w) && As<QPlainTextEdit>(w)->toPlainText() == "one"; },
         [](OneField& m) { m.SetText(Id, "two\nthree"); },
         [](QWidget* w) { return As<QPlainTextEdit>(w)->toPlainText() == "two\nthree"; },
         [](QWidget* w) { As<QPlainTextEdit>(w)->selectAll(); QTest::keyClicks(w, "abcdefghijkl"); },
         [](const OneField& m, QWidget* w) {
             return m.Field(Id).EditText() == "abcdefghij" && As<QPlainTextEdit>(w)->toPlainText() == "abcdefghij";
         }},
        {"check box", [](OneField& m) { m.AddCheck(Id, "", "&Loud", false); }, 1,
         [](QWidget* w) { return As<QCheckBox>(w) && As<QCheckBox>(w)->text() == "&Loud" && !As<QCheckBox>(w)->isChecked(); },
         [](OneField& m) { m.SetChecked(Id, true); m.SetText(Id, "&Quiet"); },
         [](QWidget* w) { return As<QCheckBox>(w)->isChecked() && As<QCheckBox>(w)->text() == "&Quiet"; },
         [](QWidget* w) { ClickIndicator(w); },
         [](const OneField& m, QWidget* w) { return !m.Checked(Id) && !As<QCheckBox>(w)->isChecked(); }},
        {"radio group", [](OneField& m) { m.AddRadio(Id, "Mode", {"One", "Two", "Three"}, 0); }, 3,
         [](QWidget* w) { return Choice(w, 0) && Choice(w, 0)->isChecked() && Choice(w, 2)->text() == "Three"; },
         [](OneField& m) { m.SetSelected(Id, 2); },
         [](QWidget* w) { return Choice(w, 2)->isChecked() && !Choice(w, 0)->isChecked(); },
         [](QWidget* w) { ClickIndicator(Choice(w, 1)); },
         [](const OneField& m, QWidget* w) { return m.Selected(Id) == 1 && Choice(w, 1)->isChecked(); }},
        {"combo box", [](OneField& m) { m.AddCombo(Id, "Kind", {"A", "B"}, 0); }, 1,
         [](QWidget* w) { return As<QComboBox>(w) && As<QComboBox>(w)->count() == 2 && As<QComboBox>(w)->currentIndex() == 0; },
         [](OneField& m) { m.SetItems(Id, {"A", "B", "C"}, 2); },
         [](QWidget* w) { return As<QComboBox>(w)->count() == 3 && As<QComboBox>(w)->currentIndex() == 2; },
         [](QWidget* w) { QTest::keyClick(w, Qt::Key_Up); },
         [](const OneField& m, QWidget* w) { return m.Selected(Id) == 1 && As<QComboBox>(w)->currentText() == "B"; }},
        {"list", [](OneField& m) { m.AddList(Id, "&Connection", {"Series", "Parallel"}, 0).Rows(3); }, 1,
         [](QWidget* w) { return As<QListWidget>(w) && As<QListWidget>(w)->count() == 2 && As<QListWidget>(w)->currentRow() == 0; },
         [](OneField& m) { m.SetItems(Id, {"Series", "Parallel", "Separate"}, 2); },
         [](QWidget* w) { return As<QListWidget>(w)->count() == 3 && As<QListWidget>(w)->currentRow() == 2; },
         [](QWidget* w) { QTest::keyClick(w, Qt::Key_Up); },
         [](const OneField& m, QWidget* w) { return m.Selected(Id) == 1 && As<QListWidget>(w)->currentRow() == 1; }},
        {"button", [](OneField& m) { m.AddButton(Id, "&Browse"); }, 1,
         [](QWidget* w) { return As<QPushButton>(w) && As<QPushButton>(w)->text() == "&Browse"; },
         [](OneField& m) { m.SetText(Id, "&Open"); },
         [](QWidget* w) { return As<QPushButton>(w)->text() == "&Open"; },
         [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); },
         [](const OneField& m, QWidget*) { return m.commands == std::vector<int>{Id}; }},
        {"read-only text", [](OneField& m) { m.AddText(Id, "Status", "idle"); }, 0,
         [](QWidget* w) { return As<QLabel>(w) && As<QLabel>(w)->text() == "idle"; },
         [](OneField& m) { m.SetText(Id, "busy"); },
         [](QWidget* w) { return As<QLabel>(w)->text() == "busy"; },
         nullptr, nullptr},
    };
    return cases;
}

TEST(FieldWidgets, EachKindMakesRefreshesAndCommits)
{
    for (const KindCase& c : KindCases()) {
        SCOPED_TRACE(c.name);
        Fixture f(c.add);
        ASSERT_TRUE(f.exposed);
        const TField& field = f.model.Field(Id);

        ASSERT_NE(f.editor, nullptr);
        EXPECT_EQ(f.editor->objectName(), QStringLiteral("field%1").arg(Id));
        EXPECT_TRUE(c.made(f.editor));
        EXPECT_EQ(f.widget->Label() != nullptr, !field.label.empty());
        EXPECT_EQ(f.widget->Unit() != nullptr, !field.unit.empty());
        EXPECT_EQ(f.widget->TabStops().size(), c.tabStops);
        if (c.tabStops > 0) { // the label's mnemonic leads to where the focus goes
            EXPECT_NE(f.widget->FocusWidget(), nullptr);
            EXPECT_TRUE(f.widget->HasFocus(f.widget->FocusWidget()));
        }

        f.host.forwarded = 0; // showing the window may have focused the field
        c.change(f.model);
        f.Refresh();
        EXPECT_TRUE(c.shown(f.editor));
        EXPECT_EQ(f.host.forwarded, 0); // refreshing is not the user's doing
        EXPECT_TRUE(f.model.changed.empty());

        if (c.userAction) {
            c.userAction(f.editor);
            EXPECT_TRUE(c.committed(f.model, f.editor));
            if (field.kind != TFieldKind::Button && field.kind != TFieldKind::Note) {
                EXPECT_EQ(f.model.changed, std::vector<int>{Id});
            }
        } else {
            f.widget->Commit();
            EXPECT_EQ(f.host.forwarded, 0);
        }

        // Enabled and visible follow the model, captions included.
        f.model.SetEnabled(Id, false);
        f.Refresh();
        EXPECT_FALSE(f.editor->isEnabled());
        if (f.widget->Label()) {
            EXPECT_FALSE(f.widget->Label()->isEnabled());
        }
        f.model.SetVisible(Id, false);
        f.Refresh();
        EXPECT_FALSE(f.editor->isVisible());
        f.model.SetEnabled(Id, true);
        f.model.SetVisible(Id, true);
        f.Refresh();
        EXPECT_TRUE(f.editor->isVisible());
        EXPECT_TRUE(f.editor->isEnabled());
    }
}

// Enter is the dialog's (the next field, or OK), except that a note makes a new line
// and a button other than OK takes it as its click.
TEST(FieldWidgets, EnterDependsOnTheKind)
{
    struct Case {
        const char* name;
        std::function<void(OneField&)> add;
        bool dialogs; // Enter() reports the key as taken
        int commands;
    };
    const std::vector<Case> cases = {
        {"value", [](OneField& m) { m.AddDouble(Id, "", "", "%3.2f", 0, 9, 1); m.AddOk(); }, true, 0},
        {"note", [](OneField& m) { m.AddNote(Id, "", 20); m.AddOk(); }, false, 0},
        {"button", [](OneField& m) { m.AddButton(Id, "&Go"); m.AddOk(); }, true, 1},
        {"check box", [](OneField& m) { m.AddCheck(Id, "", "&On", false); m.AddOk(); }, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(c.add);
        EXPECT_EQ(f.widget->Enter(), c.dialogs);
        EXPECT_EQ(f.model.commands.size(), static_cast<std::size_t>(c.commands));
        EXPECT_TRUE(f.model.IsOpen());
        // The dialog's Enter moves on to OK; the note and the button leave the focus.
        EXPECT_EQ(f.model.FocusedId(), c.dialogs && c.commands == 0 ? TBaseDialog::OkId : Id);
    }

    // Enter on OK closes the dialog.
    THeadlessHost dialogs;
    OneField model(dialogs);
    model.AddOk();
    model.Open();
    StandInHost host(model);
    auto ok = MakeFieldWidget(model.Field(TBaseDialog::OkId), host);
    ok->Create(model.Field(TBaseDialog::OkId));
    EXPECT_TRUE(ok->Enter());
    EXPECT_FALSE(model.IsOpen());
    EXPECT_TRUE(model.commands.empty());
}

// Check boxes, choices, lists, buttons and texts without a caption start at the caption
// column, as in a form; number, text and combo fields keep to the editor column.
TEST(FieldWidgets, ACaptionlessEditorStartsWhereItsKindBelongs)
{
    struct Case {
        const char* name;
        std::function<void(TDialogModel&)> add;
        bool atCaption;
    };
    const std::vector<Case> cases = {
        {"double", [](TDialogModel& m) { m.AddDouble(Id, "", "", "%3.2f", 0, 9, 1); }, false},
        {"string", [](TDialogModel& m) { m.AddString(Id, "", 8); }, false},
        {"combo", [](TDialogModel& m) { m.AddCombo(Id, "", {"A", "B"}, 0); }, false},
        {"check", [](TDialogModel& m) { m.AddCheck(Id, "", "&On", false); }, true},
        {"radio", [](TDialogModel& m) { m.AddRadio(Id, "", {"A", "B"}, 0); }, true},
        {"list", [](TDialogModel& m) { m.AddList(Id, "", {"A", "B"}, 0); }, true},
        {"button", [](TDialogModel& m) { m.AddButton(Id, "&Go"); }, true},
        {"text", [](TDialogModel& m) { m.AddText(Id, "", "idle"); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THeadlessHost host;
        TDialogModel model(host, "Captions");
        model.AddLong(1, "A long enough caption", "Hz", "%ld", 0, 10, 1);
        c.add(model);
        model.Open();
        ShownDialog d(model);
        auto x = [&](const char* name) {
            QWidget* w = d.view->findChild<QWidget*>(QString::fromLatin1(name));
            return w ? w->mapTo(d.view.get(), QPoint(0, 0)).x() : -1;
        };
        const int editor = x("field7");
        const int caption = x("label1");
        const int captionEnd = caption + d.view->findChild<QLabel*>("label1")->width();
        if (c.atCaption) {
            EXPECT_EQ(editor, caption);
        } else {
            EXPECT_GT(editor, captionEnd);
        }
    }
}

} // namespace
