#include "settings/TGeneral.h"

#include "core/TBinaryStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

// Records what the settings ask of the filter project: M(ark all dirty), R(efresh),
// C(alculate).
struct RecordingListener : TGeneralListener {
    std::string calls;
    void MarkAllDirty() override { calls += 'M'; }
    void RefreshDialogs() override { calls += 'R'; }
    void Recalculate() override { calls += 'C'; }
    int FileVersion() const override { return 410; }
};

std::vector<int> Rays(const TGeneral& g)
{
    return {g.SurfaceRays().begin(), g.SurfaceRays().begin() + g.SurfaceRayCount()};
}
std::vector<int> Overlays(const TGeneral& g)
{
    return {g.OverlayRays().begin(), g.OverlayRays().begin() + g.OverlayRayCount()};
}

void SetRays(TGeneral& g, const std::vector<int>& angles)
{
    for (int a : angles) {
        if (a != 0) {
            ASSERT_EQ(g.AddSurfaceRay(a), TRayChange::Done) << a;
        }
    }
}

std::vector<std::uint8_t> Block(const TGeneral& g)
{
    TBinaryWriter w;
    EXPECT_TRUE(g.Write(w));
    return w.Bytes();
}

// Settings far from every default, so a round trip shows each item.
void MakeUnusual(TGeneral& g)
{
    g.SetInfinite(false);
    g.SetDistance(3.5);
    SetRays(g, {30, 10, 1, -5});
    ASSERT_EQ(g.AddOverlayRay(10), TRayChange::Done);
    ASSERT_EQ(g.AddOverlayRay(-5), TRayChange::Done);
    g.SetLowerFrequency(50);
    g.SetUpperFrequency(10000);
    ASSERT_TRUE(g.SetPoints(2048));
    g.SetSampleRate(48000);
    g.SetDisableIfft(true);
    g.SetVertical(false);
    g.SetHidePhase(true);
    g.SetGroupDelayAuto(false);
    g.SetImpedanceAuto(false);
    g.SetSplRange(50);
    g.SetImpedanceMaximum(64);
    g.SetHideOnAxis(true);
    g.SetInhibit(true);
    g.SetGroupDelayMinimum(-7.5);
    g.SetGroupDelayMaximum(42.25);
    g.SetTitle("Two-way monitor");
}

