// Connection factors of every wiring, the connection list, the rules that keep the
// stored connections and their factors together, and the pipeline pass against the
// reference pass.
#include "TSpeakerObjectTestSupport.h"
#include "box/TBoxPipeline.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace TSpeakerConnection;

namespace {

struct TFactorRow {
    int index;
    int n;
    double kZ, kU, kR;
};

class DriverFactorsTest : public ::testing::TestWithParam<TFactorRow> {};

TEST_P(DriverFactorsTest, MatchTable)
{
    const TFactorRow& r = GetParam();
    TConnFactors f = DriverFactors(r.index, r.n);
    EXPECT_DOUBLE_EQ(f.kZ, r.kZ);
    EXPECT_DOUBLE_EQ(f.kU, r.kU);
    EXPECT_DOUBLE_EQ(f.kR, r.kR);
}

INSTANTIATE_TEST_SUITE_P(AllConnections, DriverFactorsTest,
                         ::testing::Values(TFactorRow{0, 1, 1, 1, 1}, TFactorRow{0, 2, 2, 0.5, 0.5},
                                           TFactorRow{0, 3, 3, 1.0 / 3, 1.0 / 3}, TFactorRow{1, 2, 0.5, 1, 2},
                                           TFactorRow{1, 9, 1.0 / 9, 1, 9}, TFactorRow{2, 4, 1, 0.5, 1},
                                           TFactorRow{3, 6, 1.5, 1.0 / 3, 2.0 / 3},
                                           TFactorRow{4, 6, 2.0 / 3, 0.5, 1.5}, TFactorRow{5, 8, 2, 0.25, 0.5},
                                           TFactorRow{6, 8, 0.5, 0.5, 2}, TFactorRow{7, 9, 1, 1.0 / 3, 1},
                                           TFactorRow{8, 5, 1, 1, 1},
                                           // a damaged index falls back to separate sources
                                           TFactorRow{9, 4, 1, 1, 1}, TFactorRow{-1, 4, 1, 1, 1}));

std::vector<std::string> ListNames(int n)
{
    std::vector<std::string> names;
    for (int index : DriverConnectionList(n))
        names.emplace_back(DriverConnection(index).name);
    return names;
}

TEST(SpeakerConnectionList, OffersTheGroupingsOfN)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(ListNames(1), (V{"Series", "Parallell", "Sep. sources"}));
    EXPECT_EQ(ListNames(4), (V{"Series", "2-2", "Parallell", "Sep. sources"}));
    EXPECT_EQ(ListNames(6), (V{"Series", "2-2-2", "3-3", "Parallell", "Sep. sources"}));
    EXPECT_EQ(ListNames(8), (V{"Series", "2-2-2-2", "4-4", "Parallell", "Sep. sources"}));
    EXPECT_EQ(ListNames(9), (V{"Series", "3-3-3", "Parallell", "Sep. sources"}));
}

TEST(SpeakerConnectionPairs, SeriesParallelSeparateAndLoadResistor)
{
    EXPECT_EQ(PairFactors(kPairSeries), (TConnFactors{2, 0.5, 0.5}));
    EXPECT_EQ(PairFactors(kPairParallel), (TConnFactors{0.5, 1, 2}));
    EXPECT_EQ(PairFactors(kPairSeparate), (TConnFactors{1, 1, 1}));
    EXPECT_EQ(PairFactors(kLoadResistor), (TConnFactors{1, 1, 1}));
}

TEST(SpeakerConnectionStages, TotalIsTheProductOfTheThreeStages)
{
    TSpeakerTestEnv env;
    TSpeakerObject s{env.context};
    s.doubleVoiceCoil = 1;
    s.SetNumberOfDrivers(2);      // series: 2, 0.5, 0.5
    s.SetIsobaric(true);
    s.SetIsobaricConnection(kPairParallel); // 0.5, 1, 2
    s.SetDvcConnection(kPairSeries);        // 2, 0.5, 0.5
    TConnFactors k = s.TotalFactors();
    EXPECT_DOUBLE_EQ(k.kZ, 2.0);
    EXPECT_DOUBLE_EQ(k.kU, 0.25);
    EXPECT_DOUBLE_EQ(k.kR, 0.5);
}

