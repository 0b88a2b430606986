// tonvek-cli and the room window: curves --room, export --kind room in every layout,
// render writes the window.

#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

class CliRoomTest : public TScratchFolderTest {
protected:
    std::string Project() const { return std::string("'") + TONVEK_BIN_DIR + "/examples/reflex-7in.box'"; }
};

} // namespace

TEST_F(CliRoomTest, CurvesListTheRoomAndFreeAirLevels)
{
    TCliRun r = RunTonvekCli("curves " + Project() + " --room", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream in(r.out);
    std::string header, line;
    std::getline(in, header);
    EXPECT_EQ(header, "# f/Hz\troom/dB\tfree air/dB\troom phase/deg");
    int rows = 0;
    double previous = 0;
    while (std::getline(in, line)) {
        double f = 0, room = 0, air = 0, phase = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf %lf %lf %lf", &f, &room, &air, &phase), 4) << line;
        EXPECT_GT(f, previous);
        EXPECT_TRUE(room > 0 && room < 150 && air > 0 && air < 150 && std::abs(phase) <= 180) << line;
        previous = f;
        ++rows;
    }
    EXPECT_GE(rows, 10);
    EXPECT_NE(RunTonvekCli("curves " + Project() + " --rooms", dir_).status, 0);
}

TEST_F(CliRoomTest, ExportWritesEveryLayoutAndRenderTheWindow)
{
    struct Layout {
        const char* ext;
        const char* marker;
    };
    for (Layout l : {Layout{"frd", "Hz\t\tdB\t\tdeg"}, Layout{"zma", "Hz\t\tdB\t\tdeg"}, Layout{"gdt", "GDT"},
                     Layout{"fmp", "Acoustic on Axis Response in Room/Cabinet"},
                     Layout{"fm", "Acoustic on Axis Response in Room/Cabinet"}, Layout{"csv", "SPL (dB)"}}) {
        const std::string out = File(std::string("room.") + l.ext);
        TCliRun r = RunTonvekCli("export " + Project() + " --kind room -o '" + out + "'", dir_);
        ASSERT_EQ(r.status, 0) << l.ext << r.err;
        EXPECT_NE(ReadTextFile(out).find(l.marker), std::string::npos) << l.ext;
    }
    TCliRun r = RunTonvekCli("render " + Project() + " --out '" + File("shots") + "'", dir_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(File("shots/SPL_in_Room_Cabinet.png")));
}
