// The filter project's diagram dialogs and exports: hidden windows shown again, the
// print list with its refusals and the printed heading, the ray chosen for the SPL
// total, and the export formats chosen by extension.
#include "NetTestSupport.h"

#include "filter/TXover.h"
#include "filter/TXoverDialogs.h"
#include "ui/TCommandIds.h"
#include "ui/TRecordingCanvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct TBench {
    explicit TBench(int kind = 0) : project(host, context, kind) {}
    THeadlessHost host;
    TProgramContext context;
    TXover project;
};

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("xoverdiag_" + name)).string();
}

std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(XoverDiagrams, ShowListsOnlyHiddenWindowsAndShowsTheChosenOne)
{
    TBench b;
    for (TPlotXYEmbryo* w : b.project.DiagramWindows())
        w->placement.show = TShowState::Minimised;
    TPlotLogXLinY& delay = b.project.Plot(TXoverPlot::GroupDelay);
    ASSERT_FALSE(delay.CloseRequested()); // closing hides
    ASSERT_TRUE(b.project.HandleCommand(TCmd::ShowDiagrams));
    TXoverShowDiagrams& d = *b.project.ShowDiagramsDialog();
    ASSERT_EQ(d.Field(TXoverShowDiagrams::kList).items, std::vector<std::string>{"Group delay"});
    d.Press(TXoverShowDiagrams::kShow);
    EXPECT_NE(delay.placement.show, TShowState::Hidden);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_TRUE(b.project.HiddenDiagrams().empty());
}

TEST(XoverDiagrams, PrintListRefusesRepeatsAndEmptyRemovalsAndPrintsTheHeading)
{
    for (int kind : {0, 1}) {
        TBench b(kind);
        EXPECT_FALSE(b.project.RemoveFromPrintList(0));
        EXPECT_EQ(b.host.LastMessage()->text, "No items left");
        EXPECT_TRUE(b.project.AddToPrintList(2));
        EXPECT_FALSE(b.project.AddToPrintList(2));
        EXPECT_EQ(b.host.LastMessage()->text, "Item already selected");
        EXPECT_FALSE(b.project.AddToPrintList(8));
        for (int w = 0; w < 8; ++w)
            (void)b.project.AddToPrintList(w);
        EXPECT_EQ(b.project.printList.size(), 8u);
        EXPECT_TRUE(b.project.RemoveFromPrintList(99)); // the last one
        EXPECT_EQ(b.project.printList.back(), 6);

        b.project.diagramsPerPage = 3;
        TDiagramPages pages = b.project.DiagramPages();
        EXPECT_EQ(pages.heading, kind == 1 ? "3 WAY FILTER" : "2 WAY FILTER");
        EXPECT_EQ(pages.diagrams.size(), 7u);
        EXPECT_EQ(pages.PageCount(), 3);
        TRecordingCanvas canvas;
        pages.PaintPage(canvas, 0);
        ASSERT_TRUE(b.project.HandleCommand(TCmd::PrintDiagrams));
        b.project.PrintDiagramsDialog()->Press(TXoverPrintDiagrams::OkId);
        ASSERT_EQ(b.host.PrintJobs().size(), 1u);
        EXPECT_EQ(b.host.PrintJobs()[0].name, "Tonvek print job");
        EXPECT_EQ(b.host.PrintJobs()[0].pages, 3);
    }
}

TEST(XoverExport, SplTotalWritesTheChosenRayAndCancelWritesNothing)
{
    TBench b;
    ASSERT_EQ(b.context.General().AddSurfaceRay(30), TRayChange::Done);
    b.project.Net(2).Driver(0).y = 0.3; // off axis the two drivers no longer add alike
    b.project.MarkAllDirty();
    b.project.Recalculate();
    const std::string path = TempPath("ray.frd");
    std::remove(path.c_str());

    ASSERT_TRUE(b.project.HandleCommand(12021));
    TExportRayDialog& d = *b.project.ExportRayDialog();
    EXPECT_EQ(d.Field(TExportRayDialog::kList).items, (std::vector<std::string>{"+30", "+0"}));
    EXPECT_EQ(d.Selected(TExportRayDialog::kList), 1);
    d.Press(2); // cancel
    EXPECT_FALSE(std::filesystem::exists(path));

    b.host.QueueFileName(path);
    ASSERT_TRUE(b.project.HandleCommand(12021));
    d.Select(TExportRayDialog::kList, 0);
    d.Press(TExportRayDialog::OkId);
    EXPECT_EQ(b.project.exportRay, 0);
    const std::vector<std::string> lines = Lines(path);
    ASSERT_GE(lines.size(), 500u);
    // The last line is the top grid point of the +30 degree row.
    std::istringstream last(lines.back());
    double f = 0, level = 0;
    last >> f >> level;
    EXPECT_NEAR(level, b.project.SummedLevel(0)[499], 1e-3);
    EXPECT_GT(std::fabs(level - b.project.SummedLevel(1)[499]), 0.01);
    std::remove(path.c_str());
}

TEST(XoverExport, FormatFollowsTheExtensionAndUnknownOnesAreRefused)
{
    TBench b;
    struct TCase {
        const char* extension;
        bool written;
    };
    for (const TCase& c : {TCase{".frd", true}, TCase{".ZMA", true}, TCase{".gdt", true}, TCase{".fmp", true},
                           TCase{".fm", true}, TCase{".txt", false}, TCase{".csv", false}}) {
        const std::string path = TempPath(std::string("fmt") + c.extension);
        std::remove(path.c_str());
        b.host.ClearMessages();
        EXPECT_EQ(b.project.ExportTotalTo(TXoverExport::Impedance, path), c.written) << c.extension;
        EXPECT_EQ(std::filesystem::exists(path), c.written) << c.extension;
        if (!c.written) {
            ASSERT_NE(b.host.LastMessage(), nullptr);
            EXPECT_EQ(b.host.LastMessage()->text, "No valid export format selected");
            EXPECT_EQ(b.host.LastMessage()->title, "Export error");
        }
        std::remove(path.c_str());
    }
}

TEST(XoverExport, SectionCommandsWriteTheirNetworksCurves)
{
    TBench b(1);
    struct TCase {
        int command;
        const double* first; // the curve's value at the first grid point
    };
    const TCase cases[] = {
        {12024, &b.project.Net(0).Level(0)[0]},
        {12033, &b.project.Net(1).FilterGain()[0]},
        {12012, &b.project.Net(2).ImpedanceMagnitude()[0]},
        {12003, &b.project.Net(1).GroupDelay()[0]},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.command);
        const std::string path = TempPath("section.frd");
        b.host.QueueFileName(path);
        ASSERT_TRUE(b.project.HandleCommand(c.command));
        const std::vector<std::string> lines = Lines(path);
        bool found = false;
        for (const std::string& line : lines) {
            std::istringstream row(line);
            double f = 0, y = 0;
            if ((row >> f >> y) && f == 5.0) {
                EXPECT_NEAR(y, *c.first, 1e-3 + 1e-5 * std::fabs(*c.first));
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found);
        std::remove(path.c_str());
    }
}

} // namespace
