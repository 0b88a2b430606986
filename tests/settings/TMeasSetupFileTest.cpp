#include "TMeasSetupTestSupport.h"

#include "core/TBinaryStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace {

// A setup whose every stored field differs from its default, so a field written to
// the wrong offset shows up.
TMeasSetup DistinctSetup()
{
    TMeasSetup s;
    s.calculateImmediately = false;
    s.autorange = true;
    s.splRange = 0;
    s.sourceLevel = 4.0;
    s.sourceResistance = -0.25;
    s.sourceInductance = 0.0015;
    s.sourcePower = 2.0;
    s.pointCount = 123;
    s.startFrequency = 15;
    s.stopFrequency = 8000;
    s.hidePhase = true;
    s.highPassCutoff = 25;
    s.highPassQ = 1.5;
    return s;
}

std::vector<std::uint8_t> BlockOf(const TMeasSetup& s)
{
    TBinaryWriter w;
    s.WriteBlock(w);
    return w.Bytes();
}

// The block as it looks on disk, built field by field.
std::vector<std::uint8_t> HandMadeBlock(bool withHighPass, std::int32_t points = 100, std::int32_t start = 10,
                                        std::int32_t stop = 5000)
{
    std::vector<std::uint8_t> b;
    PutLE<std::uint8_t>(b, 0);       // calculate immediately
    PutLE<std::uint8_t>(b, 0);       // autorange
    PutLE<std::int32_t>(b, 50);      // SPL range
    PutLE<double>(b, 5.0);           // Ug
    PutLE<double>(b, 1.5);           // Rg
    PutLE<double>(b, 0.0);           // Lg
    PutLE<double>(b, 3.125);         // Pg
    PutLE<std::int32_t>(b, points);  // point count
    PutLE<std::int32_t>(b, start);   // start
    PutLE<std::int32_t>(b, stop);    // stop
    PutLE<std::uint8_t>(b, 1);       // hide phase
    if (withHighPass) {
        PutLE<std::int32_t>(b, 40);  // cutoff
        PutLE<double>(b, 0.5);       // Q
    }
    return b;
}

bool SameStoredFields(const TMeasSetup& a, const TMeasSetup& b)
{
    return a.calculateImmediately == b.calculateImmediately && a.autorange == b.autorange &&
           a.splRange == b.splRange && a.sourceLevel == b.sourceLevel &&
           a.sourceResistance == b.sourceResistance && a.sourceInductance == b.sourceInductance &&
           a.sourcePower == b.sourcePower && a.pointCount == b.pointCount &&
           a.startFrequency == b.startFrequency && a.stopFrequency == b.stopFrequency &&
           a.hidePhase == b.hidePhase && a.highPassCutoff == b.highPassCutoff && a.highPassQ == b.highPassQ;
}

} // namespace

TEST(TMeasSetupBlock, FieldsSitAtTheirOffsets)
{
    const TMeasSetup s = DistinctSetup();
    const std::vector<std::uint8_t> bytes = BlockOf(s);
    ASSERT_EQ(bytes.size(), 63u);

    struct Row {
        const char* field;
        std::size_t offset;
        std::vector<std::uint8_t> expected;
    };
    auto enc = [](auto v) {
        std::vector<std::uint8_t> out;
        PutLE(out, v);
        return out;
    };
    const Row rows[] = {
        {"calculate immediately", 0, enc(std::uint8_t{0})},
        {"autorange", 1, enc(std::uint8_t{1})},
        {"SPL range", 2, enc(std::int32_t{0})},
        {"Ug", 6, enc(4.0)},
        {"Rg", 14, enc(-0.25)},
        {"Lg", 22, enc(0.0015)},
        {"Pg", 30, enc(2.0)},
        {"point count", 38, enc(std::int32_t{123})},
        {"start frequency", 42, enc(std::int32_t{15})},
        {"stop frequency", 46, enc(std::int32_t{8000})},
        {"hide phase", 50, enc(std::uint8_t{1})},
        {"high-pass cutoff", 51, enc(std::int32_t{25})},
        {"high-pass Q", 55, enc(1.5)},
    };
    std::size_t covered = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.field);
        ASSERT_LE(r.offset + r.expected.size(), bytes.size());
        std::vector<std::uint8_t> got(bytes.begin() + static_cast<long>(r.offset),
                                      bytes.begin() + static_cast<long>(r.offset + r.expected.size()));
        EXPECT_EQ(got, r.expected);
        covered += r.expected.size();
    }
    EXPECT_EQ(covered, 63u);
}

TEST(TMeasSetupBlock, RoundTripKeepsEveryFieldAndLaysOutTheGrid)
{
    const TMeasSetup written = DistinctSetup();
    TBinaryReader in(BlockOf(written));
    TMeasSetup read;
    read.setupChanged = false;
    ASSERT_TRUE(read.ReadBlock(in, 410));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_TRUE(SameStoredFields(read, written));
    EXPECT_TRUE(read.setupChanged);
    ASSERT_EQ(read.grid.Count(), 123);
    EXPECT_DOUBLE_EQ(read.grid.Frequency(0), 15.0);
    EXPECT_NEAR(read.grid.Frequency(122), 8000.0, 1e-9);
}

