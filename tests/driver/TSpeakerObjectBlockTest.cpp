// The driver configuration block of box project files: layout byte for byte, the
// shorter block of version 409 and below, truncated and damaged blocks.
#include "TSpeakerObjectTestSupport.h"

#include "core/TBinaryStream.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace TSpeakerConnection;

namespace {

std::vector<std::uint8_t> BlockOf(const TSpeakerObject& s)
{
    TBinaryWriter out;
    s.WriteConfigBlock(out);
    return out.Bytes();
}

void Configure(TSpeakerObject& s)
{
    s.extraMass = 0.0125;
    s.SetNumberOfDrivers(4);
    s.SetDriverConnection(2); // "2-2"
    s.SetIsobaric(true);
    s.SetIsobaricConnection(kPairParallel);
    s.blNonLinear = true;
    s.coilHeating = false;
    s.cmsNonLinear = true;
    s.SetDvcConnection(kPairSeries);
    s.importValid = false;
    s.importFileName = "measured\\woofer.frd";
    s.importDisabled = true;
    s.transitionFrequency = 450;
    s.autoLevelOffset = false;
    s.SetLevelOffset(-3.5);
    s.phaseLagCutoff = 2500.0;
    s.loadResistor = 4.7;
}

template <typename T> T At(const std::vector<std::uint8_t>& b, std::size_t offset)
{
    T v{};
    std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}

TEST(SpeakerConfigBlock, LayoutByteForByte)
{
    TSpeakerTestEnv env;
    TSpeakerObject s{env.context};
    Configure(s);
    std::vector<std::uint8_t> b = BlockOf(s);
    ASSERT_EQ(b.size(), TSpeakerObject::kBlockSize);
    EXPECT_EQ(At<double>(b, 0), 0.0125);
    EXPECT_EQ(At<std::int32_t>(b, 8), 4);
    EXPECT_EQ(b[12], 1); // isobaric
    EXPECT_EQ(b[13], 1); // BL
    EXPECT_EQ(b[14], 0); // voice coil heating
    EXPECT_EQ(b[15], 1); // Cms
    EXPECT_EQ(At<std::int16_t>(b, 16), kPairParallel);
    EXPECT_EQ(At<std::int16_t>(b, 18), kPairSeries);
    EXPECT_EQ(At<std::int16_t>(b, 20), 2);
    EXPECT_EQ(At<double>(b, 22), 1.0);
    EXPECT_EQ(At<double>(b, 30), 0.5);
    EXPECT_EQ(At<double>(b, 38), 1.0);
    EXPECT_EQ(At<double>(b, 46), 0.5);
    EXPECT_EQ(At<double>(b, 54), 1.0);
    EXPECT_EQ(At<double>(b, 62), 2.0);
    EXPECT_EQ(b[70], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[71])), "measured\\woofer.frd");
    EXPECT_EQ(b[71 + 270], 0);
    EXPECT_EQ(b[342], 1);
    EXPECT_EQ(At<std::int16_t>(b, 343), 450);
    EXPECT_EQ(b[345], 0);
    EXPECT_EQ(At<double>(b, 346), -3.5);
    EXPECT_DOUBLE_EQ(At<double>(b, 354), std::pow(10.0, -3.5 / 20.0));
    EXPECT_EQ(At<double>(b, 362), 2500.0);
    EXPECT_EQ(At<double>(b, 370), 4.7);
}

TEST(SpeakerConfigBlock, RoundTripRestoresEveryStoredField)
{
    TSpeakerTestEnv env;
    TSpeakerObject a{env.context};
    Configure(a);
    std::vector<std::uint8_t> bytes = BlockOf(a);

    TSpeakerObject b{env.context};
    TBinaryReader in(bytes);
    ASSERT_TRUE(b.ReadConfigBlock(in, 410));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(BlockOf(b), bytes);
    EXPECT_EQ(b.dvcFactors, (TConnFactors{2, 0.5, 0.5})); // not stored, derived from the connection
    EXPECT_TRUE(b.outOfDate);
}

TEST(SpeakerConfigBlock, Version409BlockKeepsThePreviousLoadResistor)
{
    TSpeakerTestEnv env;
    TSpeakerObject a{env.context};
    Configure(a);
    std::vector<std::uint8_t> bytes = BlockOf(a);
    bytes.resize(TSpeakerObject::kOldBlockSize);
    bytes.push_back(0xAB); // whatever follows belongs to the next block

    TSpeakerObject b{env.context};
    b.loadResistor = 8.2;
    TBinaryReader in(bytes);
    ASSERT_TRUE(b.ReadConfigBlock(in, 409));
    EXPECT_EQ(in.Position(), TSpeakerObject::kOldBlockSize);
    EXPECT_EQ(b.loadResistor, 8.2);
    EXPECT_EQ(b.transitionFrequency, 450);
    EXPECT_EQ(b.phaseLagCutoff, 2500.0);
}

