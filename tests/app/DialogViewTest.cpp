// The dialog renderer with real widgets: focus changes commit, Enter walks the
// fields, refusals beep, the window keys and sizes follow the dialog rules.
#include "DialogTestUtil.h"

#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"
#include "ui/TInfoDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <vector>

namespace {

class SetupLike : public TDialogModel {
public:
    explicit SetupLike(THost& host) : TDialogModel(host, "Setup like", "dialogs.txt")
    {
        menu = {SubMenu("&Preferences", {MenuCommand(501, "&Save"), MenuCommand(502, "Set to &default")})};
        Group("Generator");
        AddDouble(101, "Source &level", "V", "%3.2f", 0.001, 1000, 2.83);
        AddDouble(102, "&Watts into 8 ohm", "W", "%3.2f", 1.25e-7, 125000, 1.0);
        AddLong(103, "&Cutoff", "Hz", "%ld", 0, 10000, 0, 10);
        AddDouble(104, "&Q", "", "%2.1f", 0.1, 10, 0.7).Beside();
        Group("Plot", 1);
        AddCheck(105, "", "&Autorange", false);
        AddLong(106, "&Range", "dB", "%ld", 1, 80, 30);
        AddRadio(107, "Mode", {"One", "Two"}, 0);
        AddCombo(108, "Kind", {"First", "Second"}, 0);
        AddOk();
        onFieldChanged = [this](int id) {
            changed.push_back(id);
            if (id == 101)
                Dbl(102).SetValue(Dbl(101).Value() * Dbl(101).Value() * 0.125);
            if (id == 105)
                SetEnabled(106, !Checked(105));
        };
        onCommand = [this](int id) { commands.push_back(id); };
    }
    std::vector<int> changed;
    std::vector<int> commands;
};

class DialogViewTest : public ::testing::Test {
protected:
    THeadlessHost host;
    SetupLike model{host};
    void SetUp() override { model.Open(); }
};

TEST_F(DialogViewTest, ShowsTheModelsValuesWithLabelsAndUnits)
{
    ShownDialog d(model);
    ASSERT_TRUE(d.ready);
    EXPECT_EQ(d.view->windowTitle(), "Setup like");
    EXPECT_EQ(d.Field<QLineEdit>(101)->text(), "2.83");
    EXPECT_EQ(d.Field<QLineEdit>(103)->text(), "0");
    EXPECT_EQ(d.view->findChild<QLabel*>("unit101")->text(), "V");
    EXPECT_EQ(d.Field<QCheckBox>(105)->text(), "&Autorange");
    EXPECT_EQ(d.Field<QComboBox>(108)->count(), 2);
    EXPECT_TRUE(d.view->findChild<QRadioButton*>("field107_0")->isChecked());
    // The first field has the focus when the dialog opens.
    EXPECT_EQ(QApplication::focusWidget(), d.Field(101));
}

TEST_F(DialogViewTest, LabelsEditorsAndUnitsOfASectionLineUp)
{
    ShownDialog d(model);
    auto x = [&](const char* name) { return d.view->findChild<QWidget*>(name)->x(); };
    EXPECT_EQ(x("label101"), x("label102"));
    EXPECT_EQ(x("field101"), x("field102"));
    EXPECT_EQ(x("field101"), x("field103"));
    EXPECT_EQ(x("unit101"), x("unit102"));
    EXPECT_GT(x("field104"), x("unit103")); // Q stands beside the cutoff
    auto* label = d.view->findChild<QLabel*>("label102");
    EXPECT_GE(label->width(), label->sizeHint().width()); // nothing clipped
    EXPECT_TRUE(d.view->grab().save(QStringLiteral("/tmp/tonvek-dialog-sample.png")));
}

TEST_F(DialogViewTest, LeavingAFieldCommitsIt)
{
    ShownDialog d(model);
    ASSERT_TRUE(d.ready);
    d.TypeInto(101, "4");
    EXPECT_TRUE(model.changed.empty());
    QTest::keyClick(d.Field(101), Qt::Key_Tab);
    EXPECT_EQ(model.changed, std::vector<int>{101});
    EXPECT_DOUBLE_EQ(model.Dbl(101).Value(), 4.0);
    EXPECT_EQ(d.Field<QLineEdit>(101)->text(), "4.00");
    EXPECT_EQ(d.Field<QLineEdit>(102)->text(), "2.00"); // the partner rule ran
    EXPECT_EQ(QApplication::focusWidget(), d.Field(102));
}

TEST_F(DialogViewTest, AClickElsewhereCommitsToo)
{
    ShownDialog d(model);
    d.TypeInto(106, "50");
    QTest::mouseClick(d.Field(105), Qt::LeftButton);
    EXPECT_EQ(model.changed.front(), 106);
    EXPECT_EQ(model.Long(106).Value(), 50);
}

TEST_F(DialogViewTest, EnterInTheMiddleMovesToTheNextField)
{
    ShownDialog d(model);
    d.TypeInto(102, "2");
    QTest::keyClick(d.Field(102), Qt::Key_Return);
    EXPECT_TRUE(d.view->isVisible());
    EXPECT_TRUE(model.IsOpen());
    EXPECT_EQ(model.changed, std::vector<int>{102});
    EXPECT_EQ(QApplication::focusWidget(), d.Field(103));
    EXPECT_EQ(model.FocusedId(), 103);
}

TEST_F(DialogViewTest, EnterOnOkCloses)
{
    ShownDialog d(model);
    d.Field(TBaseDialog::OkId)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClick(d.Field(TBaseDialog::OkId), Qt::Key_Return);
    EXPECT_FALSE(model.IsOpen());
    EXPECT_FALSE(d.view->isVisible());
    EXPECT_EQ(model.ReturnValue(), 1);
}

TEST_F(DialogViewTest, ARefusedValueBeepsAndShowsTheOldValue)
{
    ShownDialog d(model);
    d.TypeInto(106, "99"); // above 80
    QTest::keyClick(d.Field(106), Qt::Key_Tab);
    EXPECT_EQ(host.Beeps(), 1);
    EXPECT_EQ(d.Field<QLineEdit>(106)->text(), "30");
    EXPECT_TRUE(model.changed.empty());
    d.TypeInto(101, "x1");
    QTest::keyClick(d.Field(101), Qt::Key_Tab);
    EXPECT_EQ(host.Beeps(), 2);
    EXPECT_EQ(d.Field<QLineEdit>(101)->text(), "2.83");
}

TEST_F(DialogViewTest, ArrowKeysStepTheValueAtOnce)
{
    ShownDialog d(model);
    d.Field(103)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClick(d.Field(103), Qt::Key_Up);
    EXPECT_EQ(d.Field<QLineEdit>(103)->text(), "10");
    EXPECT_EQ(model.changed, std::vector<int>{103});
    QTest::keyClick(d.Field(103), Qt::Key_Down);
    QTest::keyClick(d.Field(103), Qt::Key_Down); // below 0: refused
    EXPECT_EQ(d.Field<QLineEdit>(103)->text(), "0");
    EXPECT_EQ(host.Beeps(), 1);
}

TEST_F(DialogViewTest, EscapeCommitsTheFieldBeingEditedAndCloses)
{
    ShownDialog d(model);
    d.TypeInto(104, "2,5");
    QTest::keyClick(d.Field(104), Qt::Key_Escape);
    EXPECT_EQ(model.changed, std::vector<int>{104});
    EXPECT_DOUBLE_EQ(model.Dbl(104).Value(), 2.5);
    EXPECT_FALSE(model.IsOpen());
    EXPECT_FALSE(d.view->isVisible());
}

TEST_F(DialogViewTest, TheWindowCloseButtonCommitsFirst)
{
    ShownDialog d(model);
    d.TypeInto(106, "40");
    d.view->close();
    EXPECT_EQ(model.changed, std::vector<int>{106});
    EXPECT_FALSE(model.IsOpen());
}

TEST_F(DialogViewTest, CheckBoxesAndEnableRulesShowAtOnce)
{
    ShownDialog d(model);
    QTest::mouseClick(d.Field(105), Qt::LeftButton);
    EXPECT_TRUE(model.Checked(105));
    EXPECT_FALSE(d.Field(106)->isEnabled());
    EXPECT_FALSE(d.view->findChild<QLabel*>("label106")->isEnabled());
    auto* two = d.view->findChild<QRadioButton*>("field107_1");
    QTest::mouseClick(two, Qt::LeftButton, {}, QPoint(6, two->height() / 2)); // on its indicator
    EXPECT_EQ(model.Selected(107), 1);
    EXPECT_EQ(model.changed, (std::vector<int>{105, 107}));
}

TEST_F(DialogViewTest, MenuAndHelpReachTheModel)
{
    ShownDialog d(model);
    auto* bar = d.view->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), "&Preferences");
    QList<QAction*> items = bar->actions()[0]->menu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1]->text(), "Set to &default");
    d.TypeInto(101, "3");
    items[1]->trigger();
    EXPECT_EQ(model.changed, std::vector<int>{101}); // typed text counts before the command
    EXPECT_EQ(model.commands, std::vector<int>{502});
    QTest::mouseClick(d.view->findChild<QPushButton*>("help"), Qt::LeftButton);
    ASSERT_EQ(host.HelpOpened().size(), 1u);
    EXPECT_EQ(host.HelpOpened()[0], "dialogs.txt");
}

