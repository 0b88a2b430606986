// The cursor readout as a plot drives it (activation, data, pointer and key events),
// and the cursor dialog with the view its host makes. The values and formats of the
// readout itself are in CursorReadoutTest.cpp.

#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace plottest;

namespace {
// A host that shows field windows: its views record what they are told.
class TFieldViewHost : public THeadlessHost {
public:
    struct TRecordingView : TFieldView {
        std::vector<int>* changes;
        void FieldChanged(int id) override { changes->push_back(id); }
    };
    std::unique_ptr<TFieldView> CreateFieldView(TFieldSource& source) override
    {
        sources.push_back(&source);
        auto view = std::make_unique<TRecordingView>();
        view->changes = &changes;
        return view;
    }
    std::vector<TFieldSource*> sources;
    std::vector<int> changes;
};
} // namespace

TEST(PlotCursor, ModesFollowActivationDataAndDoubleClicks)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
    t.plot.Activated(true);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff) << "no data yet";
    t.Ranges(20, 2000, 40, 90);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorAbsolute) << "data on an active window";
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorRelative);
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorAbsolute);
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    t.plot.Activated(false);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
    EXPECT_EQ(t.plot.ReferenceY(), 0);
    EXPECT_FALSE(t.plot.IsActive());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXValue), "") << "leaving empties the readout";
    t.plot.MouseDoubleClick(300, 145, 600, 290);
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
}

TEST(PlotCursor, EnteringThePlotWritesCaptionsAndUnits)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.Ranges(20, 2000, 40, 90);
    t.plot.Activated(true);
    t.plot.MouseMove(10, 10, 600, 290); // outside the cursor rectangle
    EXPECT_FALSE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "");
    t.plot.MouseMove(300, 100, 600, 290);
    EXPECT_TRUE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "X:");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "Y:");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXUnit), "Hz");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYUnit), "dB");
    EXPECT_NE(t.cursor.Field(TCursorDialog::kXValue), "--------");
    // The rectangle's edges: left and top inside, right and bottom outside.
    t.plot.MouseMove(60, 35, 600, 290);
    EXPECT_TRUE(t.plot.CursorInside());
    t.plot.MouseMove(545, 100, 600, 290);
    EXPECT_FALSE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "");
    t.plot.MouseMove(300, 100, 600, 290);
    t.plot.MouseLeave();
    EXPECT_FALSE(t.plot.CursorInside());
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "");
}

TEST(PlotCursor, ArrowKeysStepThePointer)
{
    TLinPlot t({0, 970}, {0, 1});
    t.Ranges(0, 970, 0, 370);
    t.plot.Activated(true);
    t.plot.MouseMove(600, 290, 1200, 580);
    double x = t.plot.LastCursorX(), y = t.plot.LastCursorY();
    t.plot.KeyPress(TKey::Right);
    EXPECT_DOUBLE_EQ(t.plot.LastCursorX(), x + 1);
    t.plot.KeyPress(TKey::Up);
    EXPECT_DOUBLE_EQ(t.plot.LastCursorY(), y + 1);
}

TEST(PlotCursor, DataClearedSwitchesTheReadoutOff)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.Ranges(20, 2000, 40, 90);
    t.plot.Activated(true);
    t.plot.MouseMove(300, 120, 600, 290);
    t.plot.MouseDoubleClick(300, 120, 600, 290);
    int redraws = t.host.Redraws(t.plot);
    t.plot.DataCleared();
    EXPECT_FALSE(t.plot.HasData());
    EXPECT_EQ(t.plot.CursorMode(), TPlotXYEmbryo::kCursorOff);
    EXPECT_EQ(t.plot.ReferenceY(), 0);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "");
    EXPECT_EQ(t.host.Redraws(t.plot), redraws + 1);
    t.plot.MouseMove(300, 100, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "") << "mode 1 ignores the mouse";
}

TEST(PlotCursor, RedrawRestoresTheCaptionsOfAPointerInside)
{
    TLogPlot t(LogGrid(10, 20, 2000), {std::vector<double>(10, 70)});
    t.Ranges(20, 2000, 40, 90);
    t.plot.Activated(true);
    t.plot.MouseMove(300, 120, 600, 290);
    t.plot.MouseDoubleClick(300, 120, 600, 290);
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYValue), "0.0");
    t.cursor.ClearFields(); // as another plot leaving would
    t.plot.Redraw();
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "X:");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "dY:");
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYUnit), "dB");
    t.plot.MouseLeave();
    t.cursor.SetField(TCursorDialog::kXCaption, "X:");
    t.plot.Redraw();
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kYCaption), "") << "a pointer outside leaves the dialog alone";
    EXPECT_EQ(t.cursor.Field(TCursorDialog::kXCaption), "X:");
}

TEST(PlotCursor, TheHostMakesTheCursorView)
{
    THeadlessHost headless;
    TCursorDialog quiet(headless);
    EXPECT_EQ(quiet.View(), nullptr) << "a headless host shows nothing";

    TFieldViewHost host;
    TCursorDialog cursor(host);
    ASSERT_NE(cursor.View(), nullptr);
    ASSERT_EQ(host.sources.size(), 1u);
    TFieldSource& source = *host.sources[0];
    EXPECT_EQ(source.Title(), "Cursor");
    ASSERT_EQ(source.Rows().size(), 2u);
    EXPECT_EQ(source.Rows()[0].caption, TCursorDialog::kXCaption);
    EXPECT_EQ(source.Rows()[0].value, TCursorDialog::kXValue);
    EXPECT_EQ(source.Rows()[0].unit, TCursorDialog::kXUnit);
    EXPECT_EQ(source.Rows()[1].caption, TCursorDialog::kYCaption);
    EXPECT_EQ(source.Rows()[1].value, TCursorDialog::kYValue);
    EXPECT_EQ(source.Rows()[1].unit, TCursorDialog::kYUnit);
    // The view hears of changes only.
    cursor.SetField(TCursorDialog::kXValue, "12");
    cursor.SetField(TCursorDialog::kXValue, "12");
    cursor.SetField(99, "x");
    cursor.ClearFields();
    EXPECT_EQ(host.changes, (std::vector<int>{TCursorDialog::kXValue, TCursorDialog::kXValue}));
    EXPECT_FALSE(source.CloseRequested());
    EXPECT_EQ(host.Beeps(), 1);
}

TEST(PlotCursor, CursorWindowOnlyBeepsOnClose)
{
    THeadlessHost host;
    TCursorDialog cursor(host);
    EXPECT_EQ(cursor.Title(), "Cursor");
    EXPECT_FALSE(cursor.CloseRequested());
    EXPECT_EQ(host.Beeps(), 1);
    cursor.SetField(99, "x");
    EXPECT_EQ(cursor.Field(99), "");
    cursor.SetField(TCursorDialog::kXValue, "12");
    EXPECT_EQ(cursor.Field(103), "12");
}