TEST(TMeasSetupBlock, OldBlockHasNoHighPassAndKeepsThePreviousOne)
{
    const std::vector<std::uint8_t> old = HandMadeBlock(false);
    ASSERT_EQ(old.size(), 51u);
    TMeasSetup s;
    s.highPassCutoff = 80;
    s.highPassQ = 2.5;
    TBinaryReader in(old);
    ASSERT_TRUE(s.ReadBlock(in, 400));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_FALSE(s.calculateImmediately);
    EXPECT_EQ(s.splRange, 50);
    EXPECT_EQ(s.sourceLevel, 5.0);
    EXPECT_EQ(s.sourceResistance, 1.5);
    EXPECT_EQ(s.sourcePower, 3.125);
    EXPECT_EQ(s.pointCount, 100);
    EXPECT_EQ(s.startFrequency, 10);
    EXPECT_EQ(s.stopFrequency, 5000);
    EXPECT_TRUE(s.hidePhase);
    EXPECT_EQ(s.highPassCutoff, 80);
    EXPECT_EQ(s.highPassQ, 2.5);
}

TEST(TMeasSetupBlock, CurrentBlockInsideALargerFileStopsAtItsEnd)
{
    // A project file carries more after the block; the reader must stop at byte 63.
    std::vector<std::uint8_t> bytes = HandMadeBlock(true);
    bytes.push_back(0xAB);
    TBinaryReader in(bytes);
    TMeasSetup s;
    ASSERT_TRUE(s.ReadBlock(in, 410));
    EXPECT_EQ(in.Position(), 63u);
    EXPECT_EQ(s.highPassCutoff, 40);
    EXPECT_EQ(s.highPassQ, 0.5);
}

TEST(TMeasSetupBlock, ShortBlockFailsAndChangesNothing)
{
    const TMeasSetup before = DistinctSetup();
    const std::vector<std::uint8_t> full = HandMadeBlock(true);
    struct Row {
        int version;
        std::size_t length;
    };
    const Row rows[] = {{410, 0}, {410, 1}, {410, 50}, {410, 51}, {410, 62}, {400, 50}, {400, 5}};
    for (const Row& r : rows) {
        SCOPED_TRACE("version " + std::to_string(r.version) + ", " + std::to_string(r.length) + " bytes");
        TMeasSetup s = before;
        TBinaryReader in(std::vector<std::uint8_t>(full.begin(), full.begin() + static_cast<long>(r.length)));
        EXPECT_FALSE(s.ReadBlock(in, r.version));
        EXPECT_TRUE(SameStoredFields(s, before));
    }
}

TEST(TMeasSetupBlock, ImplausibleValuesAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* what;
        std::size_t offset;
        std::function<void(std::vector<std::uint8_t>&, std::size_t)> poke;
    };
    auto i32 = [](std::int32_t v) { return [v](std::vector<std::uint8_t>& b, std::size_t o) { PokeLE(b, o, v); }; };
    auto dbl = [](double v) { return [v](std::vector<std::uint8_t>& b, std::size_t o) { PokeLE(b, o, v); }; };
    const Row rows[] = {
        {"501 points would overrun the grid", 38, i32(501)},
        {"9 points", 38, i32(9)},
        {"negative point count", 38, i32(-5)},
        {"start 0", 42, i32(0)},
        {"stop above 20000", 46, i32(20001)},
        {"stop equal to start", 46, i32(10)},
        {"stop below start", 46, i32(9)},
        {"SPL range 81", 2, i32(81)},
        {"Ug NaN", 6, dbl(nan)},
        {"Ug 0", 6, dbl(0.0)},
        {"Rg infinite", 14, dbl(std::numeric_limits<double>::infinity())},
        {"Lg NaN", 22, dbl(nan)},
        {"Lg above 1 H", 22, dbl(1.5)},
        {"Lg of -5e303 makes the source impedance infinite", 22, dbl(-5.486124068793689e303)},
        {"Pg above 125000", 30, dbl(2e5)},
        {"cutoff negative", 51, i32(-1)},
        {"cutoff above 10000", 51, i32(10001)},
        {"Q 0 would divide by zero", 55, dbl(0.0)},
        {"Q NaN", 55, dbl(nan)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<std::uint8_t> bytes = HandMadeBlock(true);
        r.poke(bytes, r.offset);
        TMeasSetup s;
        TBinaryReader in(bytes);
        EXPECT_FALSE(s.ReadBlock(in, 410));
        EXPECT_TRUE(SameStoredFields(s, TMeasSetup()));
    }
}

