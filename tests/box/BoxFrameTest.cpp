// What every box type shares, run for each registered type: recalculation requests,
// command enabling, the file body and its damaged forms, the save questions, unit
// loading, export, the print list and the window commands. A new type gets these
// checks the day it is registered.

#include "box/TBoxDiagramDialogs.h"
#include "box/TBoxEmbryo.h"
#include "box/TBoxReport.h"
#include "box/TBoxType.h"
#include "box/elements/TBoxObject.h"
#include "core/TBinaryStream.h"
#include "settings/TProgramContext.h"
#include "support/BoxTestBench.h"
#include "support/ExampleWoofer.h"
#include "ui/TCommandIds.h"
#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class BoxFrameTest : public ::testing::TestWithParam<const TBoxType*>, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-frame"); }
    void TearDown() override { Leave(); }

    // An empty project of the type under test.
    std::unique_ptr<TBoxEmbryo> Make() { return GetParam()->make(host_, context_); }

    // A project of the type with the example woofer, ready to calculate.
    std::unique_ptr<TBoxEmbryo> MakeBox()
    {
        auto box = Make();
        Prepare(*box, 0.02);
        return box;
    }
};

} // namespace

TEST_P(BoxFrameTest, DescriptionMatchesTheProjectItMakes)
{
    const TBoxType& type = *GetParam();
    auto box = Make();
    EXPECT_EQ(&box->Type(), &type);
    EXPECT_EQ(box->TypeCode(), type.typeCode);
    EXPECT_EQ(box->MenuNumber(), type.menu);
    EXPECT_EQ(box->BaseTitle(), "Tonvek 4.10 Beta " + type.title);
    EXPECT_EQ(TBoxTypes::ByCode(type.typeCode), &type);
    EXPECT_EQ(TBoxTypes::ByCliName(type.cliName), &type);
    EXPECT_FALSE(type.roomSources.empty()) << "the room model sees at least the driver";
    for (const TBoxType* other : TBoxTypes::All())
        if (other != &type) {
            EXPECT_NE(other->typeCode, type.typeCode);
            EXPECT_NE(other->cliName, type.cliName);
        }
}

TEST_P(BoxFrameTest, NewProjectStartsFromTheSavedPreferences)
{
    TMeasSetup saved;
    saved.startFrequency = 35;
    saved.stopFrequency = 3500;
    saved.pointCount = 123;
    saved.SetSourceLevel(4.0);
    saved.highPassCutoff = 25;
    ASSERT_TRUE(saved.SavePreferences(context_.Folder()));
    // What the previous project left in the program's setup does not carry over.
    TMeasSetup& setup = context_.MeasSetup();
    setup.pointCount = 77;
    setup.sourceResistance = 3.0;
    setup.setupChanged = false;
    auto box = Make();
    EXPECT_EQ(setup.startFrequency, 35);
    EXPECT_EQ(setup.stopFrequency, 3500);
    EXPECT_EQ(setup.pointCount, 123);
    EXPECT_DOUBLE_EQ(setup.sourceLevel, 4.0);
    EXPECT_EQ(setup.highPassCutoff, 25);
    EXPECT_EQ(setup.sourceResistance, saved.sourceResistance);
    EXPECT_TRUE(setup.setupChanged);
    EXPECT_EQ(setup.grid.Count(), 123);
}

TEST_P(BoxFrameTest, IncompleteDriverCalculatesNothing)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    box.Calculate(0);
    EXPECT_TRUE(box.Report().Lines().empty());
    EXPECT_EQ(box.splTotal[0], 0.0);
}

TEST_P(BoxFrameTest, RecalculationKinds)
{
    auto box = MakeBox();
    box->RecalcRequest(TRecalc::MarkUnchanged);
    EXPECT_FALSE(box->Changed());
    box->RecalcRequest(TRecalc::MarkChanged); // marks changed, calculates nothing
    EXPECT_TRUE(box->Changed());
    EXPECT_TRUE(box->Report().Lines().empty());
    context_.MeasSetup().hidePhase = true;
    box->RecalcRequest(TRecalc::MarkChanged);
    EXPECT_FALSE(box->SplPlot().PhaseShown());
    box->RecalcRequest(TRecalc::Recalculate); // calculate immediately is on by default
    ASSERT_FALSE(box->Report().Lines().empty());
    auto spl = box->splTotal;
    auto phase = box->splPhase;
    auto delay = box->groupDelay;
    auto excursion = box->FrontDriver().excursion;
    auto impedance = box->FrontDriver().impedanceMagnitude;
    box->BoxVolume().Vb = 0.04;
    box->BoxVolume().dirty = true;
    const std::vector<std::string> before = box->Report().Lines();
    box->RecalcRequest(TRecalc::ReportOnly); // report only: the curves stay
    EXPECT_NE(box->Report().Lines(), before) << "the report follows the new volume";
    EXPECT_EQ(box->splTotal, spl);
    EXPECT_EQ(box->splPhase, phase);
    EXPECT_EQ(box->groupDelay, delay);
    EXPECT_EQ(box->FrontDriver().excursion, excursion);
    EXPECT_EQ(box->FrontDriver().impedanceMagnitude, impedance);
}

