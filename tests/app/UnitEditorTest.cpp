// The speaker unit editor of an open closed box project, driven through its real
// widgets offscreen: typing commits when the focus moves on, the menu runs the
// commands, and the project follows every accepted entry.

#include "DialogTestUtil.h"
#include "app/QtCanvas.h"
#include "support/ExampleWoofer.h"

#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "driver/TSpeakerUnitDialog.h"
#include "driver/TSpkFields.h"
#include "driver/TSpkUnitText.h"
#include "settings/TProgramContext.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using D = TSpeakerUnitDialog;
using P = TSpkParam;

namespace {

int FieldId(P param) { return D::FieldIdOf(param); }

class UnitEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("tonvek-uniteditor-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_ / "units");
        context_.SetFolder(dir_.string());
        box = std::make_unique<TClosedBox>(host, context_);
        FillExampleWoofer(box->FrontDriver());
        box->FrontDriver().EvaluateComplete();
        box->BoxVolume().Vb = 0.014;
        box->BoxVolume().dirty = true;
        context_.MeasSetup().setupChanged = true;
        box->Calculate(0);
        box->OpenUnitEditor();
        editor = box->UnitEditor();
        view = std::make_unique<ShownDialog>(*editor);
    }
    void TearDown() override
    {
        view.reset();
        box.reset();
        fs::remove_all(dir_);
    }

    QLineEdit* Edit(P param) const { return view->Field<QLineEdit>(FieldId(param)); }
    QString Shown(P param) const { return Edit(param)->text(); }
    // Types into a field, then clicks into the Manufacturer field: the focus change commits.
    void TypeAndMoveOn(P param, const QString& text) const
    {
        view->TypeInto(FieldId(param), text);
        view->Field(D::kManufacturer)->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
    // Runs a command of the editor's own menu bar, as a click on it would.
    void Menu(const QString& text) const
    {
        for (QAction* action : view->view->findChildren<QAction*>()) {
            if (action->text() == text) {
                action->trigger();
                QApplication::processEvents();
                return;
            }
        }
        ADD_FAILURE() << "no menu command " << text.toStdString();
    }
    double Spl() const { return box->splTotal[static_cast<std::size_t>(box->PointCount() / 2)]; }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string SaveWoofer(const std::string& path) const
    {
        TSpkData u;
        FillExampleWoofer(u);
        EXPECT_TRUE(u.Save(path));
        return path;
    }
    // The path the project keeps for its unit, as the next chooser is offered it.
    std::string StoredPath()
    {
        host.QueueFileName(std::nullopt);
        Menu("&Open...");
        return host.FileRequests().empty() ? std::string() : host.FileRequests().back().initialName;
    }

    fs::path dir_;
    TProgramContext context_;
    THeadlessHost host;
    std::unique_ptr<TClosedBox> box;
    TSpeakerUnitDialog* editor = nullptr;
    std::unique_ptr<ShownDialog> view;
};

} // namespace

TEST_F(UnitEditorTest, ShowsTheFrontDriversUnit)
{
    ASSERT_TRUE(view->ready);
    EXPECT_EQ(view->view->windowTitle(), "Speaker unit editor");
    EXPECT_EQ(Shown(P::Vas), "14.00");
    EXPECT_EQ(Shown(P::Le), "undef.");
    EXPECT_EQ(view->Field<QLabel>(D::kEfficiency)->text(), "0.20 %");
    EXPECT_EQ(view->Field<QLabel>(D::kSensitivity)->text(), "84.9 dB/1W/1m");
    EXPECT_EQ(view->Field<QComboBox>(D::kSpeakerType)->count(), 6);
    EXPECT_EQ(view->Field<QComboBox>(D::kSpeakerType)->itemText(3), "Mid./Treble");
    QStringList commands;
    for (QAction* action : view->view->findChildren<QAction*>())
        if (!action->text().isEmpty() && !action->menu())
            commands << action->text();
    for (const char* text : {"&New", "&Open...", "&Save", "Save &as...", "&Print data...", "&Copy data",
                             "&User note...", "&Calc. missing fields"})
        EXPECT_TRUE(commands.contains(text)) << text;
}

TEST_F(UnitEditorTest, EachAcceptedEntryRecalculatesTheProject)
{
    ASSERT_TRUE(view->ready);
    double spl = Spl();
    for (auto [param, text] : {std::pair{P::Re, "8"}, {P::Mms, "20"}, {P::Bl, "9"}}) {
        SCOPED_TRACE(text);
        TypeAndMoveOn(param, text);
        EXPECT_NE(Spl(), spl);
        spl = Spl();
    }
    EXPECT_EQ(box->FrontDriver().Re, 8.0);
    EXPECT_EQ(Shown(P::Re), "8.0");
}