TEST(SpeakerConnectionStages, NumberOfDriversSelectsSeriesAndStaysInRange)
{
    TSpeakerTestEnv env;
    TSpeakerObject s{env.context};
    EXPECT_EQ(s.driverConnection, kSeparateSources); // the default before N is touched
    s.SetNumberOfDrivers(3);
    EXPECT_EQ(s.driverConnection, kSeries);
    EXPECT_EQ(s.driverFactors, (TConnFactors{3, 1.0 / 3, 1.0 / 3}));
    s.SetNumberOfDrivers(0);
    EXPECT_EQ(s.numberOfDrivers, 1);
    s.SetNumberOfDrivers(12);
    EXPECT_EQ(s.numberOfDrivers, 9);
}

TEST(SpeakerConnectionStages, IsobaricOffRestoresSeparateSources)
{
    TSpeakerTestEnv env;
    TSpeakerObject s{env.context};
    s.SetIsobaric(true);
    s.SetIsobaricConnection(kPairSeries);
    EXPECT_EQ(s.isobaricFactors, (TConnFactors{2, 0.5, 0.5}));
    s.SetIsobaric(false);
    EXPECT_EQ(s.isobaricConnection, kPairSeparate);
    EXPECT_EQ(s.isobaricFactors, (TConnFactors{1, 1, 1}));
    s.SetIsobaric(true); // comes back with the stored (separate) connection
    EXPECT_EQ(s.isobaricFactors, (TConnFactors{1, 1, 1}));
}

TEST(SpeakerConnectionStages, SingleCoilUnitAfterDoubleCoilUnitDropsTheCoilFactors)
{
    TSpeakerTestEnv env;
    TSpkData unit;
    SetReferenceUnit(unit);
    unit.doubleVoiceCoil = 1;
    ASSERT_TRUE(unit.Save(env.folder.File("dvc.unt")));
    unit.doubleVoiceCoil = 0;
    ASSERT_TRUE(unit.Save(env.folder.File("single.unt")));

    // The project's unit finds bare names in the program folder.
    TSpeakerObject s{env.context};
    ASSERT_TRUE(s.Load("dvc.unt"));
    s.SetDvcConnection(kPairSeries);
    EXPECT_EQ(s.dvcFactors, (TConnFactors{2, 0.5, 0.5}));
    ASSERT_TRUE(s.Load("single.unt"));
    EXPECT_EQ(s.dvcFactors, (TConnFactors{1, 1, 1}));
    EXPECT_TRUE(s.complete);
    EXPECT_TRUE(s.outOfDate);
    // Back to a two-coil unit: the coil wiring that is set applies again.
    ASSERT_TRUE(s.Load("dvc.unt"));
    EXPECT_EQ(s.dvcFactors, (TConnFactors{2, 0.5, 0.5}));
}

TEST(SpeakerConnectionStages, FailedLoadLeavesTheUnitIncomplete)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->outOfDate = false;
    EXPECT_FALSE(s->Load("missing.unt"));
    EXPECT_FALSE(s->complete);
    EXPECT_TRUE(s->outOfDate);
}

// N = 2 in series: twice the input impedance of one driver, half the voltage on each
// coil, half the generator resistance as each coil sees it - so each cone moves as a
// single driver on half the voltage from half the source resistance.
TEST(SpeakerConnectionStages, TwoDriversInSeriesDoubleTheImpedance)
{
    TSpeakerTestEnv env;
    // Constructing a driver configuration loads the setup preferences, so the drivers
    // come first and the generator is set afterwards.
    auto one = MakeReferenceSpeaker(env.context);
    auto two = MakeReferenceSpeaker(env.context);
    auto single = MakeReferenceSpeaker(env.context);
    two->SetNumberOfDrivers(2);
    TMeasSetup& setup = env.Setup();

    setup.sourceResistance = 2.0;
    setup.SetSourceLevel(4.0);
    FreeAirCalculation(*one, env.Grid(), setup);
    FreeAirCalculation(*two, env.Grid(), setup);
    // One driver on half the voltage from half the source resistance.
    setup.sourceResistance = 1.0;
    setup.SetSourceLevel(2.0);
    FreeAirCalculation(*single, env.Grid(), setup);

    for (int i = 0; i < env.Grid().Count(); ++i) {
        EXPECT_NEAR(two->impedanceMagnitude[i], 2.0 * one->impedanceMagnitude[i], 1e-12 * one->impedanceMagnitude[i]);
        EXPECT_NEAR(two->excursion[i], single->excursion[i], 1e-12 * single->excursion[i]);
    }
}

} // namespace