TEST(SpeakerConfigBlock, EveryTruncationFailsAndChangesNothing)
{
    TSpeakerTestEnv env;
    TSpeakerObject a{env.context};
    Configure(a);
    const std::vector<std::uint8_t> full = BlockOf(a);
    for (int version : {409, 410}) {
        const std::size_t size = version >= 410 ? TSpeakerObject::kBlockSize : TSpeakerObject::kOldBlockSize;
        for (std::size_t cut = 0; cut < size; ++cut) {
            TSpeakerObject b{env.context};
            const std::vector<std::uint8_t> before = BlockOf(b);
            TBinaryReader in(std::vector<std::uint8_t>(full.begin(), full.begin() + static_cast<long>(cut)));
            EXPECT_FALSE(b.ReadConfigBlock(in, version)) << "version " << version << " cut at " << cut;
            EXPECT_EQ(BlockOf(b), before) << "cut at " << cut;
        }
    }
}

struct TDamage {
    const char* what;
    std::size_t offset;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> Int16(std::int16_t v) { return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF)}; }
std::vector<std::uint8_t> Int32(std::int32_t v)
{
    std::vector<std::uint8_t> b(4);
    std::memcpy(b.data(), &v, 4);
    return b;
}
std::vector<std::uint8_t> Double(double v)
{
    std::vector<std::uint8_t> b(8);
    std::memcpy(b.data(), &v, 8);
    return b;
}

class SpeakerConfigBlockDamage : public ::testing::TestWithParam<TDamage> {};

TEST_P(SpeakerConfigBlockDamage, IsRefused)
{
    TSpeakerTestEnv env;
    TSpeakerObject a{env.context};
    Configure(a);
    std::vector<std::uint8_t> bytes = BlockOf(a);
    const TDamage& d = GetParam();
    std::copy(d.bytes.begin(), d.bytes.end(), bytes.begin() + static_cast<long>(d.offset));
    TSpeakerObject b{env.context};
    TBinaryReader in(bytes);
    EXPECT_FALSE(b.ReadConfigBlock(in, 410)) << d.what;
    EXPECT_EQ(b.numberOfDrivers, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SpeakerConfigBlockDamage,
    ::testing::Values(TDamage{"no drivers", 8, Int32(0)}, TDamage{"ten drivers", 8, Int32(10)},
                      TDamage{"isobaric connection", 16, Int16(3)}, TDamage{"coil connection", 18, Int16(4)},
                      TDamage{"negative driver connection", 20, Int16(-1)},
                      TDamage{"driver connection past the table", 20, Int16(9)},
                      TDamage{"NaN factor", 30, Double(std::nan(""))}, TDamage{"zero factor", 46, Double(0.0)},
                      TDamage{"negative extra mass", 0, Double(-0.001)},
                      TDamage{"infinite level factor", 354, Double(INFINITY)},
                      TDamage{"negative cutoff", 362, Double(-1.0)},
                      TDamage{"negative load resistor", 370, Double(-4.0)}));

TEST(SpeakerConfigBlock, ReadingRereadsValidImportedData)
{
    TSpeakerTestEnv env;
    THeadlessHost host;
    TSpeakerObject a{env.context};
    // /work/shared/refdata/measured/DCS255-4@0.frd: 19.9 Hz .. 20 kHz
    a.importFileName = std::string(TONVEK_REFDATA) + "/measured/DCS255-4@0.frd";
    a.importValid = true;
    std::vector<std::uint8_t> bytes = BlockOf(a);

    TSpeakerObject b(env.context, &host);
    TBinaryReader in(bytes);
    ASSERT_TRUE(b.ReadConfigBlock(in, 410));
    EXPECT_TRUE(b.importValid);
    EXPECT_GT(std::abs(b.importedResponse[0]), 1000.0); // about 75 dB at 20 Hz
    EXPECT_TRUE(host.Messages().empty());

    // The same block once the file is gone: the read succeeds, the data do not.
    a.importFileName = env.folder.File("gone.frd");
    bytes = BlockOf(a);
    TSpeakerObject c(env.context, &host);
    TBinaryReader in2(bytes);
    ASSERT_TRUE(c.ReadConfigBlock(in2, 410));
    EXPECT_FALSE(c.importValid);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text,
              "Could not open file : " + env.folder.File("gone.frd") + "\nCheck if path and filename is correct.");
    EXPECT_EQ(host.Messages()[0].title, "Measured data");
}

TEST(SpeakerConfigBlock, ClearRestoresTheDefaults)
{
    TSpeakerTestEnv env;
    TSpeakerObject fresh{env.context};
    auto s = MakeReferenceSpeaker(env.context);
    Configure(*s);
    s->dialogX = 40;
    s->complete = true;
    s->outOfDate = false;
    s->Clear();
    EXPECT_EQ(BlockOf(*s), BlockOf(fresh));
    EXPECT_FALSE(s->complete);
    EXPECT_TRUE(s->outOfDate);
    EXPECT_EQ(s->dialogX, 0);
    EXPECT_EQ(s->Sd, 0.0);
    EXPECT_EQ(s->driverConnection, kSeparateSources);
    EXPECT_EQ(s->isobaricConnection, kPairSeparate);
    EXPECT_EQ(s->dvcConnection, kPairSeparate);
    EXPECT_EQ(s->transitionFrequency, 300);
    EXPECT_EQ(s->phaseLagCutoff, 100000.0);
}

} // namespace