TEST_P(BoxFrameTest, MinusThreeDecibelSearch)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    const TFreqGrid& g = box.Grid();
    const int n = g.Count();
    struct Row {
        const char* name;
        double slope; // dB per grid point
        int transition;
        double expected; // Hz, 0 = none
    };
    const Row rows[] = {
        // Rising to the last point: the crossing of (last - 3 dB) lies halfway between
        // points n - 3 and n - 2.
        {"rising", 2.0, -1, 0.5 * (g.Frequency(n - 3) + g.Frequency(n - 2))},
        // The reference is the last simulated point below the transition.
        {"with transition", 2.0, 20, 0.5 * (g.Frequency(17) + g.Frequency(18))},
        {"within 3 dB from the first point", 0.05, -1, 0.0},
        {"falling", -1.0, -1, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int i = 0; i < n; ++i)
            box.splTotal[static_cast<std::size_t>(i)] =
                row.transition >= 0 && i >= row.transition ? 500.0 : row.slope * i;
        box.transitionIndex = row.transition;
        EXPECT_NEAR(box.SearchMinus3dB(), row.expected, 1e-9);
    }
}

TEST_P(BoxFrameTest, RecalculationKeepsTheCommandsOfOpenDialogsDisabled)
{
    auto box = MakeBox();
    box->OpenBoxDialog();
    box->OpenSetupDialog();
    box->OpenDriverConfig();
    box->OpenShowDiagrams();
    box->Calculate(0);
    for (int id : {TCmd::BoxDialog, TCmd::MeasSetup, TCmd::DriverConfig, TCmd::ShowDiagrams})
        EXPECT_EQ(host_.CommandEnabled(id), std::optional<bool>(false)) << id;
    EXPECT_EQ(host_.CommandEnabled(TCmd::Save), std::optional<bool>(true));
    // Commands the type does not offer stay off and unhandled.
    for (int id : GetParam()->unsupportedCommands) {
        EXPECT_NE(host_.CommandEnabled(id), std::optional<bool>(true)) << id;
        EXPECT_FALSE(box->HandlesCommand(id)) << id;
    }
    box->ExistingBoxDialog()->Close();
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::BoxDialog), std::optional<bool>(true));
    EXPECT_EQ(host_.CommandEnabled(TCmd::MeasSetup), std::optional<bool>(false));
}

TEST_P(BoxFrameTest, ShowDiagramsListsEveryPlotAndBringsUpTheChosenOne)
{
    auto box = MakeBox();
    box->Calculate(0);
    box->RestoreStartWindows();
    host_.HideView(box->ExcursionPlot());
    box->OpenShowDiagrams();
    TDialogModel* show = nullptr;
    for (TDialogModel* d : host_.Dialogs())
        if (d->title == "Show diagrams")
            show = d;
    ASSERT_NE(show, nullptr);
    const TField* list = show->Find(TShowDiagramsDialog::kList);
    ASSERT_NE(list, nullptr);
    // The SPL plot, the room window, impedance, excursion, the transient window, group
    // delay, then the type's own.
    const std::vector<TPlotXYEmbryo*> own = box->OptionalPlots();
    ASSERT_EQ(list->items.size(), 6u + own.size());
    EXPECT_EQ(list->items[0], "Free air SPL at 1m distance");
    EXPECT_EQ(list->items[1], "SPL in Room & Cabinet");
    EXPECT_EQ(list->items[2], "Impedance");
    EXPECT_EQ(list->items[3], "Cone excursion");
    EXPECT_EQ(list->items[4], "Impulse response");
    EXPECT_EQ(list->items[5], "Group delay");
    for (std::size_t i = 0; i < own.size(); ++i)
        EXPECT_EQ(list->items[6 + i], own[i]->Title());
    show->Select(TShowDiagramsDialog::kList, 3);
    show->Press(TShowDiagramsDialog::kShow);
    EXPECT_FALSE(host_.IsViewMinimised(box->ExcursionPlot()));
}