namespace {

// Factors of a stage that does not apply never reach the wiring, whichever way they
// got there (a unit edited to one coil, an isobaric flag cleared in a file).
TEST(SpeakerConnectionStages, StagesThatDoNotApplyCountAsOne)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->doubleVoiceCoil = 1;
    s->SetDvcConnection(kPairSeries);
    s->isobaricFactors = {2, 0.5, 0.5};
    EXPECT_EQ(s->TotalFactors(), (TConnFactors{2, 0.5, 0.5}));
    s->doubleVoiceCoil = 0;
    EXPECT_EQ(s->TotalFactors(), (TConnFactors{1, 1, 1}));
    s->UnitChanged();
    EXPECT_EQ(s->dvcFactors, (TConnFactors{1, 1, 1}));
    EXPECT_TRUE(s->complete);
    EXPECT_TRUE(s->outOfDate);
}

} // namespace

namespace {

// The box pipeline's coupling and driving steps over a free-air load give what the
// reference pass computes step by step, for every wiring that changes the load or the
// force: an isobaric pair (the second cone's mass in the load, twice the force), a
// second coil and a generator with a high-pass and an inductance.
TEST(SpeakerConnectionStages, PipelinePassMatchesTheReferencePass)
{
    struct TCase {
        const char* name;
        std::function<void(TSpeakerObject&)> wire;
        int highPass;
    };
    const TCase cases[] = {
        {"single", [](TSpeakerObject&) {}, 0},
        {"isobaric pair", [](TSpeakerObject& s) { s.SetIsobaric(true); s.SetIsobaricConnection(kPairParallel); }, 0},
        {"second coil", [](TSpeakerObject& s) { s.doubleVoiceCoil = 1; s.SetDvcConnection(kPairSeries); }, 0},
        {"isobaric behind a high-pass", [](TSpeakerObject& s) { s.SetIsobaric(true); }, 25},
    };
    for (const TCase& c : cases) {
        TSpeakerTestEnv env;
        auto reference = MakeReferenceSpeaker(env.context);
        auto piped = MakeReferenceSpeaker(env.context);
        c.wire(*reference);
        c.wire(*piped);
        TMeasSetup& setup = env.Setup();
        setup.sourceResistance = 0.7;
        setup.sourceInductance = 1e-4;
        setup.highPassCutoff = c.highPass;
        setup.highPassQ = 0.7;
        const TFreqGrid& grid = env.Grid();
        const int n = grid.Count();
        reference->PrepareTerms(grid, setup.sourceLevel);
        piped->PrepareTerms(grid, setup.sourceLevel);
        FreeAirPass(*reference, grid, setup);

        std::vector<TComplex> load(static_cast<std::size_t>(n)), motional(load.size());
        std::vector<double> phase(load.size());
        for (std::size_t j = 0; j < load.size(); ++j)
            load[j] = piped->mechImpedance[j] + piped->radiationImpedance[j] + piped->extraLoad[j];
        TBoxPipeline::CoupleDriver(*piped, load, motional, phase, n, true);
        TBoxPipeline::DriveDriver(*piped, setup, load);

        for (std::size_t j = 0; j < load.size(); ++j) {
            const auto close = [](TComplex a, TComplex b) { return std::abs(a - b) <= 1e-12 * std::abs(b); };
            EXPECT_TRUE(close(piped->volumeVelocity[j], reference->volumeVelocity[j])) << c.name << " " << j;
            EXPECT_TRUE(close(piped->coilImpedance[j], reference->coilImpedance[j])) << c.name << " " << j;
            EXPECT_NEAR(piped->excursion[j], reference->excursion[j], 1e-12 * reference->excursion[j]) << c.name;
            EXPECT_NEAR(piped->impedanceMagnitude[j], reference->impedanceMagnitude[j],
                        1e-12 * reference->impedanceMagnitude[j])
                << c.name;
        }
    }
}

} // namespace
