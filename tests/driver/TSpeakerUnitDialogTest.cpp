// The speaker unit editor without a window: what each field stores, the live
// cross-calculation through the fields, the file commands with their questions and
// the stored path, print and copy, the close protocol, and the open box project
// following every accepted entry.

#include "TSpkTestSupport.h"
#include "support/ExampleWoofer.h"

#include "box/TClosedBox.h"
#include "box/elements/TBoxObject.h"
#include "driver/TSpeakerObject.h"
#include "driver/TSpeakerUnitDialog.h"
#include "driver/TSpkFields.h"
#include "driver/TSpkUnitText.h"
#include "settings/TProgramContext.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"
#include "ui/TInfoDialog.h"
#include "ui/TRecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
using D = TSpeakerUnitDialog;
using P = TSpkParam;

namespace {

int FieldId(P param) { return D::FieldIdOf(param); }

class TSpeakerUnitDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        D::TOwner owner;
        owner.unitPath = [this] { return storedPath; };
        owner.setUnitPath = [this](const std::string& path) { storedPath = context.Folder().Strip(path); };
        owner.unitChanged = [this] { ++changes; };
        owner.closed = [this] { ++closes; };
        dialog = std::make_unique<D>(host, unit, std::move(owner));
    }
    void TearDown() override { dialog.reset(); }

    void OpenWithWoofer()
    {
        FillExampleWoofer(unit);
        dialog->OpenAtSavedPosition();
    }
    // Types into a field and moves on, which commits it.
    void Enter(int id, const std::string& text)
    {
        dialog->Type(id, text);
        dialog->FocusField(0);
    }
    void Enter(P param, const std::string& text) { Enter(FieldId(param), text); }
    std::string Shown(P param) const { return dialog->Field(FieldId(param)).EditText(); }
    std::string SaveWoofer(const std::string& path)
    {
        TSpkData u;
        FillExampleWoofer(u);
        u.SetManufacturer("Maker");
        EXPECT_TRUE(u.Save(path));
        return path;
    }

    spktest::TScratchFolder folder_;
    TProgramContext context{folder_.Path().string()};
    THeadlessHost host;
    TSpeakerObject unit{context, &host};
    std::string storedPath;
    int changes = 0;
    int closes = 0;
    std::unique_ptr<D> dialog;
};

} // namespace

TEST_F(TSpeakerUnitDialogTest, EveryParameterFieldFollowsItsRow)
{
    dialog->OpenAtSavedPosition();
    for (const TSpkField& f : SpkFields()) {
        SCOPED_TRACE(f.label);
        const TField& field = dialog->Field(FieldId(f.param));
        EXPECT_EQ(field.label, f.label);
        EXPECT_EQ(field.unit, f.unit);
        EXPECT_EQ(field.dbl.Format(), f.format);
        EXPECT_EQ(field.dbl.Minimum(), 0.0);
        EXPECT_EQ(field.dbl.Maximum(), f.maximum);
        EXPECT_EQ(field.EditText(), "undef.");

        // The entry times the factor is stored, and the owner hears of it.
        const int before = changes;
        Enter(f.param, "2,5");
        EXPECT_DOUBLE_EQ(unit.Param(f.param), 2.5 * f.factor);
        EXPECT_EQ(changes, before + 1);

        // Above the maximum: refused with a beep, nothing stored, nobody told.
        const int beeps = host.Beeps();
        char above[32];
        std::snprintf(above, sizeof above, "%g", f.maximum * 2);
        Enter(f.param, above);
        EXPECT_EQ(host.Beeps(), beeps + 1);
        EXPECT_DOUBLE_EQ(unit.Param(f.param), 2.5 * f.factor);
        EXPECT_EQ(changes, before + 1);
    }
    EXPECT_DOUBLE_EQ(unit.a, std::sqrt(2.5e-4 * kOneOverPi)); // an Sd entry sets the radius
    EXPECT_TRUE(dialog->UnitChangedSinceSave());
}