template <class T>
void Put(std::vector<std::uint8_t>& bytes, std::size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <class T>
T Get(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The 198-byte block of versions 400 to 409: the current one without the vertical and
// hide phase bytes.
std::vector<std::uint8_t> Version400Block(std::vector<std::uint8_t> block)
{
    block.erase(block.begin() + 74, block.begin() + 76);
    return block;
}

} // namespace

TEST(TGeneral, DefaultsOfANewProject)
{
    const TGeneral g;
    EXPECT_TRUE(g.Infinite());
    EXPECT_EQ(g.Distance(), 1.0);
    EXPECT_EQ(g.LowerFrequency(), 20);
    EXPECT_EQ(g.UpperFrequency(), 20000);
    EXPECT_EQ(g.TransformSize(), 512);
    EXPECT_EQ(g.Log2TransformSize(), 9);
    EXPECT_EQ(g.SampleRate(), 44100);
    EXPECT_FALSE(g.DisableIfft());
    EXPECT_EQ(Rays(g), std::vector<int>{0});
    EXPECT_EQ(Overlays(g), std::vector<int>{0});
    EXPECT_EQ(g.OnAxisIndex(), 0);
    EXPECT_FALSE(g.FlipUpDown());
    EXPECT_TRUE(g.GroupDelayAuto());
    EXPECT_TRUE(g.ImpedanceAuto());
    EXPECT_EQ(g.SplRange(), 30);
    EXPECT_EQ(g.ImpedanceMaximum(), 30);
    EXPECT_EQ(g.GroupDelayMinimum(), -2.0);
    EXPECT_EQ(g.GroupDelayMaximum(), 10.0);
    EXPECT_EQ(g.Title(), "");
    EXPECT_FALSE(g.HideOnAxis());
    EXPECT_FALSE(g.Inhibit());
    EXPECT_TRUE(g.Vertical());
    EXPECT_FALSE(g.HidePhase());
    const TListeningSetup setup = g.ListeningSetup();
    EXPECT_TRUE(setup.vertical);
    EXPECT_TRUE(setup.infinite);
    EXPECT_EQ(setup.distance, 1.0);
    EXPECT_NEAR(g.FilterGrid().Frequency(1), 5.0838, 5e-5);
}

TEST(TGeneral, DefaultTablesHaveTheBinSpacingOfFiveHundredTwelvePoints)
{
    const TGeneral g;
    EXPECT_DOUBLE_EQ(g.BinFrequencies()[1], 86.1328125);
    EXPECT_DOUBLE_EQ(g.BinFrequencies()[255], 255 * 86.1328125);
    EXPECT_EQ(g.BinFrequencies()[256], 0.0); // beyond N / 2
    // A quarter turn at N / 4.
    EXPECT_NEAR(g.Twiddles()[128].real(), 0.0, 1e-11);
    EXPECT_NEAR(g.Twiddles()[128].imag(), 1.0, 1e-12);
    EXPECT_EQ(g.Twiddles()[0], TComplex(1.0, 0.0));
    EXPECT_EQ(g.BitReversal()[1], 256);
    EXPECT_EQ(g.BitReversal()[2], 128);
    EXPECT_EQ(g.BitReversal()[3], 384);
    EXPECT_EQ(g.BitReversal()[511], 511);
}

TEST(TGeneral, EveryPointChoiceBuildsItsTables)
{
    for (int points : {128, 256, 512, 1024, 2048, 4096}) {
        TGeneral g;
        g.SetSampleRate(48000);
        ASSERT_TRUE(g.SetPoints(points)) << points;
        const int n = 2 * points;
        EXPECT_EQ(g.TransformSize(), n);
        EXPECT_EQ(1 << g.Log2TransformSize(), n);
        const int last = points - 1; // the last bin below N / 2
        EXPECT_DOUBLE_EQ(g.BinFrequencies()[static_cast<std::size_t>(last)], last * 48000.0 / n);
        EXPECT_DOUBLE_EQ(g.Twiddles()[static_cast<std::size_t>(last)].imag(), std::sin(6.28318530718 * last / n));
        // Reversing the bits twice gives the index back, and every index appears once.
        std::vector<int> seen(static_cast<std::size_t>(n), 0);
        for (int i = 0; i < n; ++i) {
            const int r = g.BitReversal()[static_cast<std::size_t>(i)];
            ASSERT_TRUE(r >= 0 && r < n) << n << " " << i;
            EXPECT_EQ(g.BitReversal()[static_cast<std::size_t>(r)], i) << n;
            ++seen[static_cast<std::size_t>(r)];
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), n);
    }
}

TEST(TGeneral, FourThousandNinetySixPointsGiveN8192)
{
    TGeneral g;
    RecordingListener listener;
    g.SetListener(&listener);
    ASSERT_TRUE(g.SetPoints(4096));
    EXPECT_EQ(g.TransformSize(), 8192);
    EXPECT_EQ(g.Log2TransformSize(), 13);
    EXPECT_EQ(g.BitReversal()[1], 4096);
    EXPECT_EQ(listener.calls, "MRC");
    // What no list offers changes nothing.
    listener.calls.clear();
    for (int points : {0, 64, 100, 8192, -512}) {
        EXPECT_FALSE(g.SetPoints(points)) << points;
        EXPECT_EQ(g.TransformSize(), 8192);
    }
    EXPECT_EQ(listener.calls, "");
}