TEST_F(DialogViewTest, GreyedChoicesAndMenuCommandsFollowTheModel)
{
    ShownDialog d(model);
    model.SetItemEnabled(107, 1, false);
    model.EnableCommand(502, false);
    d.view->Load();
    auto* one = d.view->findChild<QRadioButton*>("field107_0");
    auto* two = d.view->findChild<QRadioButton*>("field107_1");
    EXPECT_TRUE(one->isEnabled());
    EXPECT_FALSE(two->isEnabled());
    QList<QAction*> items = d.view->findChild<QMenuBar*>()->actions()[0]->menu()->actions();
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_FALSE(items[1]->isEnabled());
    model.EnableCommand(502, true);
    model.SetItemEnabled(107, 1, true);
    d.view->Load();
    EXPECT_TRUE(items[1]->isEnabled());
    EXPECT_TRUE(two->isEnabled());
}

TEST_F(DialogViewTest, LoadingValuesFiresNoCommits)
{
    ShownDialog d(model);
    model.onLoad = [&] {
        model.Dbl(101).SetValue(12.0);
        model.SetChecked(105, true);
        model.SetSelected(108, 1);
    };
    model.Reload();
    TDialogView::Reload(d.view.get());
    EXPECT_EQ(d.Field<QLineEdit>(101)->text(), "12.00");
    EXPECT_TRUE(d.Field<QCheckBox>(105)->isChecked());
    EXPECT_EQ(d.Field<QComboBox>(108)->currentIndex(), 1);
    EXPECT_TRUE(model.changed.empty());
}

