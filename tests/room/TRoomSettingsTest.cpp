#include "room/TRoomSettings.h"
#include "room/TRoomSource.h"

#include "core/TBinaryStream.h"

#include <gtest/gtest.h>

TEST(TRoomSettings, FormsHaveTheirSizes)
{
    TRoomSettings s;
    TBinaryWriter prefs, project;
    s.WritePreferences(prefs);
    s.WriteProject(project);
    EXPECT_EQ(prefs.Size(), 1310u);
    EXPECT_EQ(project.Size(), 1672u);
    // The positions start the preferences form: the first dX is 0.15.
    TBinaryReader r(prefs.Bytes());
    double dX = 0;
    ASSERT_TRUE(r.ReadDouble(dX));
    EXPECT_DOUBLE_EQ(dX, 0.15);
}

TEST(TRoomSettings, ProjectFormRoundTripsAndOldVersionsSkipMeasuredPart)
{
    TRoomSettings s;
    s.Wr = 6.5;
    s.reflections = {true, true, false, true, false, true};
    s.measFileName = "meas/room.frd";
    s.measTransition = 250;
    TBinaryWriter w;
    s.WriteProject(w);
    TRoomSettings back;
    TBinaryReader r(w.Bytes());
    ASSERT_TRUE(back.ReadProject(r, 410));
    EXPECT_DOUBLE_EQ(back.Wr, 6.5);
    EXPECT_EQ(back.reflections, s.reflections);
    EXPECT_EQ(back.measFileName, "meas/room.frd");
    EXPECT_EQ(back.measTransition, 250);
    EXPECT_TRUE(r.AtEnd());

    // Version 309 has no measured-data part.
    std::vector<std::uint8_t> old(w.Bytes().begin(), w.Bytes().begin() + 1380);
    TRoomSettings oldBack;
    TBinaryReader r2(old);
    ASSERT_TRUE(oldBack.ReadProject(r2, 309));
    EXPECT_EQ(oldBack.measTransition, 300);
    EXPECT_TRUE(r2.AtEnd());

    // Cut before the level factor: fails for newer versions.
    std::vector<std::uint8_t> cut(w.Bytes().begin(), w.Bytes().end() - 1);
    TBinaryReader r3(cut);
    TRoomSettings cutBack;
    EXPECT_FALSE(cutBack.ReadProject(r3, 410));
}

TEST(TRoomSettings, ReportListsElementsAndReflections)
{
    TRoomSettings s;
    const TRoomSource closedBox[] = {TRoomSources::DriverUnits};
    auto lines = s.ReportLines(closedBox, TRoomCounts{2, 0, 0, 0});
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], "Room and Cabinet");
    EXPECT_EQ(lines[1], " Roof height\t2.400m");
    EXPECT_EQ(lines[4], " Speaker pos.\tX=1.500m\t\tY=0.000m\t\tZ=0.800m");
    EXPECT_EQ(lines[7], "  Driver unit 1\tdX=0.15m\tdY=0.40m\tdZ=0.00m");
    EXPECT_EQ(lines[8], "  Driver unit 2\tdX=0.15m\tdY=0.40m\tdZ=0.00m");
    EXPECT_EQ(lines[9], " Meas. pos.\tX=3.00m\t\tY=0.80m\t\tZ=2.50m");
    EXPECT_EQ(lines[10], " Reflections from");
    // Default: speaker backwall (alpha = 1 - 0.81) and cabinet edges, D = 2: one line.
    EXPECT_EQ(lines[11], "  Speaker backwall (0.19), Cabinet edges, ");

    s.reflections = {true, true, true, false, false, false};
    s.cabinetEdges = false;
    lines = s.ReportLines(closedBox, TRoomCounts{1, 0, 0, 0});
    // E = 3 and D = 3: the line is not broken.
    EXPECT_EQ(lines[10], "  Speaker backwall (0.19), Left side wall (0.19), Right side wall (0.19), ");
}

TEST(TRoomSettings, ReportNamesEachGroupOfElementsInTheTypesOrder)
{
    // A box with ports in front of and behind the driver: each group under its own name,
    // numbered only when it holds more than one element.
    TRoomSettings s;
    const TRoomSource twoChambers[] = {TRoomSources::FrontPort, TRoomSources::RearPort};
    auto lines = s.ReportLines(twoChambers, TRoomCounts{1, 2, 1, 0});
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[7], "  Front port\tdX=0.15m\tdY=0.40m\tdZ=0.00m");
    EXPECT_EQ(lines[8], "  Rear port 1\tdX=0.15m\tdY=0.40m\tdZ=0.00m");
    EXPECT_EQ(lines[9], "  Rear port 2\tdX=0.15m\tdY=0.40m\tdZ=0.00m");
    EXPECT_EQ(lines[10].rfind(" Meas. pos.", 0), 0u);
    // More than nine elements: the nine positions the record holds.
    const TRoomSource drivers[] = {TRoomSources::DriverUnits};
    lines = s.ReportLines(drivers, TRoomCounts{12, 0, 0, 0});
    EXPECT_EQ(lines[15], "  Driver unit 9\tdX=0.15m\tdY=0.40m\tdZ=0.00m");
    EXPECT_EQ(lines[16].rfind(" Meas. pos.", 0), 0u);
}