TEST_F(TSpeakerUnitDialogTest, FieldsShowTheUnitInTheirFormats)
{
    FillExampleWoofer(unit);
    unit.SetManufacturer("Maker");
    unit.speakerType = 3;
    unit.doubleVoiceCoil = 1;
    dialog->OpenAtSavedPosition();
    EXPECT_EQ(Shown(P::Vas), "14.00");
    EXPECT_EQ(Shown(P::Cms), "1.2e-03");
    EXPECT_EQ(Shown(P::Re), "6.2");
    EXPECT_EQ(Shown(P::Le), "undef.");
    EXPECT_EQ(dialog->Field(D::kManufacturer).EditText(), "Maker");
    EXPECT_EQ(dialog->Selected(D::kSpeakerType), 3);
    EXPECT_TRUE(dialog->Checked(D::kDoubleVoiceCoil));
    EXPECT_FALSE(dialog->Checked(D::kCrossCalc));
    // 9.64e-7 fs^3 Vas / Qes with fs 39 Hz, Vas 14 l, Qes 0.41
    EXPECT_EQ(dialog->Field(D::kEfficiency).text, "0.20 %");
    EXPECT_EQ(dialog->Field(D::kSensitivity).text, "84.9 dB/1W/1m");

    // A foreign speaker type shows no choice rather than a wrong one.
    unit.speakerType = 9;
    dialog->Reload();
    EXPECT_EQ(dialog->Selected(D::kSpeakerType), -1);
}

TEST_F(TSpeakerUnitDialogTest, EfficiencyShowsDashesUntilQesVasAndFsAreGiven)
{
    dialog->OpenAtSavedPosition();
    EXPECT_EQ(dialog->Field(D::kEfficiency).text, "--");
    Enter(P::fs, "39");
    Enter(P::Vas, "14");
    EXPECT_EQ(dialog->Field(D::kSensitivity).text, "--");
    Enter(P::Qes, "0.41");
    EXPECT_EQ(dialog->Field(D::kEfficiency).text, "0.20 %");
    EXPECT_EQ(dialog->Field(D::kSensitivity).text, "84.9 dB/1W/1m");
}

TEST_F(TSpeakerUnitDialogTest, CrosscalcRefusesAQtsThatLeavesNoPositiveQms)
{
    OpenWithWoofer();
    dialog->Toggle(D::kCrossCalc, true);
    EXPECT_EQ(unit.crossCalc, 1);
    const TSpkData before = unit;
    const std::string shown = Shown(P::Qts);
    // Qes is 0.41: 1/Qts - 1/Qes is zero, then negative.
    for (const char* qts : {"0.41", "0.5", "2"}) {
        SCOPED_TRACE(qts);
        const int beeps = host.Beeps();
        const int notified = changes;
        Enter(P::Qts, qts);
        EXPECT_EQ(host.Beeps(), beeps + 1);
        EXPECT_EQ(changes, notified);
        EXPECT_EQ(Shown(P::Qts), shown);
        for (int i = 0; i < kSpkParamCount; ++i)
            EXPECT_EQ(unit.Param(static_cast<P>(i)), before.Param(static_cast<P>(i))) << "parameter " << i;
    }
    EXPECT_FALSE(dialog->UnitChangedSinceSave());

    // A reachable Qts gives the Qms that belongs to it.
    Enter(P::Qts, "0.3");
    EXPECT_NEAR(unit.Qms, 1.0 / (1.0 / 0.3 - 1.0 / 0.41), 1e-9);
    EXPECT_EQ(Shown(P::Qms), "1.12");
    EXPECT_EQ(changes, 1);
}

TEST_F(TSpeakerUnitDialogTest, CrosscalcSdEntryRecomputesCmsOrVas)
{
    OpenWithWoofer();
    dialog->Toggle(D::kCrossCalc, true);
    const double vas = unit.Vas;
    // With Vas given, Cms follows the new cone area (R3) and Vas stays.
    Enter(P::Sd, "150");
    EXPECT_DOUBLE_EQ(unit.Vas, vas);
    EXPECT_NEAR(unit.Cms, vas / (0.015 * 0.015 * 140000.0), 1e-12);
    EXPECT_NEAR(unit.Cas, unit.Sd * unit.Sd * unit.Cms * 140000.0 * 7.142857142857143e-6, 1e-15);
    EXPECT_EQ(Shown(P::Cms), "4.4e-04");

    // Without Vas, Vas follows from Sd and the compliance (R2).
    Enter(P::Vas, "0");
    const double cms = unit.Cms;
    Enter(P::Sd, "200");
    EXPECT_DOUBLE_EQ(unit.Cms, cms);
    EXPECT_NEAR(unit.Vas, 0.02 * 0.02 * cms * 140000.0, 1e-12);
    EXPECT_EQ(Shown(P::Vas), "24.89");
}

