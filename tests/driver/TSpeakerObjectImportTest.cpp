// Imported SPL data: reading onto the box grid, and the merge into the simulated
// pressure with its transition index, level offset and phase lag.
#include "TSpeakerObjectTestSupport.h"

#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>

namespace {

using TComplexBlock = TSpeakerObject::TComplexBlock;

struct SpeakerImport : ::testing::Test {
    TSpeakerTestEnv env;
    TSpeakerObject s{env.context};
    TComplexBlock pressure{};
    TComplexBlock correction{};
    int n = 0;

    void SetUp() override
    {
        n = env.Grid().Count(); // 50 points, 20 .. 2000 Hz
        for (int i = 0; i < n; ++i) {
            pressure[i] = std::polar(1000.0 + i, 0.1);
            s.importedResponse[i] = std::polar(50.0, -0.2);
        }
        s.importValid = true;
    }
    int Merge() { return s.MergeImported(env.Grid(), pressure, correction); }
    // The last grid index below the transition frequency.
    int Below(double ft)
    {
        int t = -1;
        for (int i = 0; i < n; ++i)
            if (env.Grid().Frequency(i) < ft)
                t = i;
        return t;
    }
};

TEST_F(SpeakerImport, InactiveDataLeaveThePressureAlone)
{
    const TComplexBlock before = pressure;
    for (int variant = 0; variant < 2; ++variant) {
        s.importValid = variant == 0 ? false : true;
        s.importDisabled = variant == 1;
        EXPECT_EQ(Merge(), n - 1);
        EXPECT_EQ(pressure, before);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(correction[i], std::complex<double>(1, 0));
    }
}

// Without active data the simulation runs to its last point with a level: silent points
// at the top end it earlier, silent ones below do not, and no level at all gives -1.
TEST_F(SpeakerImport, InactiveDataEndWhereTheLastLevelIs)
{
    s.importValid = false;
    struct TCase {
        int silentFrom, silentTo; // [from, to) without pressure
        int expected;
    };
    const TCase cases[] = {{0, 0, n - 1}, {n - 3, n, n - 4}, {0, 5, n - 1}, {10, n - 1, n - 1}, {0, n, -1}};
    for (const TCase& c : cases) {
        SetUp();
        s.importValid = false;
        for (int i = c.silentFrom; i < c.silentTo; ++i)
            pressure[i] = 0;
        correction.fill(TComplex(7, 7));
        EXPECT_EQ(Merge(), c.expected) << c.silentFrom << ".." << c.silentTo;
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(correction[i], std::complex<double>(1, 0));
    }
}

TEST_F(SpeakerImport, TransitionBelowTheGridTakesEveryPointAtUnityLevel)
{
    s.transitionFrequency = 10;
    s.SetLevelOffset(6.0); // replaced by the automatic level offset
    EXPECT_EQ(Merge(), -1);
    EXPECT_EQ(s.levelFactor, 1.0);
    EXPECT_EQ(s.levelOffset, 0.0);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(pressure[i], s.importedResponse[i]);
}

TEST_F(SpeakerImport, AutomaticLevelMeetsTheSimulationAtTheTransition)
{
    s.transitionFrequency = 300;
    const TComplexBlock simulated = pressure;
    const int t = Below(300);
    ASSERT_GT(t, 0);
    EXPECT_EQ(Merge(), t);
    const double level = std::abs(simulated[t]) / 50.0;
    EXPECT_DOUBLE_EQ(s.levelFactor, level);
    EXPECT_DOUBLE_EQ(s.levelOffset, 20 * std::log10(level));
    for (int i = t + 1; i < n; ++i) {
        EXPECT_NEAR(std::abs(pressure[i] - level * s.importedResponse[i]), 0.0, 1e-9);
        EXPECT_NEAR(std::abs(correction[i] * simulated[i] - pressure[i]), 0.0, 1e-9);
    }
    // Below: same magnitude, phase lagged by four times atan(f / fp).
    for (int i : {0, t}) {
        const double f = env.Grid().Frequency(i);
        EXPECT_NEAR(std::abs(pressure[i]), std::abs(simulated[i]), 1e-9);
        EXPECT_NEAR(std::arg(pressure[i]), 0.1 - 4 * std::atan(f / 100000.0), 1e-12);
        EXPECT_EQ(correction[i], std::complex<double>(1, 0));
    }
}

TEST_F(SpeakerImport, FixedLevelOffsetScalesTheImportedData)
{
    s.transitionFrequency = 300;
    s.autoLevelOffset = false;
    s.SetLevelOffset(20.0);
    const int t = Merge();
    EXPECT_DOUBLE_EQ(s.levelFactor, 10.0);
    EXPECT_NEAR(std::abs(pressure[t + 1]), 500.0, 1e-9);
}

TEST_F(SpeakerImport, SilentImportedPointDoesNotBreakTheLevel)
{
    s.transitionFrequency = 300;
    const int t = Below(300);
    s.importedResponse[t + 1] = 0.0;
    EXPECT_EQ(Merge(), t);
    EXPECT_EQ(s.levelFactor, 1.0);
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(std::isfinite(std::abs(pressure[i])) && std::isfinite(std::abs(correction[i]))) << i;
}

TEST_F(SpeakerImport, ZeroCutoffMeansNoPhaseLag)
{
    s.transitionFrequency = 20000;
    s.phaseLagCutoff = 0.0;
    const TComplexBlock before = pressure;
    EXPECT_EQ(Merge(), n - 1);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(pressure[i], before[i]);
}

TEST_F(SpeakerImport, SilentSimulatedPointIsSkipped)
{
    s.transitionFrequency = 300;
    pressure[0] = 0.0;
    pressure[n - 1] = 0.0;
    const int t = Merge();
    EXPECT_EQ(t, Below(300));
    EXPECT_EQ(pressure[0], std::complex<double>(0, 0));
    EXPECT_EQ(pressure[n - 1], std::complex<double>(0, 0));
    EXPECT_EQ(correction[n - 1], std::complex<double>(1, 0));
}

TEST_F(SpeakerImport, ReadsAMeasuredFileOntoTheGrid)
{
    THeadlessHost host;
    s.SetHost(&host);
    // /work/shared/refdata/measured/DCS255-4@0.frd begins 19.86599 Hz 74.81 dB, 20.19895 Hz 74.91 dB.
    s.importFileName = std::string(TONVEK_REFDATA) + "/measured/DCS255-4@0.frd";
    s.importValid = false;
    ASSERT_TRUE(s.ReadImportedData(env.Grid()));
    EXPECT_TRUE(s.importValid);
    const double t = (std::log(20.0) - std::log(19.86599)) / (std::log(20.19895) - std::log(19.86599));
    EXPECT_NEAR(std::abs(s.importedResponse[0]), std::pow(10.0, 0.05 * ((1 - t) * 74.81 + t * 74.91)), 1e-6);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(SpeakerImport, UnreadableFilesLeaveTheDataInvalid)
{
    THeadlessHost host;
    s.SetHost(&host);
    s.importFileName.clear();
    EXPECT_FALSE(s.ReadImportedData(env.Grid()));
    EXPECT_FALSE(s.importValid);
    EXPECT_TRUE(host.Messages().empty()); // no name, no message

    s.importValid = true;
    std::ofstream(env.folder.File("empty.frd")) << "* header only\n";
    s.importFileName = "empty.frd"; // relative: in the program folder
    EXPECT_FALSE(s.ReadImportedData(env.Grid()));
    EXPECT_FALSE(s.importValid);
    EXPECT_TRUE(host.Messages().empty()); // opened, but no data

    s.importFileName = "nowhere.frd";
    EXPECT_FALSE(s.ReadImportedData(env.Grid()));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text,
              "Could not open file : " + env.folder.File("nowhere.frd") + "\nCheck if path and filename is correct.");
    EXPECT_EQ(host.Messages()[0].title, "Measured data");
}

TEST_F(SpeakerImport, ChosenNameLosesTheProgramFolder)
{
    s.SetImportFileName(env.folder.File("data/woofer.frd"));
    EXPECT_EQ(s.importFileName, "data/woofer.frd");
    s.SetImportFileName("/elsewhere/woofer.frd");
    EXPECT_EQ(s.importFileName, "/elsewhere/woofer.frd");
    s.SetImportFileName("/" + std::string(400, 'x'));
    EXPECT_EQ(s.importFileName.size(), 270u);
}

} // namespace