TEST(TGeneral, EachChangeAsksTheProjectForWhatItNeeds)
{
    struct Row {
        const char* what;
        void (*change)(TGeneral&);
        const char* calls;
    };
    const Row rows[] = {
        {"lower frequency", [](TGeneral& g) { g.SetLowerFrequency(100); }, "RC"},
        {"upper frequency", [](TGeneral& g) { g.SetUpperFrequency(5000); }, "RC"},
        {"sample rate", [](TGeneral& g) { g.SetSampleRate(8000); }, "RC"},
        {"disable IFFT", [](TGeneral& g) { g.SetDisableIfft(true); }, "RC"},
        {"flip", [](TGeneral& g) { g.SetFlipUpDown(true); }, "RC"},
        {"hide on axis", [](TGeneral& g) { g.SetHideOnAxis(true); }, "RC"},
        {"inhibit", [](TGeneral& g) { g.SetInhibit(true); }, "RC"},
        {"hide phase", [](TGeneral& g) { g.SetHidePhase(true); }, "RC"},
        {"horizontal", [](TGeneral& g) { g.SetVertical(false); }, "RC"},
        {"infinite", [](TGeneral& g) { g.SetInfinite(false); }, "MRC"},
        {"distance", [](TGeneral& g) { g.SetDistance(2.0); }, "MRC"},
        {"group delay auto", [](TGeneral& g) { g.SetGroupDelayAuto(false); }, "RC"},
        {"group delay min", [](TGeneral& g) { g.SetGroupDelayMinimum(-5.0); }, "RC"},
        {"group delay max", [](TGeneral& g) { g.SetGroupDelayMaximum(5.0); }, "RC"},
        {"impedance auto", [](TGeneral& g) { g.SetImpedanceAuto(false); }, "RC"},
        {"impedance max", [](TGeneral& g) { g.SetImpedanceMaximum(100); }, "RC"},
        {"SPL range", [](TGeneral& g) { g.SetSplRange(40); }, "RC"},
        {"title", [](TGeneral& g) { g.SetTitle("x"); }, "R"},
        {"surface ray", [](TGeneral& g) { (void)g.AddSurfaceRay(10); }, "MRC"},
        {"overlay ray", [](TGeneral& g) { (void)g.AddOverlayRay(0); }, ""}, // refused: already there
    };
    for (const Row& row : rows) {
        TGeneral g;
        RecordingListener listener;
        g.SetListener(&listener);
        row.change(g);
        EXPECT_EQ(listener.calls, row.calls) << row.what;
        // Without a listener the same change only stores its value.
        TGeneral alone;
        row.change(alone);
        EXPECT_EQ(Block(alone), Block(g)) << row.what;
    }
}

TEST(TGeneral, TitleKeepsNinetyNineCharacters)
{
    TGeneral g;
    g.SetTitle(std::string(150, 'a'));
    EXPECT_EQ(g.Title(), std::string(99, 'a'));
    g.StoreTitle(std::string(99, 'b') + "c");
    EXPECT_EQ(g.Title(), std::string(99, 'b'));
}

TEST(TGeneral, SurfaceRaysStayDescendingAndTrackTheOnAxisRay)
{
    TGeneral g;
    SetRays(g, {30, -10});
    ASSERT_EQ(Rays(g), (std::vector<int>{30, 0, -10}));
    EXPECT_EQ(g.OnAxisIndex(), 1);
    EXPECT_EQ(g.AddSurfaceRay(20), TRayChange::Done);
    EXPECT_EQ(Rays(g), (std::vector<int>{30, 20, 0, -10}));
    EXPECT_EQ(g.OnAxisIndex(), 2);
    EXPECT_EQ(g.AddSurfaceRay(60), TRayChange::Done);  // before the first
    EXPECT_EQ(g.AddSurfaceRay(-60), TRayChange::Done); // at the end
    EXPECT_EQ(Rays(g), (std::vector<int>{60, 30, 20, 0, -10, -60}));
    EXPECT_EQ(g.OnAxisIndex(), 3);
    EXPECT_EQ(g.RemoveSurfaceRay(30), TRayChange::Done);
    EXPECT_EQ(Rays(g), (std::vector<int>{60, 20, 0, -10, -60}));
    EXPECT_EQ(g.OnAxisIndex(), 2);
}