TEST_F(TSpeakerUnitDialogTest, CalcMissingFieldsFillsTheFieldsButNotWhileCrosscalcIsOn)
{
    dialog->OpenAtSavedPosition();
    for (auto [param, text] : {std::pair{P::Vas, "14"}, {P::Cms, "1.2e-3"}, {P::fs, "39"}, {P::Qes, "0.41"},
                               {P::Qms, "2.16"}, {P::Re, "6.2"}})
        Enter(param, text);
    const int notified = changes;

    dialog->Toggle(D::kCrossCalc, true);
    const int beeps = host.Beeps();
    dialog->Command(D::kCalcMissing);
    EXPECT_EQ(host.Beeps(), beeps + 1);
    EXPECT_EQ(Shown(P::Sd), "undef.");
    EXPECT_EQ(changes, notified);

    dialog->Toggle(D::kCrossCalc, false);
    dialog->Command(D::kCalcMissing);
    EXPECT_TRUE(unit.IsComplete());
    for (P p : {P::Sd, P::Cas, P::Qts, P::Mms, P::Mmd, P::Rms, P::Bl})
        EXPECT_NE(Shown(p), "undef.") << static_cast<int>(p);
    for (P p : {P::Xmax, P::h, P::l, P::Pmax, P::Le})
        EXPECT_EQ(Shown(p), "undef.") << static_cast<int>(p);
    EXPECT_EQ(Shown(P::Vas), "14.00"); // given values stay
    EXPECT_EQ(changes, notified + 1);
    EXPECT_NE(dialog->Field(D::kEfficiency).text, "--");
}

TEST_F(TSpeakerUnitDialogTest, TextsTypeAndDoubleVoiceCoilGoIntoTheUnit)
{
    dialog->OpenAtSavedPosition();
    Enter(D::kManufacturer, std::string(120, 'm'));
    EXPECT_EQ(std::string(unit.manufacturer), std::string(99, 'm'));
    EXPECT_TRUE(dialog->UnitChangedSinceSave());
    EXPECT_EQ(changes, 0); // a text does not change the simulation
    Enter(D::kModel, "W16");
    EXPECT_STREQ(unit.model, "W16");

    dialog->Select(D::kSpeakerType, 5);
    EXPECT_EQ(unit.speakerType, 5);
    EXPECT_EQ(changes, 1);
    dialog->Toggle(D::kDoubleVoiceCoil, true);
    EXPECT_EQ(unit.doubleVoiceCoil, 1);
    EXPECT_EQ(changes, 2);

    // A text typed but not yet committed still counts for a command.
    dialog->Type(D::kModel, "W18");
    dialog->Command(D::kCopy);
    EXPECT_STREQ(unit.model, "W18");
}

TEST_F(TSpeakerUnitDialogTest, SavingAUnitWithoutAFileAsksForOne)
{
    OpenWithWoofer();
    const std::string path = folder_.File("new.unt");
    host.QueueFileName(path);
    dialog->Command(D::kSave);
    ASSERT_EQ(host.FileRequests().size(), 1u);
    EXPECT_EQ(host.FileRequests()[0].filter, TSpkData::kFileFilter);
    EXPECT_EQ(host.FileRequests()[0].defaultExtension, "unt");
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(storedPath, "new.unt"); // inside the program folder: relative
    EXPECT_STREQ(unit.fileName, "new.unt");
    EXPECT_EQ(dialog->Field(D::kFileName).text, "new.unt");
    EXPECT_FALSE(dialog->UnitChangedSinceSave());

    // Now it has one: Save writes there without asking.
    Enter(P::Re, "8");
    dialog->Command(D::kSave);
    EXPECT_EQ(host.FileRequests().size(), 1u);
    TSpkData back;
    ASSERT_TRUE(back.Load(path));
    EXPECT_EQ(back.Re, 8.0);
    EXPECT_FALSE(dialog->UnitChangedSinceSave());
}

