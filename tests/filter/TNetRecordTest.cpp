// The network record: its size by version, a round trip through every field, every cut,
// values the program never writes, and an old record with one driver.
#include "NetTestSupport.h"
#include "measdata/MeasTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace nettest;

namespace {

std::vector<std::uint8_t> RecordOf(const TNet& net)
{
    TBinaryWriter out;
    net.WriteRecord(out);
    return out.Bytes();
}

// Every value away from its default, so a field read into the wrong place shows.
void MakeUnusual(TNet& net, const std::string& spl, const std::string& zma)
{
    net.re = 6.2;
    net.rex = 0.3;
    net.le = 0.00042;
    net.driverCount = 2;
    net.seriesConnection = true;
    net.disconnect = true;
    net.invertPolarity = true;
    net.attenuation = 2.5;
    net.highPassCutoff = 2700;
    net.lowPassCutoff = 450;
    net.highPassOrder = 3;
    net.lowPassOrder = 1;
    for (int i = 0; i < 2; ++i) {
        TNetDriver& d = net.Driver(i);
        d.x = 0.01 + i;
        d.y = -0.02 - i;
        d.z = 0.03 + i;
        d.pistonRadius = 0.04 + i;
        d.splScaling = 1.5 + i;
        d.impedanceScaling = 0.7 + i;
    }
    for (int b = 0; b < TNet::kBranches; ++b) {
        TBranch& branch = net.Branch(b);
        branch.SetType(TBranchType((b + 3) % kBranchTypes));
        branch.R().value = 1.0 + b;
        branch.C().value = 1e-6 * (2 + b);
        branch.L().value = 1e-3 * (3 + b);
        branch.L().seriesResistance = 0.1 * b;
    }
    ASSERT_TRUE(net.SetMeasFile(0, TMeasKind::Spl, spl));
    ASSERT_TRUE(net.SetMeasFile(1, TMeasKind::Impedance, zma));
}

class NetRecord : public testing::Test {
protected:
    meastest::TempDir dir;
    std::string spl = dir.Write("w.frd", "10 80 0\n30000 80 0\n");
    std::string zma = dir.Write("w.zma", "10 6 0\n30000 6 0\n");
};

TEST_F(NetRecord, SizeByVersion)
{
    EXPECT_EQ(TNet::RecordSize(410), 1661u);
    EXPECT_EQ(TNet::RecordSize(310), 1661u);
    EXPECT_EQ(TNet::RecordSize(309), 835u);
    FakeProject project;
    TNet net(project, 1);
    EXPECT_EQ(RecordOf(net).size(), TNet::RecordSize(410));
}

TEST_F(NetRecord, RoundTripKeepsEveryField)
{
    FakeProject project;
    TNet net(project, 0);
    MakeUnusual(net, spl, zma);
    const auto bytes = RecordOf(net);
    // A few fields at their places, little-endian.
    double re = 0;
    std::memcpy(&re, bytes.data(), 8);
    EXPECT_EQ(re, 6.2);
    EXPECT_EQ(bytes[32], 2);  // driver count
    EXPECT_EQ(bytes[34], 1);  // series
    EXPECT_EQ(bytes[152], 1); // invert polarity
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[153])), spl);
    EXPECT_EQ(bytes[1237], 3); // branch 0 type

    TNet back(project, 0);
    TBinaryReader in(bytes);
    ASSERT_TRUE(back.ReadRecord(in, 410));
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(RecordOf(back), bytes);
    EXPECT_TRUE(back.Driver(0).spl.Loaded());
    EXPECT_TRUE(back.Driver(1).impedance.Loaded());
    EXPECT_FALSE(back.Driver(1).spl.Loaded());
    EXPECT_TRUE(back.Dirty());
    EXPECT_TRUE(back.Branch(5).Dirty());
}

TEST_F(NetRecord, EveryCutFailsAndChangesNothing)
{
    FakeProject project;
    TNet source(project, 2);
    MakeUnusual(source, spl, zma);
    const auto bytes = RecordOf(source);
    TNet net(project, 2);
    const auto before = RecordOf(net);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        TBinaryReader in(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
        ASSERT_FALSE(net.ReadRecord(in, 410)) << n;
        ASSERT_EQ(RecordOf(net), before) << n;
        ASSERT_TRUE(net.Dirty());
    }
}