TEST(TGeneral, RayChangesThatAreRefusedChangeNothing)
{
    struct Row {
        const char* what;
        std::vector<int> surface;
        std::vector<int> overlay; // after the on-axis entry
        bool inhibit;
        TRayChange (*change)(TGeneral&);
        TRayChange expected;
    };
    const std::vector<int> full = {60, 50, 45, 35, 30, 25, 20, 15, 12, 10, 7, 5, 2, 1, -1, -2};
    const Row rows[] = {
        {"17 surface rays", full, {}, false, [](TGeneral& g) { return g.AddSurfaceRay(-5); }, TRayChange::TooMany},
        {"surface ray twice",
         {10},
         {},
         false,
         [](TGeneral& g) { return g.AddSurfaceRay(10); },
         TRayChange::AlreadyThere},
        {"remove on axis", {10}, {}, false, [](TGeneral& g) { return g.RemoveSurfaceRay(0); }, TRayChange::OnAxis},
        {"remove absent", {10}, {}, false, [](TGeneral& g) { return g.RemoveSurfaceRay(20); }, TRayChange::NotFound},
        {"overlay twice", {10}, {10}, false, [](TGeneral& g) { return g.AddOverlayRay(10); }, TRayChange::AlreadyThere},
        // A full overlay list still says "already selected" for a ray it holds.
        {"overlay full, ray there",
         {10, 7, 5, 2, 1, -1, -2},
         {10, 7, 5, 2, 1, -1, -2},
         false,
         [](TGeneral& g) { return g.AddOverlayRay(10); },
         TRayChange::AlreadyThere},
        {"8 overlay rays",
         {10, 7, 5, 2, 1, -1, -2, -5},
         {10, 7, 5, 2, 1, -1, -2},
         false,
         [](TGeneral& g) { return g.AddOverlayRay(-5); },
         TRayChange::TooMany},
        {"remove overlay on axis",
         {10},
         {10},
         false,
         [](TGeneral& g) { return g.RemoveOverlayRay(0); },
         TRayChange::OnAxis},
        {"remove overlay beyond",
         {10},
         {10},
         false,
         [](TGeneral& g) { return g.RemoveOverlayRay(2); },
         TRayChange::NotFound},
        {"inhibit: add", {10}, {}, true, [](TGeneral& g) { return g.AddSurfaceRay(20); }, TRayChange::Inhibited},
        {"inhibit: remove", {10}, {}, true, [](TGeneral& g) { return g.RemoveSurfaceRay(10); }, TRayChange::Inhibited},
        {"inhibit: overlay", {10}, {}, true, [](TGeneral& g) { return g.AddOverlayRay(10); }, TRayChange::Inhibited},
        {"inhibit: overlay remove",
         {10},
         {10},
         true,
         [](TGeneral& g) { return g.RemoveOverlayRay(1); },
         TRayChange::Inhibited},
    };
    for (const Row& row : rows) {
        TGeneral g;
        SetRays(g, row.surface);
        for (int a : row.overlay)
            ASSERT_EQ(g.AddOverlayRay(a), TRayChange::Done) << row.what;
        g.SetInhibit(row.inhibit);
        RecordingListener listener;
        g.SetListener(&listener);
        const auto before = Block(g);
        EXPECT_EQ(row.change(g), row.expected) << row.what;
        EXPECT_EQ(Block(g), before) << row.what;
        EXPECT_EQ(listener.calls, "") << row.what;
    }
}