TEST_F(TSpeakerUnitDialogTest, ACancelledOrFailedSaveKeepsTheChanges)
{
    OpenWithWoofer();
    Enter(P::Re, "8");
    host.QueueFileName(std::nullopt);
    EXPECT_FALSE(dialog->SaveUnitAs());
    EXPECT_TRUE(dialog->UnitChangedSinceSave());

    storedPath = folder_.File("no-such-folder/unit.unt");
    EXPECT_FALSE(dialog->SaveUnit());
    ASSERT_NE(host.LastMessage(), nullptr);
    EXPECT_EQ(host.LastMessage()->text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
    EXPECT_EQ(host.LastMessage()->title, "File save");
    EXPECT_TRUE(dialog->UnitChangedSinceSave());
    EXPECT_EQ(unit.Re, 8.0);

    host.QueueFileName(folder_.File("no-such-folder/other.unt"));
    EXPECT_FALSE(dialog->SaveUnitAs());
    EXPECT_EQ(host.LastMessage()->title, "File save as");
    EXPECT_EQ(storedPath, folder_.File("no-such-folder/unit.unt"));
}

TEST_F(TSpeakerUnitDialogTest, OpeningStoresTheFullPathOnlyOutsideTheProgramFolder)
{
    spktest::TScratchFolder elsewhere;
    fs::create_directories(folder_.Path() / "units");
    struct Case {
        std::string path;
        std::string stored;
    };
    const Case cases[] = {
        {folder_.File("units/w16.unt"), "units/w16.unt"},
        {folder_.File("top.unt"), "top.unt"},
        {elsewhere.File("w16.unt"), elsewhere.File("w16.unt")},
    };
    dialog->OpenAtSavedPosition();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SaveWoofer(c.path);
        const int notified = changes;
        host.QueueFileName(c.path);
        dialog->Command(D::kOpen);
        EXPECT_EQ(storedPath, c.stored);
        EXPECT_EQ(changes, notified + 1);
        EXPECT_EQ(Shown(P::Vas), "14.00");
        EXPECT_EQ(dialog->Field(D::kManufacturer).EditText(), "Maker");
        EXPECT_FALSE(dialog->UnitChangedSinceSave());
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(TSpeakerUnitDialogTest, AFailedOpenLeavesAnEmptyUnitWithoutAFile)
{
    const std::string good = SaveWoofer(folder_.File("good.unt"));
    const std::string bad = folder_.File("bad.unt");
    spktest::WriteBytes(bad, {100, 0, 1, 2, 3});
    host.QueueFileName(good);
    dialog->OpenAtSavedPosition();
    ASSERT_TRUE(dialog->OpenUnit());

    host.QueueFileName(bad);
    EXPECT_FALSE(dialog->OpenUnit());
    ASSERT_NE(host.LastMessage(), nullptr);
    EXPECT_EQ(host.LastMessage()->text, "Could not open file.\nCheck path and filename.");
    EXPECT_EQ(host.LastMessage()->title, "File load");
    EXPECT_EQ(Shown(P::Vas), "undef.");
    EXPECT_FALSE(unit.IsDefined(P::fs));
    // A later Save must not write the empty unit over the file named before.
    EXPECT_EQ(storedPath, "");
    host.QueueFileName(std::nullopt);
    EXPECT_FALSE(dialog->SaveUnit());
    EXPECT_EQ(host.FileRequests().back().title, "Save speaker unit as");
    TSpkData back;
    ASSERT_TRUE(back.Load(good));
    EXPECT_EQ(back.Vas, 0.014);
}

TEST_F(TSpeakerUnitDialogTest, NewAndOpenAskBeforeDiscardingChanges)
{
    struct Case {
        TMsgAnswer answer;
        bool discarded; // the unit was replaced
        bool saved;     // the old unit went to its file first
    };
    for (const Case& c : {Case{TMsgAnswer::Cancel, false, false}, Case{TMsgAnswer::No, true, false},
                          Case{TMsgAnswer::Yes, true, true}}) {
        for (int command : {D::kNew, D::kOpen}) {
            SCOPED_TRACE(::testing::Message() << "command " << command << " answer " << static_cast<int>(c.answer));
            const std::string file = SaveWoofer(folder_.File("w16.unt"));
            const std::string other = SaveWoofer(folder_.File("other.unt"));
            storedPath = "w16.unt";
            ASSERT_TRUE(unit.Load(file));
            dialog->OpenAtSavedPosition();
            Enter(P::Re, "8");
            Enter(P::Le, "0.5");
            host.ClearMessages();
            host.QueueAnswer(c.answer);
            if (command == D::kOpen)
                host.QueueFileName(other);
            dialog->Command(command);

            ASSERT_FALSE(host.Messages().empty());
            EXPECT_EQ(host.Messages()[0].text, "File has been changed.\r\nSave file ?");
            EXPECT_EQ(host.Messages()[0].title, "Speaker unit editor");
            EXPECT_EQ(host.Messages()[0].buttons, TMsgButtons::YesNoCancel);
            EXPECT_EQ(unit.Le != 0.0, !c.discarded);
            EXPECT_EQ(dialog->UnitChangedSinceSave(), !c.discarded);
            TSpkData back;
            ASSERT_TRUE(back.Load(file));
            EXPECT_EQ(back.Re == 8.0, c.saved);
            if (c.discarded) {
                EXPECT_EQ(storedPath, command == D::kNew ? "" : "other.unt");
            }
            dialog->Close();
        }
    }
}

TEST_F(TSpeakerUnitDialogTest, AnUnchangedUnitIsReplacedWithoutAQuestion)
{
    OpenWithWoofer();
    storedPath = "w16.unt";
    dialog->Command(D::kNew);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(Shown(P::fs), "undef.");
    EXPECT_EQ(storedPath, "");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(dialog->UnitChangedSinceSave());
}

TEST_F(TSpeakerUnitDialogTest, ClosingAsksAndCancelKeepsTheEditorOpen)
{
    OpenWithWoofer();
    dialog->position = {120, 80};
    dialog->Type(FieldId(P::Re), "7");
    host.QueueAnswer(TMsgAnswer::Cancel);
    EXPECT_FALSE(dialog->AskClose());
    EXPECT_TRUE(dialog->IsOpen());
    EXPECT_EQ(unit.Re, 7.0); // the field being edited committed first
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "File has been changed.\r\nSave before exit ?");
    EXPECT_EQ(host.Messages()[0].title, "Speaker unit editor");
    EXPECT_EQ(closes, 0);

    host.QueueAnswer(TMsgAnswer::No);
    dialog->Escape();
    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_FALSE(host.IsDialogOpen(*dialog));
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(unit.editorX, 120);
    EXPECT_EQ(unit.editorY, 80);

    // Reopened, it stands where it was left.
    dialog->position = {};
    dialog->OpenAtSavedPosition();
    EXPECT_EQ(dialog->position.x, 120);
    EXPECT_EQ(dialog->position.y, 80);
    EXPECT_TRUE(dialog->AskClose()); // nothing changed since: no question
    EXPECT_EQ(host.Messages().size(), 2u);
}

TEST_F(TSpeakerUnitDialogTest, YesOnClosingSavesAndAFailedSaveKeepsItOpen)
{
    OpenWithWoofer();
    Enter(P::Re, "7");
    host.QueueAnswer(TMsgAnswer::Yes);
    host.QueueFileName(std::nullopt); // no file yet: save as, cancelled
    EXPECT_FALSE(dialog->AskClose());
    EXPECT_TRUE(dialog->IsOpen());

    host.QueueAnswer(TMsgAnswer::Yes);
    host.QueueFileName(folder_.File("kept.unt"));
    EXPECT_TRUE(dialog->AskClose());
    TSpkData back;
    ASSERT_TRUE(back.Load(folder_.File("kept.unt")));
    EXPECT_EQ(back.Re, 7.0);
}

TEST_F(TSpeakerUnitDialogTest, UnitTextOfAnEmptyUnitIsTheHeaderOnly)
{
    dialog->OpenAtSavedPosition();
    dialog->Command(D::kCopy);
    EXPECT_EQ(host.ClipboardText(), "Manufacturer:\t\r\nModel:\t\t\r\nFilename:\t\r\nSpeaker type:\tBass\r\n\r\n");

    OpenWithWoofer();
    Enter(D::kManufacturer, "Maker");
    dialog->Command(D::kCopy);
    EXPECT_EQ(host.ClipboardText(), SpkUnitText(unit));
    EXPECT_NE(host.ClipboardText().find("Vas:\t\t14.00 l\r\n"), std::string::npos);
    EXPECT_EQ(host.ClipboardText().rfind("Manufacturer:\tMaker\r\n", 0), 0u);
}

TEST_F(TSpeakerUnitDialogTest, PrintingMakesOnePageOrSaysWhyNot)
{
    OpenWithWoofer();
    dialog->Command(D::kPrint);
    ASSERT_EQ(host.PrintJobs().size(), 1u);
    EXPECT_EQ(host.PrintJobs()[0].name, "Tonvek print job");
    EXPECT_EQ(host.PrintJobs()[0].pages, 1);
    EXPECT_TRUE(host.Messages().empty());

    host.SetPrintConfirmed(false);
    dialog->Command(D::kPrint);
    ASSERT_NE(host.LastMessage(), nullptr);
    EXPECT_EQ(host.LastMessage()->text, "Unable to print window");
    EXPECT_EQ(host.LastMessage()->title, "Printer failure");
}

TEST_F(TSpeakerUnitDialogTest, PrintedPageKeepsTheTextInsideItsBox)
{
    FillExampleWoofer(unit);
    unit.SetManufacturer("Maker");
    // A note with one long line and a word longer than a whole line.
    std::string note = "Measured in free air. ";
    for (int i = 0; i < 20; ++i)
        note += "word" + std::to_string(i) + " ";
    note += "\r\n" + std::string(150, 'x') + "\r\nlast";
    unit.SetUserNote(note);

    TRecordingCanvas canvas(2480, 3508);
    D::PaintPage(canvas, SpkUnitText(unit));
    EXPECT_EQ(canvas.Mapping().logicalW, 1200);
    EXPECT_EQ(canvas.Mapping().logicalH, 1200);
    // The texts with the font each was drawn in.
    std::vector<std::pair<TCanvasOp, int>> texts;
    int height = 0;
    for (const TCanvasOp& op : canvas.Ops()) {
        if (op.kind == TCanvasOp::Kind::Font)
            height = op.font.height;
        else if (op.kind == TCanvasOp::Kind::Text)
            texts.emplace_back(op, height);
    }
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].first.text, "Speaker unit data");
    EXPECT_EQ(texts[0].first.points[0], (TPoint{600, 60}));
    EXPECT_EQ(texts[0].first.align & TAlign::Center, TAlign::Center);
    EXPECT_EQ(texts[0].second, 30);

    std::string joined;
    int lastY = 0;
    for (std::size_t i = 1; i < texts.size(); ++i) {
        const TCanvasOp& t = texts[i].first;
        SCOPED_TRACE(t.text);
        EXPECT_EQ(texts[i].second, 15);
        EXPECT_EQ(t.text.find('\t'), std::string::npos);
        EXPECT_GE(t.points[0].x, 100);
        EXPECT_LE(t.points[0].x + canvas.TextWidth(t.text), 1100);
        EXPECT_GE(t.points[0].y, 60);
        EXPECT_GE(t.points[0].y, lastY);
        lastY = t.points[0].y;
        joined += t.text;
    }
    // Nothing lost on the way: every word of the note is on the page.
    for (int i = 0; i < 20; ++i)
        EXPECT_NE(joined.find("word" + std::to_string(i)), std::string::npos) << i;
    std::size_t xs = 0;
    for (char ch : joined)
        xs += ch == 'x';
    EXPECT_EQ(xs, 150u);
    EXPECT_EQ(texts.back().first.text, "last");

    // Tabs go to the same stop: the values of "Model:\t\t" and "Vas:\t\t" line up.
    auto xOf = [&](const std::string& s) {
        for (const auto& [t, h] : texts)
            if (t.text == s)
                return t.points[0].x;
        return -1;
    };
    EXPECT_GT(xOf("Maker"), 100);
    EXPECT_EQ(xOf("Maker"), xOf("14.00 l"));
}