TEST_P(BoxFrameTest, SaveAndLoadRoundTripUnchanged)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    SetGrid(20, 2000, 80);
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    box.BoxVolume().Vb = 0.0333;
    box.BoxVolume().fill = 40;
    box.BoxVolume().dirty = true;
    box.FrontDriver().SetNumberOfDrivers(2);
    box.Calculate(0);
    std::string path = (dir_ / "round.box").string();
    ASSERT_TRUE(box.SaveTo(path));

    auto madeAgain = Make();
    TBoxEmbryo& again = *madeAgain;
    host_.ClearMessages();
    ASSERT_TRUE(again.Load(path));
    EXPECT_TRUE(host_.Messages().empty());
    EXPECT_FALSE(again.Changed()); // no question when it is closed
    EXPECT_TRUE(again.AskSaveChanges());
    EXPECT_DOUBLE_EQ(again.BoxVolume().Vb, 0.0333);
    EXPECT_EQ(again.BoxVolume().fill, 40);
    EXPECT_EQ(again.FrontDriver().numberOfDrivers, 2);
    EXPECT_EQ(again.PointCount(), 80);
    EXPECT_EQ(again.splTotal, box.splTotal);
}

TEST_P(BoxFrameTest, EveryTruncationFailsWithoutCrashing)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    std::string path = (dir_ / "full.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    auto madeReader = Make();
    TBoxEmbryo& reader = *madeReader;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TBinaryReader in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        EXPECT_FALSE(reader.LoadFrom(in)) << cut;
    }
    TBinaryReader whole(bytes);
    EXPECT_TRUE(reader.LoadFrom(whole));
}

TEST_P(BoxFrameTest, MissingUnitOpensWithoutResults)
{
    std::string unit = unitPath();
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    ASSERT_TRUE(box.LoadFrontUnitFrom(unit));
    std::string path = (dir_ / "nounit.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    fs::remove(unit);
    auto madeReader = Make();
    TBoxEmbryo& reader = *madeReader;
    host_.ClearMessages();
    ASSERT_TRUE(reader.Load(path));
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file : woofer.unt\nCheck if path and filename is correct.");
    EXPECT_EQ(host_.LastMessage()->title, "Speaker unit load");
    EXPECT_EQ(reader.Report().Title(), "DRIVER UNIT INCOMPLETE");
    EXPECT_FALSE(reader.SplPlot().HasData());
}

TEST_P(BoxFrameTest, FailedSaveKeepsOldFileAndReports)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    host_.QueueFileName((dir_ / "missing-folder" / "x.box").string());
    host_.ClearMessages();
    EXPECT_FALSE(box.SaveAs());
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
    EXPECT_EQ(host_.LastMessage()->title, "File save as");
    EXPECT_TRUE(box.Changed());
}

TEST_P(BoxFrameTest, SaveWithoutAFileReportsUnderFileSave)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    host_.QueueFileName((dir_ / "missing-folder" / "x.box").string());
    host_.ClearMessages();
    EXPECT_FALSE(box.Save());
    ASSERT_NE(host_.LastMessage(), nullptr);
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
    EXPECT_EQ(host_.LastMessage()->title, "File save");
    EXPECT_TRUE(box.ProjectFileName().empty());
    EXPECT_TRUE(box.Changed());
}

TEST_P(BoxFrameTest, AskSaveAnswers)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    host_.QueueAnswer(TMsgAnswer::Cancel);
    EXPECT_FALSE(box.AskSaveChanges());
    EXPECT_EQ(host_.LastMessage()->text, "Project has been changed.\r\nSave project ?");
    EXPECT_EQ(host_.LastMessage()->title, "Box project");
    host_.QueueAnswer(TMsgAnswer::No);
    EXPECT_TRUE(box.AskSaveChanges());

    // Yes, then the save chooser cancelled or the save failing: the project stays
    // open with its changes.
    host_.QueueAnswer(TMsgAnswer::Yes);
    host_.QueueFileName(std::nullopt);
    EXPECT_FALSE(box.AskSaveChanges());
    host_.QueueAnswer(TMsgAnswer::Yes);
    host_.QueueFileName((dir_ / "missing-folder" / "x.box").string());
    EXPECT_FALSE(box.AskSaveChanges());
    EXPECT_TRUE(box.Changed());
    host_.QueueAnswer(TMsgAnswer::Yes);
    host_.QueueFileName((dir_ / "kept.box").string());
    EXPECT_TRUE(box.AskSaveChanges());
    EXPECT_FALSE(box.Changed());
    EXPECT_TRUE(fs::exists(dir_ / "kept.box"));
}

