// The room model on its own: a synthetic element response fed through bindInputs, so
// each case sees the room and nothing of a box.

#include "room/TRoomCabinet.h"

#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "support/AllocationCounter.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

struct RoomRig {
    explicit RoomRig(int start = 20, int stop = 2000, int points = 200, int drivers = 1)
        : folder(std::filesystem::temp_directory_path().string() + "/"),
          room(host, styles, nullptr, settings, setup, folder, sources)
    {
        setup.startFrequency = start;
        setup.stopFrequency = stop;
        setup.pointCount = points;
        setup.LayoutGrid();
        room.SetPointCount(points);
        n = drivers;
        for (std::size_t k = 0; k < p.size(); ++k) {
            p[k] = TComplex(2.0 * n, 0.0);
            pressure[k] = p[k];
            correction[k] = TComplex(1.0, 0.0);
            spl[k] = 20.0 * std::log10(2.0 * n);
        }
        room.bindInputs = [this](TRoomInputs& in) {
            in.groupCount = 1;
            in.groups[0] = TRoomGroupInput{TRoomSources::DriverUnits, n, radius, p.data()};
            in.pressure = pressure.data();
            in.importCorrection = correction.data();
            in.splTotal = spl.data();
        };
    }
    // Every reflection and the cabinet edges off.
    void Silence()
    {
        settings.reflections.fill(false);
        settings.cabinetEdges = false;
        room.MarkRecompute();
    }
    // The source at the baffle centre, so its distance is the listening distance.
    void CentreSource()
    {
        TPosObject& pos = room.Position(TRoomSources::DriverUnits, 0);
        pos.dX = settings.W / 2;
        pos.dY = settings.H / 2;
        pos.dZ = 0;
        room.MarkRecompute();
    }
    const TFreqGrid& Grid() const { return setup.grid; }

    THeadlessHost host;
    TPlotStyles styles;
    TRoomSettings settings;
    TMeasSetup setup;
    TProgramFolder folder;
    std::vector<TRoomSource> sources{TRoomSources::DriverUnits};
    TRoomCabinet room;
    int n = 1;
    double radius = 0.01;
    std::array<TComplex, 500> p{}, pressure{}, correction{};
    std::array<double, 500> spl{};
};

bool AllFinite(TRoomCabinet& room, int count)
{
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(room.Level()[k]) || !std::isfinite(room.Phase()[k]) || !std::isfinite(room.FreeAir()[k]))
            return false;
    return true;
}

} // namespace

// With nothing in the room the response is the free-air one moved to the listening
// distance; normalized it is the free-air level itself, and impact shows 0 dB.
TEST(TRoomCabinet, WithoutReflectionsTheRoomIsFreeAirAtTheListeningDistance)
{
    struct Case {
        bool normalize;
        int show;
        int drivers;
    };
    for (Case c : {Case{false, 1, 1}, Case{false, 1, 3}, Case{true, 1, 2}, Case{true, 0, 1}}) {
        RoomRig rig(20, 2000, 200, c.drivers);
        rig.Silence();
        rig.settings.normalize = c.normalize;
        rig.room.SetShowMode(c.show);
        rig.room.CalculateRoom();
        const double v = rig.room.ListeningDistance();
        for (int k = 0; k < rig.Grid().Count(); ++k) {
            double expected = c.show == 0 ? 0.0 : rig.spl[static_cast<std::size_t>(k)];
            if (!c.normalize)
                expected -= 20.0 * std::log10(v);
            ASSERT_NEAR(rig.room.Level()[k], expected, 0.01) << "point " << k;
            if (c.show == 1) {
                ASSERT_NEAR(rig.room.Level()[k], rig.room.FreeAir()[k], 0.01) << "point " << k;
            }
        }
        EXPECT_EQ(rig.room.CurveCount(), c.show == 0 ? 1 : 2);
        EXPECT_EQ(rig.room.Caption(), c.show == 0 ? "Room & Cabinet Impact" : "SPL in Room & Cabinet");
    }
}

