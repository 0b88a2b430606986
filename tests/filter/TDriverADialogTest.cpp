// The driver set dialog of an advanced network: what it shows for each driver count,
// the enabling rules of the scalings and the same-as boxes, the pairs connection falling
// back to series, measured files by "Browse" and by name, and the shown file names.
#include "filter/TDriverADialog.h"
#include "filter/TDetachedNetOwner.h"
#include "filter/TNetA.h"
#include "measdata/MeasTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using V = TDriverADialog;

struct Fixture {
    Fixture() : net(project, 1, false), d(project.host, net) { d.Open(); }
    TDetachedNetOwner project;
    TNetA net;
    TDriverADialog d;
    void Enter(int id, const std::string& text)
    {
        d.Type(id, text);
        d.FocusLeft(id);
    }
};

TEST(DriverADialog, TitleHelpAndMenuCommand)
{
    Fixture f;
    EXPECT_EQ(f.d.title, "Driver unit(s) net 2");
    EXPECT_EQ(f.d.HelpFile(), "net_d.txt");
    EXPECT_EQ(f.project.host.CommandEnabled(13012), false);
}

TEST(DriverADialog, WhatEachDriverCountShows)
{
    struct Row {
        int count;
        bool selector, connection, pairs;
    };
    const Row rows[] = {
        {1, false, false, false}, {2, true, true, false}, {3, true, true, false}, {4, true, true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.count);
        Fixture f;
        f.d.Select(V::kCount, row.count - 1);
        EXPECT_EQ(f.net.Drivers().Count(), row.count);
        EXPECT_EQ(f.d.Field(V::kSelector).visible, row.selector);
        EXPECT_EQ(f.d.Field(V::kSelector).items.size(), static_cast<std::size_t>(row.count));
        EXPECT_EQ(f.d.Field(V::kConnection).visible, row.connection);
        EXPECT_EQ(f.d.Field(V::kConnection).ItemVisible(2), row.pairs);
        // Driver 1 has no same-as boxes.
        EXPECT_FALSE(f.d.Field(V::kSplSameAs).visible);
        EXPECT_FALSE(f.d.Field(V::kImpedanceSameAs).visible);
    }
}

TEST(DriverADialog, PairsFallBackToSeriesBelowFourDrivers)
{
    Fixture f;
    int layoutChanges = 0;
    f.d.onLayoutChanged = [&layoutChanges] { ++layoutChanges; };
    f.d.Select(V::kCount, 3);
    f.d.Select(V::kConnection, 2);
    EXPECT_EQ(f.net.Drivers().Connection(), TConnection::Pairs);
    f.d.Select(V::kCount, 2);
    EXPECT_EQ(f.net.Drivers().Connection(), TConnection::Series);
    EXPECT_EQ(f.d.Selected(V::kConnection), 0);
    f.d.Select(V::kConnection, 2); // not offered with three
    EXPECT_EQ(f.net.Drivers().Connection(), TConnection::Series);
    EXPECT_EQ(layoutChanges, 3);
}