TEST(TGeneral, RemovingASurfaceRayTakesItsOverlayRayAlong)
{
    TGeneral g;
    SetRays(g, {10, 1, -1});
    ASSERT_EQ(g.AddOverlayRay(1), TRayChange::Done);
    ASSERT_EQ(g.AddOverlayRay(10), TRayChange::Done);
    ASSERT_EQ(Overlays(g), (std::vector<int>{0, 1, 10}));
    EXPECT_EQ(g.RemoveSurfaceRay(1), TRayChange::Done);
    EXPECT_EQ(Rays(g), (std::vector<int>{10, 0, -1}));
    EXPECT_EQ(Overlays(g), (std::vector<int>{0, 10}));
    // An overlay ray removed on its own leaves the surface ray.
    EXPECT_EQ(g.RemoveOverlayRay(1), TRayChange::Done);
    EXPECT_EQ(Overlays(g), std::vector<int>{0});
    EXPECT_EQ(Rays(g), (std::vector<int>{10, 0, -1}));
}

TEST(TGeneral, ResetRestoresTheDefaultsAndFlipIsNeverStored)
{
    TGeneral g;
    const auto defaults = Block(g);
    RecordingListener listener;
    MakeUnusual(g);
    g.SetFlipUpDown(true);
    g.dialogX = 120;
    g.dialogY = 80;
    g.SetListener(&listener);
    g.Reset();
    EXPECT_EQ(Block(g), defaults);
    EXPECT_FALSE(g.FlipUpDown());
    EXPECT_EQ(g.TransformSize(), 512);
    EXPECT_DOUBLE_EQ(g.BinFrequencies()[1], 86.1328125);
    // What belongs to the program, not to a project, stays.
    EXPECT_EQ(g.dialogX, 120);
    EXPECT_EQ(g.Listener(), &listener);

    TGeneral flipped;
    flipped.SetFlipUpDown(true);
    TGeneral read;
    TBinaryReader in(Block(flipped));
    ASSERT_TRUE(read.Read(in, 410));
    EXPECT_FALSE(read.FlipUpDown());
}

TEST(TGeneral, CopiesTakeTheSettingsButNotTheListener)
{
    TGeneral g;
    RecordingListener listener;
    g.SetListener(&listener);
    g.SetTitle("kept");
    TGeneral copy = g;
    EXPECT_EQ(copy.Title(), "kept");
    EXPECT_EQ(copy.Listener(), nullptr);
    listener.calls.clear();
    copy.SetInfinite(false);
    EXPECT_EQ(listener.calls, "");
    TGeneral assigned;
    assigned.SetListener(&listener);
    assigned = copy;
    EXPECT_EQ(assigned.Listener(), &listener);
    EXPECT_FALSE(assigned.Infinite());
}

TEST(TGeneral, BlockLayoutOfTheCurrentVersion)
{
    TGeneral g;
    MakeUnusual(g);
    const auto b = Block(g);
    ASSERT_EQ(b.size(), 200u);
    EXPECT_EQ(b[0], 0);                    // infinite
    EXPECT_EQ(Get<double>(b, 1), 3.5);     // distance
    EXPECT_EQ(Get<std::int16_t>(b, 9), 5); // surface ray count
    EXPECT_EQ(Get<std::int16_t>(b, 11), 30);
    EXPECT_EQ(Get<std::int16_t>(b, 19), -5);
    EXPECT_EQ(Get<std::int16_t>(b, 21), 0); // unused slots are 0
    EXPECT_EQ(Get<std::int16_t>(b, 45), 3); // overlay ray count
    EXPECT_EQ(Get<std::int16_t>(b, 47), 0);
    EXPECT_EQ(Get<std::int16_t>(b, 49), 10);
    EXPECT_EQ(Get<std::int16_t>(b, 51), -5);
    EXPECT_EQ(Get<std::int16_t>(b, 63), 50); // lower display frequency
    EXPECT_EQ(Get<std::int16_t>(b, 65), 10000);
    EXPECT_EQ(Get<std::int16_t>(b, 67), 4096);  // N
    EXPECT_EQ(Get<std::int32_t>(b, 69), 48000); // fs
    EXPECT_EQ(b[73], 1);                        // disable IFFT
    EXPECT_EQ(b[74], 0);                        // vertical
    EXPECT_EQ(b[75], 1);                        // hide phase
    EXPECT_EQ(b[76], 0);                        // group delay auto
    EXPECT_EQ(b[77], 0);                        // impedance auto
    EXPECT_EQ(Get<std::int16_t>(b, 78), 50);    // SPL range
    EXPECT_EQ(Get<std::int16_t>(b, 80), 64);    // impedance maximum
    EXPECT_EQ(b[82], 1);                        // hide on axis
    EXPECT_EQ(b[83], 1);                        // inhibit
    EXPECT_EQ(Get<double>(b, 84), -7.5);
    EXPECT_EQ(Get<double>(b, 92), 42.25);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 100)), "Two-way monitor");
    EXPECT_EQ(b[199], 0);
}