TEST_F(NetRecord, ValuesTheProgramNeverWritesAreRefused)
{
    struct Row {
        const char* what;
        std::size_t offset;
        int size; // 8 double, 2 int16
        double value;
    };
    const double nan = std::nan("");
    const Row rows[] = {
        {"Re 0", 0, 8, 0.0},
        {"Re NaN", 0, 8, nan},
        {"Rex negative", 8, 8, -1.0},
        {"Le infinite", 16, 8, 1e308 * 10},
        {"driver count 0", 32, 2, 0},
        {"driver count 3", 32, 2, 3},
        {"x huge", 36, 8, 1e200},
        {"radius negative", 76, 8, -0.1},
        {"SPL scaling 0", 92, 8, 0.0},
        {"cutoff 0", 132, 8, 0.0},
        {"high-pass order 5", 148, 2, 5},
        {"low-pass order -1", 150, 2, -1},
        {"branch type 10", 1237, 2, 10},
        {"component NaN", 1237 + 2 + 9, 8, nan},
        {"coil resistance negative", 1237 + 2 + 34 + 1, 8, -0.5},
    };
    FakeProject project;
    TNet source(project, 0);
    const auto good = RecordOf(source);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto bytes = good;
        if (row.size == 8) {
            std::memcpy(&bytes[row.offset], &row.value, 8);
        } else {
            const auto v = static_cast<std::int16_t>(row.value);
            std::memcpy(&bytes[row.offset], &v, 2);
        }
        TNet net(project, 0);
        net.re = 5.0;
        TBinaryReader in(bytes);
        EXPECT_FALSE(net.ReadRecord(in, 410));
        EXPECT_EQ(net.re, 5.0);
    }
}

TEST_F(NetRecord, OldRecordDescribesOneDriverWithoutCoilResistance)
{
    TBinaryWriter out;
    for (double v : {7.0, 0.2, 0.0005, 0.015})
        out.WriteDouble(v); // Re, Rex, Le, z
    for (double v : {1.5, 3000.0, 2000.0})
        out.WriteDouble(v); // attenuation, cutoffs
    out.WriteInt16(2);
    out.WriteInt16(3);
    out.WriteUInt8(1);
    out.WriteText(spl, TNet::kFileNameField);
    out.WriteText("", TNet::kFileNameField);
    for (int b = 0; b < TNet::kBranches; ++b) {
        out.WriteInt16(b == 0 ? 2 : 0); // branch 0 " L"
        for (double v : {1.0, 2e-6, 0.004}) {
            out.WriteUInt8(b == 0 && v == 0.004);
            out.WriteDouble(v);
        }
    }
    ASSERT_EQ(out.Size(), TNet::RecordSize(309));
    FakeProject project;
    TNet net(project, 0);
    net.Driver(1).x = 0.25; // kept: the old record has no second driver
    const double coil = net.Branch(0).L().seriesResistance;
    TBinaryReader in(out.Bytes());
    ASSERT_TRUE(net.ReadRecord(in, 309));
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(net.re, 7.0);
    EXPECT_EQ(net.Driver(0).z, 0.015);
    EXPECT_EQ(net.highPassCutoff, 3000.0);
    EXPECT_EQ(net.lowPassOrder, 3);
    EXPECT_TRUE(net.invertPolarity);
    EXPECT_FALSE(net.disconnect);
    EXPECT_EQ(net.driverCount, 1);
    EXPECT_EQ(net.Driver(1).x, 0.25);
    EXPECT_TRUE(net.Driver(0).spl.Loaded());
    EXPECT_EQ(net.Branch(0).Type(), TBranchType::L);
    EXPECT_EQ(net.Branch(0).L().value, 0.004);
    EXPECT_EQ(net.Branch(0).L().seriesResistance, coil);
    // Written again it is a current record.
    EXPECT_EQ(RecordOf(net).size(), TNet::RecordSize(410));
}

TEST_F(NetRecord, AMissingMeasuredFileLoadsTheRestWithItsMessage)
{
    FakeProject project;
    TNet source(project, 0);
    MakeUnusual(source, spl, zma);
    const auto bytes = RecordOf(source);
    std::filesystem::remove(spl);
    TNet net(project, 0);
    project.host.ClearMessages();
    TBinaryReader in(bytes);
    ASSERT_TRUE(net.ReadRecord(in, 410));
    EXPECT_FALSE(net.Driver(0).spl.Loaded());
    EXPECT_EQ(net.Driver(0).spl.FileName(), spl);
    EXPECT_EQ(project.host.Messages().size(), 1u);
    net.Calculate();
    EXPECT_TRUE(std::isfinite(net.Level(0)[100]));
}

} // namespace