TEST_F(UnitEditorTest, CrosscalcRefusesAnUnreachableQtsWithABeep)
{
    ASSERT_TRUE(view->ready);
    view->Field<QCheckBox>(D::kCrossCalc)->click();
    QApplication::processEvents();
    ASSERT_EQ(box->FrontDriver().crossCalc, 1);
    const TSpkData before = box->FrontDriver();
    const double spl = Spl();
    const QString qts = Shown(P::Qts);
    for (const char* text : {"0.41", "0.9"}) { // Qes is 0.41
        SCOPED_TRACE(text);
        const int beeps = host.Beeps();
        TypeAndMoveOn(P::Qts, text);
        EXPECT_EQ(host.Beeps(), beeps + 1);
        EXPECT_EQ(Shown(P::Qts), qts);
        EXPECT_EQ(box->FrontDriver().Qts, before.Qts);
        EXPECT_EQ(box->FrontDriver().Qms, before.Qms);
        EXPECT_EQ(box->FrontDriver().Rms, before.Rms);
        EXPECT_EQ(Spl(), spl);
    }
}

TEST_F(UnitEditorTest, CrosscalcSdRecomputesCmsWithVasAndVasWithout)
{
    ASSERT_TRUE(view->ready);
    view->Field<QCheckBox>(D::kCrossCalc)->click();
    QApplication::processEvents();
    TypeAndMoveOn(P::Sd, "150");
    EXPECT_EQ(Shown(P::Vas), "14.00");
    EXPECT_EQ(Shown(P::Cms), "4.4e-04");
    TypeAndMoveOn(P::Vas, "0");
    EXPECT_EQ(Shown(P::Vas), "undef.");
    TypeAndMoveOn(P::Sd, "200");
    EXPECT_EQ(Shown(P::Cms), "4.4e-04");
    EXPECT_EQ(Shown(P::Vas), "24.89");
}

TEST_F(UnitEditorTest, CalcMissingFieldsFillsTheFields)
{
    ASSERT_TRUE(view->ready);
    Menu("&New"); // nothing changed yet: no question
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(Shown(P::Sd), "undef.");
    for (auto [param, text] : {std::pair{P::Vas, "14"}, {P::Cms, "1.2e-3"}, {P::fs, "39"}, {P::Qes, "0,41"},
                               {P::Qms, "2.16"}, {P::Re, "6.2"}})
        TypeAndMoveOn(param, text);
    EXPECT_EQ(Shown(P::Bl), "undef.");

    // Refused while cross-calculating.
    view->Field<QCheckBox>(D::kCrossCalc)->click();
    const int beeps = host.Beeps();
    Menu("&Calc. missing fields");
    EXPECT_EQ(host.Beeps(), beeps + 1);
    EXPECT_EQ(Shown(P::Bl), "undef.");

    view->Field<QCheckBox>(D::kCrossCalc)->click();
    Menu("&Calc. missing fields");
    for (P p : {P::Sd, P::Cas, P::Qts, P::Mms, P::Mmd, P::Rms, P::Bl})
        EXPECT_NE(Shown(p), "undef.") << static_cast<int>(p);
    EXPECT_EQ(Shown(P::Xmax), "undef.");
    EXPECT_EQ(Shown(P::Vas), "14.00");
    // The project has a complete unit again and calculates.
    EXPECT_TRUE(box->FrontDriver().complete);
    EXPECT_NE(Spl(), 0.0);
}

TEST_F(UnitEditorTest, SavingAUnitThatNeverHadAFileOpensTheSaveChooser)
{
    ASSERT_TRUE(view->ready);
    host.QueueFileName(std::nullopt);
    Menu("&Save");
    ASSERT_EQ(host.FileRequests().size(), 1u);
    EXPECT_EQ(host.FileRequests()[0].title, "Save speaker unit as");

    host.QueueFileName(File("units/mine.unt"));
    Menu("&Save");
    EXPECT_TRUE(fs::exists(File("units/mine.unt")));
    EXPECT_EQ(view->Field<QLabel>(D::kFileName)->text(), "mine.unt");
    EXPECT_EQ(StoredPath(), "units/mine.unt");
}

TEST_F(UnitEditorTest, OpeningStoresTheFullPathOutsideTheProgramFolderOnly)
{
    ASSERT_TRUE(view->ready);
    const fs::path outside = fs::temp_directory_path() / ("tonvek-outside-" + std::to_string(::getpid()));
    fs::create_directories(outside);
    const std::string far = SaveWoofer((outside / "far.unt").string());
    const std::string near = SaveWoofer(File("units/near.unt"));

    host.QueueFileName(far);
    Menu("&Open...");
    EXPECT_EQ(StoredPath(), far);
    host.QueueFileName(near);
    Menu("&Open...");
    EXPECT_EQ(StoredPath(), "units/near.unt");
    EXPECT_EQ(view->Field<QLabel>(D::kFileName)->text(), "near.unt");
    EXPECT_TRUE(host.Messages().empty());
    fs::remove_all(outside);
}