TEST(DriverADialog, PerDriverFieldsFollowTheSelectedDriver)
{
    Fixture f;
    f.d.Select(V::kCount, 1);
    f.d.Select(V::kSelector, 1);
    f.Enter(V::kY, "200");
    f.Enter(V::kPistonRadius, "25");
    f.Enter(V::kSplScaling, "-6"); // disabled: driver 2 uses driver 1's data and scaling
    EXPECT_DOUBLE_EQ(f.net.Drivers().Driver(1).y, 0.2);
    EXPECT_DOUBLE_EQ(f.net.Drivers().Driver(1).radius, 0.025);
    EXPECT_DOUBLE_EQ(f.net.Drivers().Driver(0).y, 0.0);
    f.d.Select(V::kSelector, 0);
    EXPECT_EQ(f.d.Field(V::kY).ShownValue(), "0.0");
    f.d.Select(V::kSelector, 1);
    EXPECT_EQ(f.d.Field(V::kY).ShownValue(), "200.0");
    // Driver 2 uses driver 1's data: its scaling is not its own to change, and the box
    // cannot be cleared without data of its own.
    EXPECT_TRUE(f.d.Field(V::kSplSameAs).visible);
    EXPECT_TRUE(f.d.Field(V::kSplSameAs).checked);
    EXPECT_FALSE(f.d.Field(V::kSplSameAs).enabled);
    EXPECT_FALSE(f.d.Field(V::kSplScaling).enabled);
    EXPECT_EQ(f.net.Drivers().Driver(1).splScaling, 1.0);
    f.d.Select(V::kSelector, 0);
    f.Enter(V::kSplScaling, "-6");
    EXPECT_NEAR(f.net.Drivers().Driver(0).splScaling, std::pow(10.0, -0.3), 1e-12);

    f.Enter(V::kRe, "0.05"); // below 0.1
    EXPECT_EQ(f.net.Drivers().re, 8.0);
    f.Enter(V::kLe, "2");
    EXPECT_DOUBLE_EQ(f.net.Drivers().le, 0.002);
    EXPECT_GT(f.project.recalculated, 0);

    // Every opening starts with the first driver.
    f.d.Select(V::kSelector, 1);
    f.d.Press(TBaseDialog::OkId);
    f.d.Open();
    EXPECT_EQ(f.d.SelectedDriver(), 0);
    EXPECT_EQ(f.d.Selected(V::kSelector), 0);
}

TEST(DriverADialog, FilesByBrowseAndByNameAndAnUnreadableOneKeepsTheData)
{
    meastest::TempDir dir;
    const std::string frd = dir.Write("w.frd", "10 90 0\n30000 90 0\n");
    const std::string other = dir.Write("x.frd", "10 84 0\n30000 84 0\n");
    Fixture f;
    f.d.Select(V::kCount, 1);
    f.d.Select(V::kSelector, 1);

    f.project.host.QueueFileName(frd);
    f.d.Press(V::kSplBrowse);
    const TMeasData& spl = f.net.Drivers().Meas(1, TMeasKind::Spl);
    ASSERT_TRUE(spl.Loaded());
    EXPECT_FALSE(f.net.Drivers().Driver(1).splSameAs);
    EXPECT_TRUE(f.d.Field(V::kSplSameAs).enabled);
    EXPECT_TRUE(f.d.Field(V::kSplScaling).enabled);
    const std::string kept = spl.FileName();

    // A file that cannot be read: the message, and the driver keeps what it had.
    f.project.host.QueueFileName(dir.File("missing.frd"));
    f.d.Press(V::kSplBrowse);
    EXPECT_FALSE(f.project.host.Messages().empty());
    EXPECT_TRUE(spl.Loaded());
    EXPECT_EQ(spl.FileName(), kept);

    // By name, as the command line sets it; moving through the field changes nothing.
    f.Enter(V::kSplFile, other);
    EXPECT_EQ(spl.FileName(), f.net.Drivers().FileName(1, TMeasKind::Spl));
    EXPECT_NE(spl.FileName(), kept);
    const std::string now = spl.FileName();
    f.d.FocusField(V::kSplFile);
    f.d.FocusLeft(V::kSplFile);
    EXPECT_EQ(spl.FileName(), now);

    // "Not in use" forgets the file and driver 1's data count again.
    f.Enter(V::kSplFile, "Not in use");
    EXPECT_FALSE(spl.Loaded());
    EXPECT_TRUE(f.net.Drivers().Driver(1).splSameAs);
    EXPECT_EQ(f.d.Field(V::kSplFile).str.Text(), "Not in use");
}

TEST(DriverADialog, ShownNamesKeepTheirLast43Characters)
{
    EXPECT_EQ(V::ShownName(""), "Not in use");
    EXPECT_EQ(V::ShownName("a.frd"), "a.frd");
    const std::string longName = std::string(20, 'x') + std::string(43, 'y');
    EXPECT_EQ(V::ShownName(longName), std::string(43, 'y'));
}

} // namespace