namespace {

// The data are read again when the grid changes, not at every recalculation; a file
// that cannot be opened is reported once per name and grid.
TEST(SpeakerImportRereading, FollowsTheGridAndReportsOnce)
{
    TSpeakerTestEnv env;
    THeadlessHost host;
    auto s = MakeReferenceSpeaker(env.context);
    s->SetHost(&host);
    s->importFileName = "missing.frd";
    s->PrepareTerms(env.Grid(), 2.83);
    s->PrepareTerms(env.Grid(), 2.83);
    EXPECT_EQ(host.Messages().size(), 1u);

    std::ofstream(env.folder.File("missing.frd")) << "10 80 0\n30000 80 0\n";
    s->PrepareTerms(env.Grid(), 2.83); // same name, same grid: not read
    EXPECT_FALSE(s->importValid);

    TMeasSetup& setup = env.Setup();
    setup.pointCount = 100;
    setup.LayoutGrid();
    EXPECT_TRUE(s->ImportNeedsRead(env.Grid()));
    s->PrepareTerms(env.Grid(), 2.83);
    EXPECT_TRUE(s->importValid);
    EXPECT_NEAR(std::abs(s->importedResponse[99]), 10000.0, 1e-6);
    EXPECT_FALSE(s->ImportNeedsRead(env.Grid()));
    s->outOfDate = true;
    EXPECT_EQ(host.Messages().size(), 1u);
}

} // namespace