TEST(TMeasSetupBlock, EdgesOfTheRangesAreAccepted)
{
    TMeasSetup s;
    s.startFrequency = 1;
    s.stopFrequency = 11;
    s.pointCount = 500;
    s.SetSourceLevel(0.001); // Pg computed from Ug lands on the edge of its range
    s.sourceResistance = -10000;
    s.sourceInductance = -1.0;
    s.highPassCutoff = 10000;
    s.highPassQ = 10;
    TBinaryReader in(BlockOf(s));
    TMeasSetup read;
    ASSERT_TRUE(read.ReadBlock(in, 410));
    EXPECT_TRUE(SameStoredFields(read, s));
    EXPECT_EQ(read.grid.Count(), 500);
}

// Found by fuzzing: an old (51-byte) block whose Lg of -5e303 H was taken, so every
// source impedance of the project became infinite.
TEST(TMeasSetupBlock, FuzzFoundOldBlockWithHugeInductanceIsRefused)
{
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(TONVEK_SOURCE_DIR "/tests/data/fuzz/setup-block-v400-huge-lg.bin", bytes));
    ASSERT_EQ(bytes.size(), TMeasSetup::kOldBlockSize);
    TMeasSetup s;
    TBinaryReader in(bytes);
    EXPECT_FALSE(s.ReadBlock(in, 400));
    EXPECT_TRUE(SameStoredFields(s, TMeasSetup()));
    for (int i = 0; i < s.grid.Count(); ++i) {
        const std::complex<double> z = s.SourceImpedance(s.grid.Omega(i));
        EXPECT_TRUE(std::isfinite(z.real()) && std::isfinite(z.imag()));
    }
}

TEST(TMeasSetupBlock, NarrowRangeFromAStoredFileIsKept)
{
    // Closer than the dialog's 10 Hz, but a usable grid: the project still loads.
    TBinaryReader in(HandMadeBlock(true, 10, 1995, 2000));
    TMeasSetup s;
    ASSERT_TRUE(s.ReadBlock(in, 410));
    EXPECT_EQ(s.startFrequency, 1995);
    EXPECT_NEAR(s.grid.Frequency(9), 2000.0, 1e-9);
}

// msetup.prf in a private program folder.
class TMeasSetupPrefs : public ::testing::Test {
protected:
    TMeasSetupFolder folder;
};

TEST_F(TMeasSetupPrefs, SaveWritesTheBlockIntoTheProgramFolder)
{
    TMeasSetup s = DistinctSetup();
    ASSERT_TRUE(s.SavePreferences(folder.Program()));
    EXPECT_EQ(TMeasSetup::PreferencesPath(folder.Program()), folder.Prefs());
    EXPECT_EQ(folder.ReadPrefs(), BlockOf(s));

    TMeasSetup loaded;
    EXPECT_TRUE(loaded.LoadPreferences(folder.Program(), false));
    EXPECT_TRUE(SameStoredFields(loaded, s));
    EXPECT_EQ(loaded.fileVersion, 410);
    EXPECT_TRUE(loaded.setupChanged);
}

TEST_F(TMeasSetupPrefs, MissingShortOrGarbageFileGivesDefaults)
{
    std::vector<std::uint8_t> garbage(63);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
    const std::vector<std::uint8_t> good = HandMadeBlock(true);
    struct Row {
        const char* what;
        std::optional<std::vector<std::uint8_t>> content; // nullopt: no file
    };
    const Row rows[] = {
        {"missing", std::nullopt},
        {"empty", std::vector<std::uint8_t>{}},
        {"old 51-byte block", HandMadeBlock(false)},
        {"62 bytes", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"garbage", garbage},
        {"all 0xFF", std::vector<std::uint8_t>(63, 0xFF)},
        {"all zero", std::vector<std::uint8_t>(63, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::filesystem::remove(folder.Prefs());
        if (r.content)
            folder.WritePrefs(*r.content);
        TMeasSetup s = DistinctSetup();
        s.fileVersion = 300;
        EXPECT_FALSE(s.LoadPreferences(folder.Program(), false));
        EXPECT_TRUE(SameStoredFields(s, TMeasSetup()));
        EXPECT_EQ(s.fileVersion, 410);
        EXPECT_EQ(s.grid.Count(), 50);
        EXPECT_NEAR(s.grid.Frequency(49), 2000.0, 1e-9);
    }
}

TEST_F(TMeasSetupPrefs, ForceDefaultsIgnoresAnExistingFile)
{
    ASSERT_TRUE(DistinctSetup().SavePreferences(folder.Program()));
    TMeasSetup s;
    EXPECT_FALSE(s.LoadPreferences(folder.Program(), true));
    EXPECT_TRUE(SameStoredFields(s, TMeasSetup()));
    // ...and leaves the file alone.
    EXPECT_EQ(folder.ReadPrefs(), BlockOf(DistinctSetup()));
}

TEST_F(TMeasSetupPrefs, FailedSaveKeepsTheOldFile)
{
    ASSERT_TRUE(DistinctSetup().SavePreferences(folder.Program()));
    TMeasSetup s;
    // A folder that does not exist cannot take the file.
    EXPECT_FALSE(s.SaveFile((folder.Path() / "no-such-dir" / "msetup.prf").string()));
    EXPECT_EQ(folder.ReadPrefs(), BlockOf(DistinctSetup()));
}