TEST(TGeneral, BlockRoundTrip)
{
    TGeneral g;
    MakeUnusual(g);
    TBinaryWriter w;
    w.WriteInt16(12345); // what follows in a project file must be left alone
    ASSERT_TRUE(g.Write(w));
    w.WriteInt16(6789);
    TBinaryReader in(w.Bytes());
    std::int16_t head = 0;
    ASSERT_TRUE(in.ReadInt16(head));
    TGeneral read;
    ASSERT_TRUE(read.Read(in, 410));
    EXPECT_EQ(in.Position(), 202u);
    EXPECT_EQ(Block(read), Block(g));
    EXPECT_EQ(read.TransformSize(), 4096);
    EXPECT_EQ(read.Log2TransformSize(), 12);
    EXPECT_DOUBLE_EQ(read.BinFrequencies()[1], 48000.0 / 4096);
    EXPECT_EQ(read.OnAxisIndex(), 3);
    EXPECT_EQ(read.Title(), "Two-way monitor");
    const TListeningSetup setup = read.ListeningSetup();
    EXPECT_FALSE(setup.vertical);
    EXPECT_FALSE(setup.infinite);
    EXPECT_EQ(setup.distance, 3.5);
}

TEST(TGeneral, OlderVersionsReadTheirShorterBlocks)
{
    TGeneral source;
    MakeUnusual(source);
    const auto current = Block(source);
    struct Row {
        int version;
        std::vector<std::uint8_t> bytes;
        bool itemsOneToFive, verticalAndHidePhase, scalingAndTitle;
    };
    const Row rows[] = {
        {309, {}, false, false, false},
        {310, {current.begin(), current.begin() + 74}, true, false, false},
        {399, {current.begin(), current.begin() + 74}, true, false, false},
        {400, Version400Block(current), true, false, true},
        {409, Version400Block(current), true, false, true},
        {410, current, true, true, true},
        {411, current, true, true, true},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(row.bytes.size(), TGeneral::BlockSize(row.version)) << row.version;
        TGeneral g;
        g.SetTitle("before");
        g.SetHidePhase(false);
        TBinaryReader in(row.bytes);
        ASSERT_TRUE(g.Read(in, row.version)) << row.version;
        EXPECT_TRUE(in.AtEnd()) << row.version;
        EXPECT_EQ(g.Distance(), row.itemsOneToFive ? 3.5 : 1.0) << row.version;
        EXPECT_EQ(g.SurfaceRayCount(), row.itemsOneToFive ? 5 : 1) << row.version;
        EXPECT_EQ(g.TransformSize(), row.itemsOneToFive ? 4096 : 512) << row.version;
        EXPECT_EQ(g.Log2TransformSize(), row.itemsOneToFive ? 12 : 9) << row.version;
        EXPECT_EQ(g.OnAxisIndex(), row.itemsOneToFive ? 3 : 0) << row.version;
        EXPECT_EQ(g.DisableIfft(), row.itemsOneToFive) << row.version;
        // Items the version does not have keep their values.
        EXPECT_EQ(g.Vertical(), !row.verticalAndHidePhase) << row.version;
        EXPECT_EQ(g.HidePhase(), row.verticalAndHidePhase) << row.version;
        EXPECT_EQ(g.Title(), row.scalingAndTitle ? "Two-way monitor" : "before") << row.version;
        EXPECT_EQ(g.SplRange(), row.scalingAndTitle ? 50 : 30) << row.version;
        EXPECT_EQ(g.GroupDelayMaximum(), row.scalingAndTitle ? 42.25 : 10.0) << row.version;
    }
}

