// Where the main window goes for the rectangle of "tonvek.cfg": a damaged file must
// still give a window of usable size that lies on the screen.
#include "core/TBinaryStream.h"
#include "shell/TMainConfig.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct PlacementCase {
    const char* name;
    TWindowRect stored;
    TWindowRect screen;
    bool placed;
    TWindowRect expected;
    friend void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }
};

constexpr TWindowRect kScreen{0, 0, 1920, 1080};

class PlaceOnScreenTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlaceOnScreenTest, GivesSaneRectangle)
{
    const PlacementCase& c = GetParam();
    auto r = PlaceOnScreen(c.stored, c.screen);
    ASSERT_EQ(r.has_value(), c.placed);
    if (!r)
        return;
    EXPECT_EQ(r->left, c.expected.left);
    EXPECT_EQ(r->top, c.expected.top);
    EXPECT_EQ(r->right, c.expected.right);
    EXPECT_EQ(r->bottom, c.expected.bottom);
    // Whatever the input: on the screen, with an area.
    EXPECT_GE(r->left, c.screen.left);
    EXPECT_GE(r->top, c.screen.top);
    EXPECT_LE(r->right, c.screen.right);
    EXPECT_LE(r->bottom, c.screen.bottom);
    EXPECT_GT(r->right, r->left);
    EXPECT_GT(r->bottom, r->top);
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, PlaceOnScreenTest,
    ::testing::Values(
        PlacementCase{"Unchanged", {40, 30, 840, 630}, kScreen, true, {40, 30, 840, 630}},
        PlacementCase{"OffscreenRightMovedBack", {1800, 900, 2600, 1500}, kScreen, true, {1120, 480, 1920, 1080}},
        PlacementCase{"OffscreenLeftMovedBack", {-5000, -300, -4200, 300}, kScreen, true, {0, 0, 800, 600}},
        PlacementCase{"LargerThanScreenShrunk", {-10, -10, 5000, 4000}, kScreen, true, {0, 0, 1920, 1080}},
        PlacementCase{"TinyGrown", {100, 100, 101, 101}, kScreen, true, {100, 100, 300, 250}},
        PlacementCase{"TinyAtRightEdge", {1915, 1075, 1920, 1080}, kScreen, true, {1720, 930, 1920, 1080}},
        // The rectangle of a damaged file: right - left overflows 32 bits.
        PlacementCase{"MinIntLeft", {INT_MIN, 0, 800, 600}, kScreen, true, {0, 0, 1920, 600}},
        PlacementCase{"MinIntTopMaxIntBottom", {0, INT_MIN, 800, INT_MAX}, kScreen, true, {0, 0, 800, 1080}},
        PlacementCase{"AllExtreme", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kScreen, true, {0, 0, 1920, 1080}},
        PlacementCase{"MaxIntLeft", {INT_MAX - 10, 0, INT_MAX, 600}, kScreen, true, {1720, 0, 1920, 600}},
        // A second screen left of and above the primary one.
        PlacementCase{"ScreenAtNegativeOrigin", {-3000, -2000, -2000, -1500}, {-1280, -1024, 0, 0}, true,
                      {-1280, -1024, -280, -524}},
        PlacementCase{"ScreenSmallerThanMinimum", {0, 0, 100, 100}, {0, 0, 150, 120}, true, {0, 0, 150, 120}},
        // No area: the default placement stays.
        PlacementCase{"Empty", {100, 100, 100, 400}, kScreen, false, {}},
        PlacementCase{"Inverted", {800, 600, 0, 0}, kScreen, false, {}},
        PlacementCase{"InvertedByOverflow", {INT_MAX, 0, INT_MIN, 600}, kScreen, false, {}},
        PlacementCase{"AllZero", {0, 0, 0, 0}, kScreen, false, {}},
        PlacementCase{"NoScreen", {0, 0, 800, 600}, {0, 0, 0, 0}, false, {}}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

TEST(MainConfigTest, DamagedFileReadsAndPlacesSanely)
{
    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / ("tonvek-cfg-" + std::to_string(::getpid()) + ".cfg");
    TBinaryWriter w;
    for (std::int32_t v : {INT_MIN, INT_MIN, INT_MAX, 600})
        w.WriteInt32(v);
    w.WriteUInt8(0);
    w.WriteZeros(1000); // nothing after the flag is read
    ASSERT_TRUE(w.SaveTo(path.string()));
    TMainConfig config = TMainConfig::Read(path.string());
    fs::remove(path);
    ASSERT_TRUE(config.rect.has_value());
    EXPECT_FALSE(config.showUnitHint);
    auto r = PlaceOnScreen(*config.rect, kScreen);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->right, 1920);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->bottom, 1080);
}

} // namespace