TEST_F(TSpeakerUnitDialogTest, AChangedUserNoteMarksTheUnitChanged)
{
    OpenWithWoofer();
    dialog->Command(D::kUserNote);
    TInfoDialog* note = dialog->NoteDialog();
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(host.IsDialogOpen(*note));
    note->Press(TBaseDialog::OkId);
    EXPECT_FALSE(dialog->UnitChangedSinceSave()); // closed without editing

    dialog->Command(D::kUserNote);
    note = dialog->NoteDialog();
    ASSERT_NE(note, nullptr);
    note->Type(TInfoDialog::NoteId, "Sealed box only");
    note->FocusField(TBaseDialog::OkId);
    note->Press(TBaseDialog::OkId);
    EXPECT_EQ(dialog->NoteDialog(), nullptr);
    EXPECT_STREQ(unit.userNote, "Sealed box only");
    EXPECT_TRUE(dialog->UnitChangedSinceSave());
}

// ---------------------------------------------------------------- in a box project

namespace {

class TUnitEditorInBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        box = std::make_unique<TClosedBox>(host, context);
        FillExampleWoofer(box->FrontDriver());
        box->FrontDriver().EvaluateComplete();
        box->BoxVolume().Vb = 0.014;
        box->BoxVolume().dirty = true;
        context.MeasSetup().setupChanged = true;
        box->Calculate(0);
        mid = static_cast<std::size_t>(box->PointCount() / 2);
    }
    void TearDown() override { box.reset(); }
    spktest::TScratchFolder folder;
    std::size_t mid = 0;
    TProgramContext context{folder.Path().string()};
    THeadlessHost host;
    std::unique_ptr<TClosedBox> box;
};

} // namespace

