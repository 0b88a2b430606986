// The room model inside every box type: what the type hands it, the combination of its
// groups, its window and its export.

#include "box/TBoxType.h"
#include "box/elements/TBoxObject.h"
#include "box/TBoxReport.h"
#include "room/TRoomCabinet.h"
#include "support/BoxTestBench.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

class RoomBoxTest : public ::testing::TestWithParam<const TBoxType*>, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-roombox"); }
    void TearDown() override { Leave(); }

    std::unique_ptr<TBoxEmbryo> MakeBox()
    {
        auto box = GetParam()->make(host_, context_);
        Prepare(*box, 0.03);
        return box;
    }
};

} // namespace

// With nothing in the room, every type's room curve is its free-air curve at the
// listening distance, at every grid point: the groups are combined as the box
// combines its sources.
TEST_P(RoomBoxTest, EmptyRoomGivesTheFreeAirCurve)
{
    SetGrid(10, 4000, 300);
    auto box = MakeBox();
    TRoomSettings& s = box->RoomModel().Settings();
    s.reflections.fill(false);
    s.cabinetEdges = false;
    box->RoomModel().MarkRecompute();
    box->Calculate(0);
    TRoomCabinet& room = box->RoomModel();
    ASSERT_EQ(room.PointCount(), box->PointCount());
    for (int k = 0; k < box->PointCount(); ++k)
        ASSERT_NEAR(room.Level()[k], room.FreeAir()[k], 0.01) << GetParam()->title << " point " << k;
    EXPECT_FALSE(room.NeedsRecompute());
}

// The default room (speaker backwall, cabinet edges): a finite curve that differs from
// free air, the window among the diagrams after the SPL plot, the room lines with the
// type's elements in the report, and an export that writes the level and phase.
TEST_P(RoomBoxTest, DefaultRoomReachesWindowReportAndExport)
{
    auto box = MakeBox();
    box->Calculate(0);
    TRoomCabinet& room = box->RoomModel();
    double largest = 0;
    for (int k = 0; k < box->PointCount(); ++k) {
        ASSERT_TRUE(std::isfinite(room.Level()[k])) << k;
        largest = std::max(largest, std::abs(room.Level()[k] - room.FreeAir()[k]));
    }
    EXPECT_GT(largest, 1.0) << "the backwall and the edges show";
    ASSERT_GE(box->DiagramWindows().size(), 2u);
    EXPECT_EQ(box->DiagramWindows()[1], &box->RoomModel());

    const std::vector<std::string>& lines = box->Report().Lines();
    auto has = [&](const std::string& start) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(has("Room and Cabinet"));
    EXPECT_TRUE(has(" Meas. pos.\tX=3.00m"));
    // Each group under its name, in the type's list order (bandpass type 3: front port
    // first, though its rear port leads the sum).
    std::size_t previous = 0;
    for (const TRoomSource& source : GetParam()->roomSources) {
        auto at = std::find_if(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.rfind(source.one, 0) == 0; });
        ASSERT_NE(at, lines.end()) << source.one;
        EXPECT_GT(static_cast<std::size_t>(at - lines.begin()), previous) << source.one;
        previous = static_cast<std::size_t>(at - lines.begin());
    }
    if (GetParam()->cliName == "bp3") {
        EXPECT_STREQ(GetParam()->roomSources[0].one, TRoomSources::FrontPort.one);
    }
    // The lines are kept between calculations, but a moved listener shows at once.
    room.Settings().Xl = 2.5;
    box->Calculate(0);
    EXPECT_FALSE(has(" Meas. pos.\tX=3.00m"));
    EXPECT_TRUE(has(" Meas. pos.\tX=2.50m"));

    const std::string path = (dir_ / "room.frd").string();
    ASSERT_TRUE(box->ExportTo(TBoxExport::RoomSpl, path));
    std::ifstream in(path);
    std::string header;
    std::getline(in, header);
    double f = 0, level = 0, phase = 0;
    ASSERT_TRUE(in >> f >> level >> phase) << header;
    EXPECT_NEAR(f, box->Grid().Frequency(0), 0.01);
    EXPECT_NEAR(level, room.Level()[0], 0.01);
    EXPECT_NEAR(phase, room.Phase()[0], 0.01);
}

// "R&oom && Cabinet" shows the room window and hands the model to the dialog, after
// the element count check; while the dialog is open the command stays disabled.
TEST_P(RoomBoxTest, RoomCommandOpensTheDialogThroughTheModel)
{
    auto box = MakeBox();
    box->Calculate(0);
    box->RoomModel().BringUpToDate(); // minimised: its first reader calculates it
    TRoomCabinet* opened = nullptr;
    box->RoomModel().openDialog = [&](TRoomCabinet& model) {
        opened = &model;
        model.dialogOpen = true;
    };
    box->FrontDriver().numberOfDrivers = 2;
    EXPECT_TRUE(box->HandleCommand(TCmd::RoomCabinet));
    EXPECT_EQ(opened, &box->RoomModel());
    const auto& sources = GetParam()->roomSources;
    const bool cones = std::any_of(sources.begin(), sources.end(),
                                   [](const TRoomSource& s) { return s.count == TRoomSource::Drivers; });
    EXPECT_EQ(box->RoomModel().NeedsRecompute(), cones) << "the count check ran";
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::RoomCabinet), std::optional<bool>(false));
    box->RoomModel().dialogOpen = false;
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::RoomCabinet), std::optional<bool>(true));

    // Recalculation requests of kinds 0 and 2 refresh the dialog; the project's end
    // closes it.
    int refreshed = 0, closed = 0;
    box->RoomModel().refreshDialog = [&] { ++refreshed; };
    // A dialog with changes pending computes as it closes: the type's groups are gone.
    box->RoomModel().closeDialog = [&, &room = box->RoomModel()] {
        ++closed;
        room.MarkRecompute();
        room.CalculateRoom();
    };
    box->RecalcRequest(TRecalc::Recalculate);
    box->RecalcRequest(TRecalc::MarkChanged);
    box->RecalcRequest(TRecalc::ReportOnly);
    EXPECT_EQ(refreshed, 2);
    box.reset();
    EXPECT_EQ(closed, 1);
}

INSTANTIATE_TEST_SUITE_P(EveryBoxType, RoomBoxTest, ::testing::ValuesIn(TBoxTypes::All().begin(), TBoxTypes::All().end()),
                         [](const ::testing::TestParamInfo<const TBoxType*>& info) { return info.param->cliName; });