// One floor reflection at the strongest factor the dialog allows: the first notch of
// its comb lies at c / (2 Δ).
TEST(TRoomCabinet, FloorReflectionNotchFollowsThePathDifference)
{
    for (double delta : {1.0, 1.3, 1.75, 2.0, 2.5}) {
        RoomRig rig(20, 1000, 500);
        rig.Silence();
        rig.settings.reflections[3] = true;                     // floor
        rig.settings.reflectionFactors[4] = std::sqrt(1 - 0.01); // floor factor at α = 0.01
        const double D = 3.0;
        const double h = std::sqrt((D + delta) * (D + delta) - D * D) / 2;
        rig.settings.H = 0.2;
        rig.settings.Y = h - 0.1;
        rig.settings.Z = 0.5;
        rig.settings.Yl = h;
        rig.settings.Xl = rig.settings.X + rig.settings.W / 2;
        rig.settings.Zl = 0.5 + D;
        rig.CentreSource();
        rig.room.CalculateRoom();
        const double notch = TRoomCabinet::kSoundSpeed / (2 * delta);
        int lowest = -1;
        for (int k = 0; k < rig.Grid().Count(); ++k) {
            const double f = rig.Grid().Frequency(k);
            if (f > 0.6 * notch && f < 1.4 * notch && (lowest < 0 || rig.room.Level()[k] < rig.room.Level()[lowest]))
                lowest = k;
        }
        ASSERT_GE(lowest, 0);
        EXPECT_NEAR(rig.Grid().Frequency(lowest), notch, 0.05 * notch) << "delta " << delta;
        // A deep notch: the reflection nearly cancels the direct sound there.
        EXPECT_LT(rig.room.Level()[lowest], rig.spl[0] - 20 * std::log10(D) - 6) << "delta " << delta;
    }
}

// The edge waves together cancel at DC what the baffle lets pass: Y[0] = n / v for any
// baffle and summation factor the dialog allows.
TEST(TRoomCabinet, CabinetEdgesKeepTheLevelAtDc)
{
    struct Case {
        double W, H, Y, dX, dY, s;
        int n;
    };
    for (Case c : {Case{0.3, 1.0, 0.0, 0.15, 0.4, 1.0, 1}, Case{0.01, 0.01, 0.5, 0.005, 0.005, 1.0, 1},
                   Case{2.0, 3.0, 0.2, 0.0, 3.0, 0.708, 2}, Case{0.5, 0.8, 0.3, 0.25, 0.2, 1.0, 4}}) {
        RoomRig rig;
        rig.Silence();
        rig.settings.cabinetEdges = true;
        rig.settings.W = c.W;
        rig.settings.H = c.H;
        rig.settings.Y = c.Y;
        rig.settings.summation = c.s;
        rig.n = c.n;
        for (int k = 0; k < c.n; ++k) {
            TPosObject& pos = rig.room.Position(TRoomSources::DriverUnits, k);
            pos.dX = c.dX;
            pos.dY = c.dY;
        }
        rig.room.CalculateRoom();
        const double v = rig.room.ListeningDistance();
        EXPECT_NEAR(rig.room.ListeningSpectrum()[0].real(), c.n / v, 1e-9 * c.n / v) << c.W << " x " << c.H;
        EXPECT_NEAR(rig.room.ListeningSpectrum()[0].imag(), 0.0, 1e-9);
        // Higher up the edges do show: the spectrum is not flat.
        EXPECT_GT(std::abs(rig.room.ListeningSpectrum()[300] - rig.room.ListeningSpectrum()[0]), 1e-6);
    }
}

// What the image sources and edge pieces leave out: a source in the speaker backwall
// plane, images beyond the 1024-sample window or nearer than one sample, the bottom
// edge of a baffle on the floor.
TEST(TRoomCabinet, ContributionsThatAreDropped)
{
    auto spectrumEnergy = [](const TRoomCabinet& room) {
        double e = 0;
        for (int i = 0; i < TRoomCabinet::kSpectrum; ++i)
            e += std::norm(room.StoredSpectrum(0)[i]);
        return e;
    };
    struct Case {
        const char* what;
        int wall;    // the one switch that is on
        double Z, dZ, Wr, Dr, X, Xl;
        bool dropped;
    };
    const Case cases[] = {
        {"backwall, source in its plane", 0, 0.0, 0.0, 5.0, 3.5, 1.5, 3.0, true},
        {"backwall, source in front of it", 0, 0.8, 0.0, 5.0, 3.5, 1.5, 3.0, false},
        {"backwall, port set back into it", 0, 0.3, -0.3, 5.0, 3.5, 1.5, 3.0, true},
        {"listener backwall 40 m away", 5, 0.8, 0.0, 5.0, 40.0, 1.5, 3.0, true},
        {"listener backwall 17 m away", 5, 0.8, 0.0, 5.0, 17.0, 1.5, 3.0, false},
        {"left wall under one sample", 1, 0.8, 0.0, 5.0, 3.5, 0.01, 0.01, true},
    };
    for (const Case& c : cases) {
        RoomRig rig;
        rig.Silence();
        rig.settings.reflections[static_cast<std::size_t>(c.wall)] = true;
        rig.settings.Z = c.Z;
        rig.settings.Dr = c.Dr;
        rig.settings.Wr = c.Wr;
        rig.settings.X = c.X;
        rig.settings.Xl = c.Xl;
        TPosObject& pos = rig.room.Position(TRoomSources::DriverUnits, 0);
        pos.dZ = c.dZ;
        pos.dX = 0;
        rig.room.CalculateRoom();
        if (c.dropped)
            EXPECT_EQ(spectrumEnergy(rig.room), 0.0) << c.what;
        else
            EXPECT_GT(spectrumEnergy(rig.room), 0.0) << c.what;
    }
    // A baffle standing on the floor loses its bottom edge; lifted by a hair it has one.
    std::array<double, 2> low{};
    for (int lifted = 0; lifted < 2; ++lifted) {
        RoomRig rig;
        rig.Silence();
        rig.settings.cabinetEdges = true;
        rig.settings.Y = lifted ? 1e-9 : 0.0;
        rig.room.Position(TRoomSources::DriverUnits, 0).dY = 0.05; // near the bottom edge
        rig.room.CalculateRoom();
        low[static_cast<std::size_t>(lifted)] = std::abs(rig.room.StoredSpectrum(0)[100]);
    }
    EXPECT_GT(std::abs(low[1] - low[0]), 1e-3 * low[0]);
}