TEST_F(UnitEditorTest, CopyOfAnEmptyUnitIsTheHeaderAndAnEmptyLine)
{
    ASSERT_TRUE(view->ready);
    Menu("&New");
    Menu("&Copy data");
    EXPECT_EQ(host.ClipboardText(), "Manufacturer:\t\r\nModel:\t\t\r\nFilename:\t\r\nSpeaker type:\tBass\r\n\r\n");
}

TEST_F(UnitEditorTest, NewAsksAboutChangesAndClosingWithCancelKeepsTheEditor)
{
    ASSERT_TRUE(view->ready);
    TypeAndMoveOn(P::Re, "7");
    host.QueueAnswer(TMsgAnswer::Cancel);
    Menu("&New");
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "File has been changed.\r\nSave file ?");
    EXPECT_EQ(Shown(P::Re), "7.0");

    host.QueueAnswer(TMsgAnswer::Cancel);
    view->view->close();
    QApplication::processEvents();
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[1].text, "File has been changed.\r\nSave before exit ?");
    EXPECT_TRUE(editor->IsOpen());
    EXPECT_TRUE(view->view->isVisible());

    host.QueueAnswer(TMsgAnswer::No);
    view->view->close();
    QApplication::processEvents();
    EXPECT_FALSE(editor->IsOpen());
    EXPECT_FALSE(view->view->isVisible());
    EXPECT_EQ(host.CommandEnabled(TCmd::UnitEditor), true);
}

TEST_F(UnitEditorTest, LooksTidy)
{
    FillExampleWoofer(box->FrontDriver());
    box->FrontDriver().SetManufacturer("Example");
    box->FrontDriver().SetModel("6.5 inch woofer");
    ASSERT_TRUE(box->FrontDriver().Save(File("units/w16.unt")));
    editor->Reload();
    ASSERT_TRUE(view->ready);
    view->view->Load();
    QApplication::processEvents();
    for (QLabel* label : view->view->findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    for (const TSpkField& f : SpkFields()) {
        QLineEdit* edit = Edit(f.param);
        SCOPED_TRACE(f.label);
        // The widest value a field can show fits.
        char widest[32];
        std::snprintf(widest, sizeof widest, f.format, f.maximum == 10 ? 9.9e-9 : f.maximum);
        EXPECT_LT(edit->fontMetrics().horizontalAdvance(widest), edit->contentsRect().width());
    }
    // Fields and units of a section line up.
    auto x = [&](P p) { return Edit(p)->x(); };
    EXPECT_EQ(x(P::Re), x(P::Mms));
    EXPECT_EQ(x(P::Cms), x(P::Bl));
    EXPECT_EQ(x(P::Pmax), x(P::l));
    EXPECT_EQ(view->view->findChild<QLabel*>(QStringLiteral("unit%1").arg(FieldId(P::Re)))->x(),
              view->view->findChild<QLabel*>(QStringLiteral("unit%1").arg(FieldId(P::Mms)))->x());
    EXPECT_TRUE(view->view->grab().save(QStringLiteral("/tmp/tonvek-unit-editor.png")));
}

TEST_F(UnitEditorTest, PrintedPageStaysInsideItsMarginsWithRealFonts)
{
    TSpkData& unit = box->FrontDriver();
    unit.SetManufacturer("Example");
    std::string note;
    for (int i = 0; i < 60; ++i)
        note += "note" + std::to_string(i) + " ";
    unit.SetUserNote(note);
    // An A4 page at 150 dpi.
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        QtCanvas canvas(painter, page.width(), page.height());
        TSpeakerUnitDialog::PaintPage(canvas, SpkUnitText(unit));
    }
    EXPECT_TRUE(page.save(QStringLiteral("/tmp/tonvek-unit-page.png")));
    // Ink only between the left and right margins (100 and 1100 of 1200).
    auto inkInColumns = [&](int from, int to) {
        int ink = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = from; x < to; ++x)
                ink += qGray(page.pixel(x, y)) < 128;
        return ink;
    };
    const int left = 100 * page.width() / 1200, right = 1100 * page.width() / 1200;
    EXPECT_EQ(inkInColumns(0, left - 1), 0);
    EXPECT_EQ(inkInColumns(right + 1, page.width()), 0);
    EXPECT_GT(inkInColumns(left, right), 1000);
}