TEST_F(TUnitEditorInBoxTest, EveryAcceptedEntryRecalculatesTheProject)
{
    box->OpenUnitEditor();
    TSpeakerUnitDialog* editor = box->UnitEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->IsOpen());
    EXPECT_EQ(host.CommandEnabled(TCmd::UnitEditor), false);
    EXPECT_EQ(host.CommandEnabled(TCmd::DriverLoad), false);

    struct Case {
        P param;
        const char* text;
    };
    for (const Case& c : {Case{P::Re, "8"}, Case{P::Bl, "9"}, Case{P::Mms, "20"}}) {
        SCOPED_TRACE(c.text);
        const auto before = box->splTotal;
        editor->Type(FieldId(c.param), c.text);
        editor->FocusField(0);
        EXPECT_NE(box->splTotal[mid], before[mid]);
        // The finished calculation leaves the two unit commands off while the editor is open.
        EXPECT_EQ(host.CommandEnabled(TCmd::UnitEditor), false);
        EXPECT_EQ(host.CommandEnabled(TCmd::DriverLoad), false);
    }

    // A refused entry changes nothing in the project.
    editor->Toggle(TSpeakerUnitDialog::kCrossCalc, true);
    const auto before = box->splTotal;
    editor->Type(FieldId(P::Qts), "5");
    editor->FocusField(0);
    EXPECT_EQ(box->splTotal, before);

    // An incomplete unit stops the calculation.
    editor->Toggle(TSpeakerUnitDialog::kCrossCalc, false);
    editor->Type(FieldId(P::Bl), "0");
    editor->FocusField(0);
    EXPECT_FALSE(box->FrontDriver().complete);
    EXPECT_EQ(host.CommandEnabled(TCmd::Calculate), false);

    host.QueueAnswer(TMsgAnswer::No);
    EXPECT_TRUE(editor->AskClose());
    EXPECT_EQ(host.CommandEnabled(TCmd::UnitEditor), true);
    EXPECT_EQ(host.CommandEnabled(TCmd::DriverLoad), true);
}

TEST_F(TUnitEditorInBoxTest, DoubleVoiceCoilBringsTheCoilWiringIn)
{
    box->OpenUnitEditor();
    TSpeakerUnitDialog* editor = box->UnitEditor();
    const auto single = box->splTotal;
    box->FrontDriver().dvcConnection = TSpeakerConnection::kPairSeries;
    editor->Toggle(TSpeakerUnitDialog::kDoubleVoiceCoil, true);
    EXPECT_TRUE(box->FrontDriver().HasDoubleVoiceCoil());
    EXPECT_NE(box->FrontDriver().TotalFactors().kZ, 1.0);
    EXPECT_NE(box->splTotal[mid], single[mid]);
}

TEST_F(TUnitEditorInBoxTest, TheProjectAsksTheEditorFirst)
{
    box->OpenUnitEditor();
    TSpeakerUnitDialog* editor = box->UnitEditor();
    editor->Type(FieldId(P::Re), "8");
    editor->FocusField(0);
    host.ClearMessages();
    host.QueueAnswer(TMsgAnswer::Cancel);
    EXPECT_FALSE(box->AskSaveChanges());
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "File has been changed.\r\nSave before exit ?");
    EXPECT_TRUE(editor->IsOpen());
}