// The stored spectra are rebuilt only when recompute says so or an element count
// changed; the settings that act after them reuse them.
TEST(TRoomCabinet, SpectraAreReusedUntilAChangeNeedsThem)
{
    RoomRig rig;
    rig.settings.reflections = {true, true, true, true, true, true};
    rig.room.CalculateRoom();
    EXPECT_FALSE(rig.room.NeedsRecompute());
    const TComplex before = rig.room.StoredSpectrum(0)[50];
    const double levelBefore = rig.room.Level()[100];

    rig.settings.Wr = 3.0; // a geometry change the dialog did not announce
    rig.settings.normalize = true;
    rig.settings.smoothing = true;
    rig.room.SetShowMode(0);
    rig.room.CalculateRoom();
    EXPECT_EQ(rig.room.StoredSpectrum(0)[50], before);
    EXPECT_NE(rig.room.Level()[100], levelBefore);

    rig.n = 2; // the element count check rebuilds by itself
    rig.room.CalculateRoom();
    EXPECT_NE(rig.room.StoredSpectrum(0)[50], before);
    const TComplex two = rig.room.StoredSpectrum(0)[50];
    rig.room.MarkRecompute();
    rig.settings.Wr = 5.0;
    rig.room.CalculateRoom();
    EXPECT_NE(rig.room.StoredSpectrum(0)[50], two);
}

// Once built, a calculation allocates nothing, with the spectra rebuilt or reused.
TEST(TRoomCabinet, CalculationAllocatesNothing)
{
    RoomRig rig;
    rig.settings.reflections = {true, true, true, true, true, true};
    rig.settings.smoothing = true;
    rig.room.CalculateRoom();
    EXPECT_EQ(allocation_counter::During([&] {
                  rig.room.MarkRecompute();
                  rig.room.CalculateRoom();
                  rig.room.CalculateRoom();
              }),
              0);
}

// 1/3-octave smoothing: over 20 Hz to 2 kHz and 50 points it is a three-point mean of
// the log magnitude and the phase; a span of less than an octave still smooths.
TEST(TRoomCabinet, SmoothingAveragesLogMagnitudeAndPhase)
{
    RoomRig rig(20, 2000, 50);
    rig.Silence();
    for (std::size_t k = 0; k < 50; ++k)
        rig.p[k] = std::polar(1.0 + k % 3, 0.1 * (k % 2));
    rig.room.CalculateRoom();
    std::array<TComplex, 50> raw{};
    std::copy_n(rig.room.Result(), 50, raw.begin());
    rig.settings.smoothing = true;
    rig.room.CalculateRoom();
    for (int k : {1, 10, 48}) {
        double a = 0, ph = 0;
        for (int j = k - 1; j <= k + 1; ++j) {
            a += std::log(std::abs(raw[static_cast<std::size_t>(j)]));
            ph += std::arg(raw[static_cast<std::size_t>(j)]);
        }
        const TComplex expected = std::polar(std::exp(a / 3), ph / 3);
        EXPECT_NEAR(std::abs(rig.room.Result()[k] - expected), 0.0, 1e-9 * std::abs(expected)) << k;
    }
    // The ends average what they have: two points.
    const double a0 = (std::log(std::abs(raw[0])) + std::log(std::abs(raw[1]))) / 2;
    EXPECT_NEAR(std::log(std::abs(rig.room.Result()[0])), a0, 1e-9);

    // 100 to 150 Hz: less than an octave, no whole quotient; still a finite, smoothed curve.
    RoomRig narrow(100, 150, 100);
    narrow.Silence();
    for (std::size_t k = 0; k < 100; ++k)
        narrow.p[k] = TComplex(1.0 + (k % 2), 0.0);
    narrow.settings.smoothing = true;
    narrow.room.CalculateRoom();
    ASSERT_TRUE(AllFinite(narrow.room, 100));
    EXPECT_LT(std::abs(narrow.room.Level()[50] - narrow.room.Level()[51]), 0.5);
}