TEST_P(BoxFrameTest, MissingSnapshotFileLeavesAnEmptySnapshotPath)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    std::string path = (dir_ / "snap.box").string();
    ASSERT_TRUE(box.SaveTo(path));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    const std::size_t snapshotAt = 4 + 2 + 16 + 63 + 271;
    ASSERT_TRUE(box.SnapshotWindow().SaveFile((dir_ / "here.snp").string(), 410));
    std::ofstream(dir_ / "short.snp") << "x";
    for (const std::string name : {"gone.snp", "here.snp", "short.snp"}) {
        SCOPED_TRACE(name);
        auto b = bytes;
        std::copy(name.begin(), name.end(), b.begin() + static_cast<long>(snapshotAt));
        std::string named = (dir_ / "named.box").string();
        ASSERT_TRUE(SaveFileSafely(named, b.data(), b.size()));
        auto madeReader = Make();
    TBoxEmbryo& reader = *madeReader;
        host_.ClearMessages();
        ASSERT_TRUE(reader.Load(named));
        EXPECT_TRUE(host_.Messages().empty());
        // Saved again, the project names the snapshot file only when it could be read.
        std::string again = (dir_ / "again.box").string();
        ASSERT_TRUE(reader.SaveTo(again));
        std::vector<std::uint8_t> out;
        ASSERT_TRUE(ReadWholeFile(again, out));
        std::string stored(reinterpret_cast<const char*>(&out[snapshotAt]));
        EXPECT_EQ(stored, name == "here.snp" ? name : "");
    }
}

TEST_P(BoxFrameTest, FailedUnitLoadKeepsTheProjectsUnit)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    ASSERT_TRUE(box.LoadFrontUnitFrom(unitPath()));
    const auto spl = box.splTotal;
    const TSpkData before = box.FrontDriver();
    // Another unit, cut in the middle of its parameters.
    TSpkData other;
    FillWoofer(other);
    for (int i = 0; i < kSpkParamCount; ++i)
        other.Param(static_cast<TSpkParam>(i)) *= 1.5;
    std::string damaged = (dir_ / "damaged.unt").string();
    ASSERT_TRUE(other.Save(damaged));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(damaged, bytes));
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(SaveFileSafely(damaged, bytes.data(), bytes.size()));
    for (const std::string& path : {damaged, (dir_ / "none.unt").string()}) {
        SCOPED_TRACE(path);
        host_.ClearMessages();
        EXPECT_FALSE(box.LoadFrontUnitFrom(path));
        EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready.");
        EXPECT_TRUE(box.FrontDriver().complete);
        for (int i = 0; i < kSpkParamCount; ++i)
            EXPECT_EQ(box.FrontDriver().Param(static_cast<TSpkParam>(i)), before.Param(static_cast<TSpkParam>(i))) << i;
        EXPECT_STREQ(box.FrontDriver().fileName, before.fileName);
        box.Calculate(0);
        EXPECT_EQ(box.splTotal, spl);
    }
}

TEST_P(BoxFrameTest, UnitLoadMessages)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    host_.ClearMessages();
    EXPECT_FALSE(box.LoadFrontUnitFrom((dir_ / "none.unt").string()));
    EXPECT_EQ(host_.LastMessage()->text, "Could not open file.\nCheck if device is ready.");
    TSpkData partial;
    partial.fs = 30;
    std::string p = (dir_ / "partial.unt").string();
    ASSERT_TRUE(partial.Save(p));
    EXPECT_TRUE(box.LoadFrontUnitFrom(p));
    EXPECT_EQ(host_.LastMessage()->text, "Too few speaker parameters are defined");
    EXPECT_EQ(host_.CommandEnabled(TCmd::Calculate), std::optional<bool>(false));
}

TEST_P(BoxFrameTest, ExportChoosesFormatByExtension)
{
    auto box = MakeBox();
    box->Calculate(0);
    host_.ClearMessages();
    EXPECT_FALSE(box->ExportTo(TBoxExport::Spl, (dir_ / "curve.xyz").string()));
    EXPECT_EQ(host_.LastMessage()->text, "No valid export format selected");
    EXPECT_EQ(host_.LastMessage()->title, "Export error");
    EXPECT_TRUE(box->ExportTo(TBoxExport::Spl, (dir_ / "curve.frd").string()));
    EXPECT_TRUE(box->ExportTo(TBoxExport::Impedance, (dir_ / "curve.ZMA").string()));
    EXPECT_TRUE(fs::file_size(dir_ / "curve.frd") > 100);
}