TEST_F(DialogViewTest, SmallerScrollsAndLargerSnapsBack)
{
    ShownDialog d(model);
    QSize design = d.view->DesignSize();
    EXPECT_EQ(d.view->size(), design);
    auto* scroll = d.view->findChild<QScrollArea*>();
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());

    d.view->resize(design.width() / 2, design.height() / 2);
    QApplication::processEvents();
    EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);

    // Enter brings the next field into view.
    d.Field(101)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(model.FocusedId(), 106);
    QWidget* range = d.Field(106);
    QRect shown(range->mapTo(scroll->viewport(), QPoint(0, 0)), range->size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(shown));

    d.view->resize(design.width() + 200, design.height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(d.view->size(), design);
}

TEST_F(DialogViewTest, EventsAfterTheModelIsGoneAreIgnored)
{
    auto other = std::make_unique<SetupLike>(host);
    other->Open();
    ShownDialog d(*other);
    other.reset();
    d.view->close(); // must not touch the destroyed model
    QTest::keyClick(d.Field(101), Qt::Key_Return);
    SUCCEED();
}

// Destroying a window takes the focus from its widgets while the window is half gone;
// that focus-out must reach neither the window nor the model (the sanitizer build
// caught a value field calling back into the destroyed window). A field typed into but
// not left is not committed.
TEST_F(DialogViewTest, DestroyingTheWindowWithAFocusedFieldCallsNothingBack)
{
    for (int id : {101, 105, 108}) { // value edit, check box, combo box
        SetupLike fresh(host);
        fresh.Open();
        auto d = std::make_unique<ShownDialog>(fresh);
        ASSERT_TRUE(d->ready);
        d->TypeInto(101, "4");
        d->Field(id)->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), d->Field(id)) << id;
        fresh.changed.clear();
        d.reset();
        QApplication::processEvents();
        EXPECT_TRUE(fresh.changed.empty()) << id;
        EXPECT_TRUE(fresh.IsOpen()) << id;
        if (id == 101) { // typed into and never left
            EXPECT_DOUBLE_EQ(fresh.Dbl(101).Value(), 2.83);
        }
    }
}

} // namespace