// A result of exactly 0 (no response at all) shows as -200 dB and is left out of the
// smoothing's means.
TEST(TRoomCabinet, SilenceIsAFloorNotMinusInfinity)
{
    RoomRig rig(20, 2000, 50);
    rig.Silence();
    rig.p[10] = TComplex();
    rig.room.CalculateRoom();
    EXPECT_DOUBLE_EQ(rig.room.Level()[10], -200.0);
    rig.settings.smoothing = true;
    rig.room.CalculateRoom();
    EXPECT_NEAR(rig.room.Level()[10], rig.room.Level()[20], 1e-9); // from its two neighbours
}

// Measured data below the transition: the level is matched at the highest point at or
// below it, and kept when no point lies above the transition.
TEST(TRoomCabinet, MeasuredDataBlendBelowTheTransition)
{
    const std::string path = std::filesystem::temp_directory_path().string() + "/room-meas-" +
                             std::to_string(::getpid()) + ".frd";
    {
        std::ofstream out(path);
        out << "10 70 0\n20000 70 0\n"; // a flat 70 dB
    }
    RoomRig rig(20, 2000, 100);
    rig.Silence();
    rig.room.CalculateRoom();
    std::array<double, 100> computed{};
    std::copy_n(rig.room.Level(), 100, computed.begin());

    ASSERT_TRUE(rig.room.ReadMeasuredFile(path));
    EXPECT_TRUE(rig.settings.measLoaded);
    rig.settings.measTransition = 300;
    rig.room.CalculateRoom();
    EXPECT_NEAR(rig.settings.measLevelOffset, -70.0, 1e-6);
    int top = -1;
    for (int k = 0; k < 100; ++k)
        if (rig.Grid().Frequency(k) <= 300)
            top = k;
    ASSERT_GT(top, 0);
    EXPECT_NEAR(rig.room.Level()[top], computed[static_cast<std::size_t>(top)], 1e-9);
    EXPECT_NEAR(rig.room.Level()[top + 1], computed[static_cast<std::size_t>(top + 1)], 1e-9);

    rig.settings.measLevelFactor = 0.5;
    rig.settings.measTransition = 20000; // every point blended: the factor stays
    rig.room.CalculateRoom();
    EXPECT_DOUBLE_EQ(rig.settings.measLevelFactor, 0.5);

    // A file that is not there: the reader's message, and no blend.
    rig.host.ClearMessages();
    EXPECT_FALSE(rig.room.ReadMeasuredFile(path + ".missing"));
    EXPECT_FALSE(rig.settings.measLoaded);
    ASSERT_NE(rig.host.LastMessage(), nullptr);
    EXPECT_EQ(rig.host.LastMessage()->title, "Measured data");
    rig.room.CalculateRoom();
    EXPECT_NEAR(rig.room.Level()[5], computed[5], 1e-9);
    std::filesystem::remove(path);
}

