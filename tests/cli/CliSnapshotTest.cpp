// tonvek-cli snapshot: slots filled from a project as it is now, the snapshot file and
// the project that names it, curves --snapshot, render, and the arguments it refuses.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

namespace {

class CliSnapshotTest : public TScratchFolderTest {};

TEST_F(CliSnapshotTest, TwoVolumesInTwoSlotsSurviveInTheProject)
{
    const std::string project = File("v.box");
    TCliRun made = RunTonvekCli(std::string("new reflex --unit '") + TONVEK_SOURCE_DIR +
                                    "/examples/woofer-6in.unt' --set 'Box volume=20' -o '" + project + "'",
                                dir_);
    ASSERT_EQ(made.status, 0) << made.err;
    TCliRun first = RunTonvekCli("snapshot '" + project + "' --slot 1 --label '20 l'", dir_);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("v.snp"), std::string::npos) << first.out;
    ASSERT_EQ(RunTonvekCli("set '" + project + "' 'Box volume=30'", dir_).status, 0);
    TCliRun second = RunTonvekCli("snapshot '" + project + "' --slot 2 --label '30 l, room' --source room", dir_);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(std::filesystem::file_size(dir_ / "v.snp"), 40585u);

    TCliRun curves = RunTonvekCli("curves '" + project + "' --snapshot", dir_);
    ASSERT_EQ(curves.status, 0) << curves.err;
    EXPECT_NE(curves.out.find("# slot 1\t20 l\toffset 0 dB\tshown"), std::string::npos) << curves.out.substr(0, 300);
    EXPECT_NE(curves.out.find("# slot 2\t30 l, room\t"), std::string::npos);
    EXPECT_EQ(curves.out.find("# slot 3"), std::string::npos);

    TCliRun render = RunTonvekCli("render '" + project + "' --out '" + File("pictures") + "'", dir_);
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "pictures" / "Snapshot.png"));
}

TEST_F(CliSnapshotTest, RefusesWhatItCannotDo)
{
    const std::string flt = File("f.flt");
    ASSERT_EQ(RunTonvekCli("new simple2 -o '" + flt + "'", dir_).status, 0);
    struct TCase {
        std::string args, error;
    };
    const TCase cases[] = {
        {"snapshot '" + flt + "' --slot 6", "--slot takes 1 .. 5"},
        {"snapshot '" + flt + "'", "tonvek-cli snapshot PROJECT"},
        {"snapshot '" + flt + "' --slot 1 --source room", "no room response"},
        {"snapshot '" + File("none.box") + "' --slot 1", "cannot open project"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.args);
        TCliRun r = RunTonvekCli(c.args, dir_);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    }
    TCliRun ok = RunTonvekCli("snapshot '" + flt + "' --slot 5 --label summed", dir_);
    ASSERT_EQ(ok.status, 0) << ok.err;
    TCliRun curves = RunTonvekCli("curves '" + flt + "' --snapshot", dir_);
    EXPECT_NE(curves.out.find("# slot 5\tsummed\toffset 0 dB\tshown\t500 points"), std::string::npos) << curves.out;
}

} // namespace