TEST(TGeneral, EveryCutOfTheBlockFailsAndChangesNothing)
{
    TGeneral source;
    MakeUnusual(source);
    const auto current = Block(source);
    for (int version : {350, 405, 410}) {
        const std::vector<std::uint8_t> full =
            version == 405 ? Version400Block(current)
                           : std::vector<std::uint8_t>(
                                 current.begin(), current.begin() + static_cast<long>(TGeneral::BlockSize(version)));
        for (std::size_t cut = 0; cut < full.size(); ++cut) {
            TGeneral g;
            g.SetTitle("untouched");
            const auto before = Block(g);
            TBinaryReader in({full.begin(), full.begin() + static_cast<long>(cut)});
            EXPECT_FALSE(g.Read(in, version)) << version << " cut " << cut;
            EXPECT_EQ(Block(g), before) << version << " cut " << cut;
            EXPECT_EQ(g.TransformSize(), 512);
        }
    }
}

TEST(TGeneral, DamagedValuesAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    };
    const Row rows[] = {
        {"18 surface rays", [](auto& b) { Put<std::int16_t>(b, 9, 18); }},
        {"no surface ray", [](auto& b) { Put<std::int16_t>(b, 9, 0); }},
        {"9 overlay rays", [](auto& b) { Put<std::int16_t>(b, 45, 9); }},
        {"negative overlay count", [](auto& b) { Put<std::int16_t>(b, 45, -1); }},
        {"ray beyond 90 degrees", [](auto& b) { Put<std::int16_t>(b, 11, 300); }},
        {"N not a power of two", [](auto& b) { Put<std::int16_t>(b, 67, 1000); }},
        {"N beyond the tables", [](auto& b) { Put<std::int16_t>(b, 67, -32768); }},
        {"N below the tables", [](auto& b) { Put<std::int16_t>(b, 67, 64); }},
        {"no sample rate", [](auto& b) { Put<std::int32_t>(b, 69, 0); }},
        {"distance NaN", [nan](auto& b) { Put<double>(b, 1, nan); }},
        {"distance 0", [](auto& b) { Put<double>(b, 1, 0.0); }},
        {"display range upside down",
         [](auto& b) {
             Put<std::int16_t>(b, 63, 20000);
             Put<std::int16_t>(b, 65, 20);
         }},
        {"group delay max NaN", [nan](auto& b) { Put<double>(b, 92, nan); }},
        {"group delay min infinite", [](auto& b) { Put<double>(b, 84, -std::numeric_limits<double>::infinity()); }},
        {"SPL range 0", [](auto& b) { Put<std::int16_t>(b, 78, 0); }},
    };
    TGeneral source;
    MakeUnusual(source);
    for (const Row& row : rows) {
        auto bytes = Block(source);
        row.damage(bytes);
        TGeneral g;
        const auto before = Block(g);
        TBinaryReader in(bytes);
        EXPECT_FALSE(g.Read(in, 410)) << row.what;
        EXPECT_EQ(Block(g), before) << row.what;
    }
}

TEST(TGeneral, TitleFieldWithoutTerminatorKeepsNinetyNineCharacters)
{
    TGeneral source;
    auto bytes = Block(source);
    std::fill(bytes.begin() + 100, bytes.end(), static_cast<std::uint8_t>('x'));
    TGeneral g;
    TBinaryReader in(bytes);
    ASSERT_TRUE(g.Read(in, 410));
    EXPECT_EQ(g.Title(), std::string(99, 'x'));
    const auto written = Block(g);
    EXPECT_EQ(written[198], 'x');
    EXPECT_EQ(written[199], 0);
}