// Rooms, baffles and positions no dialog would take: finite curves, no hang.
TEST(TRoomCabinet, OddGeometryGivesFiniteCurves)
{
    struct Case {
        const char* what;
        double Wr, Dr, Hr, W, H, X, Y, Z, Xl, Yl, Zl;
    };
    const Case cases[] = {
        {"zero-size room", 0, 0, 0, 0.3, 1.0, 0, 0, 0, 0, 0, 0},
        {"zero-size baffle", 5, 3.5, 2.4, 0, 0, 1.5, 0.1, 0.8, 3, 0.8, 2.5},
        {"positions outside the room", 5, 3.5, 2.4, 0.3, 1.0, -4, -2, 9, 30, -3, -8},
        {"listener on the baffle centre", 5, 3.5, 2.4, 0.3, 1.0, 1.5, 0.2, 0.8, 1.65, 0.7, 0.8},
        {"listener on the source", 5, 3.5, 2.4, 0.3, 1.0, 1.5, 0.0, 0.8, 1.65, 0.4, 0.8},
        {"huge room", 1e6, 1e6, 1e6, 2, 3, 5e5, 5e5, 5e5, 5e5 + 3, 5e5, 5e5 + 2},
    };
    for (const Case& c : cases) {
        RoomRig rig;
        rig.settings.reflections = {true, true, true, true, true, true};
        rig.settings.cabinetEdges = true;
        rig.settings.smoothing = true;
        rig.settings.Wr = c.Wr, rig.settings.Dr = c.Dr, rig.settings.Hr = c.Hr;
        rig.settings.W = c.W, rig.settings.H = c.H;
        rig.settings.X = c.X, rig.settings.Y = c.Y, rig.settings.Z = c.Z;
        rig.settings.Xl = c.Xl, rig.settings.Yl = c.Yl, rig.settings.Zl = c.Zl;
        rig.room.CalculateRoom();
        EXPECT_TRUE(AllFinite(rig.room, rig.Grid().Count())) << c.what;
        rig.room.SetShowMode(0);
        rig.room.CalculateRoom();
        EXPECT_TRUE(AllFinite(rig.room, rig.Grid().Count())) << c.what;
    }
}

// The project form keeps the window's place; a record cut anywhere fails cleanly.
TEST(TRoomCabinet, ProjectRecordKeepsTheWindowAndFailsCleanlyWhenCut)
{
    RoomRig rig;
    rig.room.placement.restored = TRect{10, 20, 410, 320};
    rig.settings.Wr = 4.25;
    rig.room.SetShowMode(0);
    TBinaryWriter out;
    rig.room.WriteRoom(out, false);
    ASSERT_EQ(out.Size(), TRoomSettings::ProjectSize);

    RoomRig back;
    TBinaryReader in(out.Bytes());
    ASSERT_TRUE(back.room.ReadRoom(in, false, 410));
    EXPECT_DOUBLE_EQ(back.settings.Wr, 4.25);
    EXPECT_EQ(back.room.placement.restored.left, 10);
    EXPECT_EQ(back.room.placement.restored.bottom, 320);
    EXPECT_EQ(back.room.Caption(), "Room & Cabinet Impact");
    EXPECT_TRUE(back.room.NeedsRecompute());

    for (std::size_t cut : {std::size_t{0}, std::size_t{69}, std::size_t{70}, std::size_t{600}, std::size_t{1371},
                            TRoomSettings::ProjectSize - 1}) {
        RoomRig partial;
        std::vector<std::uint8_t> bytes(out.Bytes().begin(), out.Bytes().begin() + static_cast<long>(cut));
        TBinaryReader r(bytes);
        EXPECT_FALSE(partial.room.ReadRoom(r, false, 410)) << cut;
    }

    // The preferences form through a file; a folder that is not there fails.
    const std::string prefs = std::filesystem::temp_directory_path().string() + "/room-prefs-" +
                              std::to_string(::getpid()) + ".prf";
    ASSERT_TRUE(rig.room.WriteRoom(prefs));
    EXPECT_EQ(std::filesystem::file_size(prefs), TRoomSettings::PreferencesSize);
    RoomRig loaded;
    loaded.room.LoadPreferences(prefs);
    EXPECT_DOUBLE_EQ(loaded.settings.Wr, 4.25);
    std::filesystem::remove(prefs);
    EXPECT_FALSE(rig.room.WriteRoom("/nonexistent-folder/roomcabi.prf"));
}

// What a calculation keeps (the bin places of the grid, each group's directivity)
// follows a new grid and a new radius: the curves equal those of a fresh model.
TEST(TRoomCabinet, KeptPlacesFollowTheGridAndTheRadius)
{
    RoomRig rig(20, 2000, 200);
    rig.settings.reflections = {true, false, false, true, false, false};
    rig.room.CalculateRoom();
    rig.setup.startFrequency = 10;
    rig.setup.stopFrequency = 20000;
    rig.setup.pointCount = 500;
    rig.setup.LayoutGrid();
    rig.radius = 0.12;
    rig.room.CalculateRoom();

    RoomRig fresh(10, 20000, 500);
    fresh.settings.reflections = rig.settings.reflections;
    fresh.radius = 0.12;
    fresh.room.CalculateRoom();
    ASSERT_EQ(rig.room.PointCount(), 500);
    for (int k = 0; k < 500; ++k)
        ASSERT_DOUBLE_EQ(rig.room.Level()[k], fresh.room.Level()[k]) << k;
}