TEST_P(BoxFrameTest, PrintListRules)
{
    auto madeBox = Make();
    TBoxEmbryo& box = *madeBox;
    EXPECT_TRUE(box.AddToPrintList(0));
    EXPECT_FALSE(box.AddToPrintList(0));
    EXPECT_EQ(host_.LastMessage()->text, "Item already selected");
    EXPECT_FALSE(box.AddToPrintList(static_cast<int>(box.DiagramWindows().size()))); // no such window
    EXPECT_FALSE(box.AddToPrintList(-1));
    EXPECT_EQ(box.PrintList().size(), 1u);
    EXPECT_TRUE(box.RemoveFromPrintList());
    EXPECT_FALSE(box.RemoveFromPrintList());
    EXPECT_EQ(host_.LastMessage()->text, "No items left");
    EXPECT_EQ(host_.LastMessage()->title, "");
}

TEST_P(BoxFrameTest, PrintDiagramsPagesFollowTheListAndPerPage)
{
    auto box = MakeBox();
    box->Calculate(0);
    TDiagramPages all = box->DiagramPages();
    EXPECT_EQ(all.diagrams.size(), box->DiagramWindows().size()); // an empty list prints every plot
    EXPECT_EQ(all.PageCount(), 1);
    // The pages are headed with the type's report title ("CLOSED BOX", "BASSREFLEX BOX", "ABR BOX").
    EXPECT_FALSE(all.heading.empty());
    EXPECT_EQ(all.heading, box->Report().Title());
    box->diagramsPerPage = 3;
    const int windows = static_cast<int>(box->DiagramWindows().size());
    EXPECT_EQ(box->DiagramPages().PageCount(), (windows + 2) / 3);
    ASSERT_TRUE(box->AddToPrintList(3));
    ASSERT_TRUE(box->AddToPrintList(0));
    TDiagramPages chosen = box->DiagramPages();
    ASSERT_EQ(chosen.diagrams.size(), 2u);
    EXPECT_EQ(chosen.diagrams[0]->Title(), "Cone excursion");
    EXPECT_TRUE(box->PrintDiagrams());
    ASSERT_EQ(host_.PrintJobs().size(), 1u);
    EXPECT_EQ(host_.PrintJobs()[0].name, "Tonvek print job");
    host_.SetPrintConfirmed(false);
    EXPECT_FALSE(box->PrintDiagrams());
}

TEST_P(BoxFrameTest, WindowCommandsGoToTheActivePlot)
{
    auto box = MakeBox();
    box->Calculate(0);
    host_.SetActiveView(&box->ImpedancePlot());
    box->ImpedancePlot().placement.show = TShowState::Normal;
    ASSERT_TRUE(box->HandleCommand(TCmd::CopyWindow));
    EXPECT_EQ(host_.PicturesCopied(), 1);
    host_.QueueInput(std::string("impedance note"));
    ASSERT_TRUE(box->HandleCommand(TCmd::UserNote));
    EXPECT_EQ(box->ImpedancePlot().Note(), "impedance note");
    EXPECT_TRUE(box->Report().Note().empty());
    host_.SetActiveView(nullptr);
    box->RecalcRequest(TRecalc::MarkUnchanged);
    ASSERT_TRUE(box->HandleCommand(TCmd::UserNote));
    TInfoDialog* note = box->NoteDialog();
    ASSERT_NE(note, nullptr);
    note->Type(TInfoDialog::NoteId, "project note");
    note->FocusField(TBaseDialog::OkId);
    note->Press(TBaseDialog::OkId);
    EXPECT_EQ(box->NoteDialog(), nullptr);
    EXPECT_EQ(box->Report().Note(), "project note");
    EXPECT_EQ(box->InfoWindow().Notes(), "project note");
    EXPECT_TRUE(box->Changed());
}

INSTANTIATE_TEST_SUITE_P(EveryBoxType, BoxFrameTest, ::testing::ValuesIn(TBoxTypes::All().begin(), TBoxTypes::All().end()),
                         [](const ::testing::TestParamInfo<const TBoxType*>& info) { return info.param->cliName; });