namespace {

TEST(DialogViewPlacement, TheDialogReopensWhereItWasLastClosed)
{
    THeadlessHost host;
    SetupLike model(host);
    model.Open();
    {
        ShownDialog d(model);
        d.view->move(321, 234);
        QApplication::processEvents();
        d.view->close();
    }
    EXPECT_EQ(model.position.x, 321);
    EXPECT_EQ(model.position.y, 234);
    model.Open();
    ShownDialog again(model);
    EXPECT_EQ(again.view->pos(), QPoint(321, 234));
}

TEST(DialogViewNote, TheUserNoteIsModalLimitedAndStartsAtTheBeginning)
{
    THeadlessHost host;
    TInfoDialog note(host);
    std::string result;
    bool modified = false;
    note.Open("line one\nline two", [&](const std::string& text, bool changed) {
        result = text;
        modified = changed;
    });
    ShownDialog d(note);
    auto* edit = d.Field<QPlainTextEdit>(TInfoDialog::NoteId);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(d.view->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(d.view->grab().save(QStringLiteral("/tmp/tonvek-user-note.png")));
    EXPECT_EQ(edit->textCursor().position(), 0);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    QTest::keyClick(edit, Qt::Key_Return); // Enter makes a new line in a note
    EXPECT_TRUE(note.IsOpen());
    edit->setPlainText(QString(650, QLatin1Char('n')));
    EXPECT_EQ(edit->toPlainText().size(), 599);
    QTest::mouseClick(d.Field(TBaseDialog::OkId), Qt::LeftButton);
    EXPECT_FALSE(note.IsOpen());
    EXPECT_EQ(result, std::string(599, 'n'));
    EXPECT_TRUE(modified);
}

} // namespace

namespace {

// The kinds the setup-like dialog does not show: text, list, read-only and hidden
// fields, an inline button.
class Kinds : public TDialogModel {
public:
    explicit Kinds(THost& host) : TDialogModel(host, "Kinds")
    {
        AddString(201, "&Name", 8, "abc");
        AddText(202, "Status", "Not in use");
        AddList(203, "&Connection", {"Series", "Parallell", "Sep. sources"}, 0).Rows(3);
        AddDouble(204, "Offset", "dB", "%2.1f", -10, 10, 1.5).ReadOnly();
        AddDouble(205, "Hidden", "", "%2.1f", 0, 1, 0.5).visible = false;
        AddButton(206, "&Browse");
        AddOk();
        onFieldChanged = [this](int id) { changed.push_back(id); };
        onCommand = [this](int id) { commands.push_back(id); };
        onListStep = [this](int id, int direction) { steps.push_back(id * direction); };
    }
    std::vector<int> changed;
    std::vector<int> commands;
    std::vector<int> steps;
};

TEST(DialogViewKinds, TextListReadOnlyHiddenAndButtons)
{
    THeadlessHost host;
    Kinds model(host);
    model.Open();
    ShownDialog d(model);
    ASSERT_TRUE(d.ready);
    EXPECT_EQ(d.Field<QLabel>(202)->text(), "Not in use");
    EXPECT_FALSE(d.Field(205)->isVisible());
    EXPECT_TRUE(d.Field<QLineEdit>(204)->isReadOnly());
    EXPECT_TRUE(d.view->grab().save(QStringLiteral("/tmp/tonvek-dialog-kinds.png")));

    // A text field keeps its limit and notifies on every loss of focus.
    d.TypeInto(201, "abcdefghijk");
    EXPECT_EQ(d.Field<QLineEdit>(201)->text(), "abcdefgh");
    QTest::keyClick(d.Field(201), Qt::Key_Tab);
    EXPECT_EQ(model.changed, std::vector<int>{201});
    EXPECT_EQ(model.Str(201).Text(), "abcdefgh");

    auto* list = d.Field<QListWidget>(203);
    QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(model.Selected(203), 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(model.commands, std::vector<int>{203});
    // Left and right step the selected line's value instead of moving in the list.
    QTest::keyClick(list, Qt::Key_Left);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(model.steps, (std::vector<int>{-203, 203}));
    EXPECT_EQ(model.Selected(203), 1);

    // Enter on a focused button other than OK is that button's click.
    d.Field(206)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClick(d.Field(206), Qt::Key_Return);
    EXPECT_EQ(model.commands, (std::vector<int>{203, 206}));
    EXPECT_TRUE(model.IsOpen());

    // Read-only: no typing, no steps.
    d.Field(204)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(d.Field(204), "7");
    QTest::keyClick(d.Field(204), Qt::Key_Up);
    EXPECT_EQ(d.Field<QLineEdit>(204)->text(), "1.5");
}

} // namespace

namespace {

TEST(DialogViewPicture, AnyModelCanBeSavedAsAPicture)
{
    THeadlessHost host;
    SetupLike model(host);
    QString path = QStringLiteral("/tmp/tonvek-dialog-picture-%1.png").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(TDialogView::SavePicture(model, path));
    QImage image(path);
    EXPECT_GT(image.width(), 200);
    EXPECT_GT(image.height(), 100);
    EXPECT_TRUE(model.changed.empty()); // drawing it changed nothing
    QFile::remove(path);
}

TEST(DialogViewLayout, SectionsOfAColumnLineTheirEditorsUp)
{
    THeadlessHost host;
    TDialogModel model(host, "Sections");
    model.Group("Short");
    model.AddLong(1, "A", "Hz", "%ld", 0, 10, 1);
    model.Group("Long captions");
    model.AddLong(2, "A much longer caption", "Hz", "%ld", 0, 10, 1);
    model.Group("Other column", 1);
    model.AddLong(3, "B", "", "%ld", 0, 10, 1);
    model.Open();
    ShownDialog d(model);
    auto at = [&](int id) { return d.Field(id)->mapTo(d.view.get(), QPoint(0, 0)); };
    EXPECT_EQ(at(1).x(), at(2).x());
    EXPECT_GT(at(3).x(), at(2).x() + d.Field(2)->width());
    EXPECT_EQ(at(3).y(), at(1).y()); // columns stand side by side
}

} // namespace
