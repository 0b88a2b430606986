// Advanced and active filter projects: kinds and their menus, the totals formed from the
// networks, the file with its per-net blocks and nickname blocks byte for byte and cut by
// cut, and the store slots with their menu items.
#include "NetATestSupport.h"

#include "core/TBinaryStream.h"
#include "filter/TDriverADialog.h"
#include "filter/TNetADialog.h"
#include "filter/TXover.h"
#include "ui/TDialogModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace netatest;

namespace {

struct TBench {
    explicit TBench(int creation) : project(host, context, creation) {}
    THeadlessHost host;
    TProgramContext context;
    TXover project;

    std::vector<std::uint8_t> Bytes() const
    {
        TBinaryWriter out;
        project.WriteFile(out);
        return out.Bytes();
    }
};

// Net 1 a second-order low-pass, Net 2 a second-order high-pass, both around 3 kHz,
// for 8 ohm resistive drivers; Net 2's driver 0.15 m above Net 1's.
void MakeTwoWay(TXover& p)
{
    TNetA& low = p.NetA(0);
    TNetA& high = p.NetA(1);
    ASSERT_TRUE(SetBranch(low, 0, 3, {{S::R1, kWire}, {S::L, 0.0006}}));
    ASSERT_TRUE(SetBranch(low, 1, 2, {{S::C, 4.7e-6}}));
    ASSERT_TRUE(SetBranch(high, 0, 2, {{S::C, 4.7e-6}}));
    ASSERT_TRUE(SetBranch(high, 1, 3, {{S::R1, kWire}, {S::L, 0.0006}}));
    high.Drivers().Driver(0).y = 0.15;
    p.MarkAllDirty();
    p.Recalculate();
}

TEST(XoverAdvanced, KindsGiveTypeCodeTitleNetsModesAndMenuRemovals)
{
    struct TCase {
        int creation, typeCode, ways;
        bool active;
        const char* title;
        std::vector<int> removed;
    };
    const TCase cases[] = {
        {3, 20, 1, false, "Tonvek 4.10 Beta 1 way advanced filter",
         {13022, 13023, 13024, 13012, 13013, 13014, 13032, 13033, 13034, 13042, 13043, 13044, 13062, 13063, 13064,
          13052, 13053, 13054}},
        {4, 21, 2, false, "Tonvek 4.10 Beta 2 way advanced filter",
         {13023, 13024, 13013, 13014, 13033, 13034, 13043, 13044, 13063, 13064, 13053, 13054}},
        {5, 22, 3, false, "Tonvek 4.10 Beta 3 way advanced filter", {13024, 13014, 13034, 13044, 13064, 13054}},
        {6, 23, 4, false, "Tonvek 4.10 Beta 4 way advanced filter", {}},
        {8, 20, 1, true, "Tonvek 4.10 Beta 1 way advanced filter",
         {13022, 13023, 13024, 13012, 13013, 13014, 13032, 13033, 13034, 13042, 13043, 13044, 13062, 13063, 13064,
          13052, 13053, 13054}},
        {11, 23, 4, true, "Tonvek 4.10 Beta 4 way advanced filter", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.creation);
        TBench b(c.creation);
        EXPECT_EQ(b.project.TypeCode(), c.typeCode);
        EXPECT_EQ(TXover::TypeCodeOfKind(c.creation), c.typeCode);
        EXPECT_EQ(TXover::KindOfTypeCode(c.typeCode + (c.active ? 5 : 0)), c.creation);
        EXPECT_EQ(b.project.Ways(), c.ways);
        EXPECT_EQ(b.project.AdvancedNets().size(), static_cast<std::size_t>(c.ways));
        EXPECT_TRUE(b.project.Networks().empty());
        EXPECT_EQ(b.project.MenuNumber(), 21);
        EXPECT_EQ(b.project.Title(), c.title);
        EXPECT_EQ(b.host.RemovedCommands(), c.removed);
        for (const TNetA* net : b.project.AdvancedNets())
            EXPECT_EQ(net->Active(), c.active);
        EXPECT_TRUE(b.project.HandlesCommand(13020 + c.ways));
        EXPECT_TRUE(b.project.HandlesCommand(13060 + c.ways));
        EXPECT_EQ(b.project.HandlesCommand(13021 + c.ways), false) << "no net " << c.ways + 1;
        // The simple filter's network commands belong to menu 5 only.
        EXPECT_FALSE(b.project.HandlesCommand(12101));
        // The diagrams: each net's gain plot from the last net down, then the totals.
        std::vector<std::string> titles;
        for (const TPlotXYEmbryo* w : b.project.DiagramWindows())
            titles.push_back(w->Caption());
        std::vector<std::string> expected;
        for (int n = c.ways; n >= 1; --n)
            expected.push_back("Filter gain, Net " + std::to_string(n));
        for (const char* t : {"Input impedance", "Summed frequency response", "Individual phase response",
                              "Group delay", "Impulse response", "Vertical off axis response, surface plot",
                              "Vertical off axis response, overlaid plots"})
            expected.push_back(t);
        EXPECT_EQ(titles, expected);
        EXPECT_EQ(b.project.DiagramPages().heading, "3 WAY FILTER");
    }
}

TEST(XoverAdvanced, TotalsAreTheNetsSummedAndOnlyPassiveNetsLoadTheInput)
{
    TBench b(4);
    b.context.General().SetInhibit(false);
    for (int angle : {-30, 15, 45})
        ASSERT_EQ(b.context.General().AddSurfaceRay(angle), TRayChange::Done);
    MakeTwoWay(b.project);
    const TGeneral& g = b.context.General();
    ASSERT_EQ(g.SurfaceRayCount(), 4);
    const TNetA& n1 = b.project.NetA(0);
    const TNetA& n2 = b.project.NetA(1);
    for (int r = 0; r < g.SurfaceRayCount(); ++r)
        for (int p : {0, 180, 320, 499}) {
            const auto s = static_cast<std::size_t>(p);
            const TComplex sum = n1.Output(r)[s] + n2.Output(r)[s];
            EXPECT_NEAR(std::abs(b.project.Summed(r)[s] - sum), 0.0, 1e-12 * std::max(1.0, std::abs(sum)));
            EXPECT_NEAR(b.project.SummedLevel(r)[s], LevelDb(sum), 1e-9);
        }
    // Two passive nets: their input impedances in parallel (and the open input beside).
    const int mid = NearestPoint(b.context.General().FilterGrid(), 3000.0);
    const auto m = static_cast<std::size_t>(mid);
    const TComplex both = 1.0 / (1.0 / n1.InputImpedance()[m] + 1.0 / n2.InputImpedance()[m] + 1.0 / 1e9);
    EXPECT_NEAR(std::abs(b.project.TotalImpedance()[m] - both), 0.0, 1e-9);
    EXPECT_NEAR(b.project.TotalImpedanceMagnitude()[m], std::abs(both), 1e-9);

    // Net 2 active: it has its own amplifier and leaves the total.
    b.project.NetA(1).SetActive(true);
    b.project.MarkAllDirty();
    b.project.Recalculate();
    const TComplex one = 1.0 / (1.0 / n1.InputImpedance()[m] + 1.0 / 1e9);
    EXPECT_NEAR(std::abs(b.project.TotalImpedance()[m] - one), 0.0, 1e-9);

    // Every net active: the amplifier sees an open circuit at every frequency.
    b.project.NetA(0).SetActive(true);
    b.project.MarkAllDirty();
    b.project.Recalculate();
    for (int p = 0; p < TXover::kPoints; ++p) {
        EXPECT_EQ(b.project.TotalImpedanceMagnitude()[static_cast<std::size_t>(p)], 1e9);
        EXPECT_EQ(b.project.TotalImpedancePhase()[static_cast<std::size_t>(p)], 0.0);
    }
}

TEST(XoverAdvanced, PlotsCarryTheNetsCurvesAndTheSurfaceTheRays)
{
    TBench b(6);
    const TGeneral& g = b.context.General();
    std::vector<std::string> labels;
    const TPlotLogXLinY& summed = b.project.Plot(TXoverPlot::Summed);
    for (int c = 0; c < summed.CurveCount(); ++c)
        labels.push_back(summed.Curve(c).label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Total", "Net 1", "Net 2", "Net 3", "Net 4"}));
    EXPECT_EQ(b.project.Plot(TXoverPlot::Impedance).CurveCount(), 5);
    EXPECT_EQ(b.project.Plot(TXoverPlot::Phase).CurveCount(), 4);
    EXPECT_EQ(b.project.Plot(TXoverPlot::Surface).CurveCount(), g.SurfaceRayCount() - (g.HideOnAxis() ? 1 : 0));
    // A net with three drivers shows three gain curves.
    b.project.NetA(2).Drivers().SetCount(3);
    b.project.Recalculate();
    EXPECT_EQ(b.project.NetA(2).GainPlot().CurveCount(), 3);
}

TEST(XoverAdvanced, StoreSlotsAskANicknameAndRelabelTheirMenuItems)
{
    TBench b(4);
    MakeTwoWay(b.project);
    THeadlessHost& h = b.host;
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(h.CommandText(11891 + slot), "&" + std::to_string(slot + 1));
        EXPECT_EQ(h.CommandEnabled(11885 + slot), false);
        EXPECT_FALSE(b.project.HandlesCommand(11885 + slot));
    }
    // Cancelled: nothing is stored or relabelled.
    h.QueueInput(std::nullopt);
    ASSERT_TRUE(b.project.HandleCommand(11892));
    EXPECT_EQ(h.CommandText(11892), "&2");
    EXPECT_EQ(b.project.NetSetNickname(1), "");

    const double stored = b.project.NetA(0).Branch(0)->Comp(S::L).Value();
    h.QueueInput(std::string("Bright"));
    ASSERT_TRUE(b.project.HandleCommand(11892));
    EXPECT_EQ(h.CommandText(11892), "&2 Bright");
    EXPECT_EQ(h.CommandText(11866), "&2 Bright");
    EXPECT_EQ(b.project.NetSetNickname(1), "Bright");
    // A nickname longer than the prompt takes is cut to 79 characters.
    h.QueueInput(std::string(120, 'x'));
    b.project.StoreNetSet(3);
    EXPECT_EQ(b.project.NetSetNickname(3).size(), 79u);

    ASSERT_TRUE(b.project.NetA(0).Branch(0)->Comp(S::L).SetValue(0.002));
    b.project.MarkAllDirty();
    b.project.Recalculate();
    b.project.RecalcRequest(TRecalc::MarkUnchanged);
    ASSERT_TRUE(b.project.HandleCommand(11866));
    EXPECT_EQ(b.project.NetA(0).Branch(0)->Comp(S::L).Value(), stored);
    EXPECT_TRUE(b.project.Changed());

    // Driver sets: the recall item opens once its slot holds a set.
    h.QueueInput(std::string(""));
    ASSERT_TRUE(b.project.HandleCommand(11883));
    EXPECT_EQ(h.CommandText(11883), "&3");
    EXPECT_EQ(h.CommandEnabled(11887), true);
    EXPECT_TRUE(b.project.HandlesCommand(11887));
    b.project.NetA(1).Drivers().SetCount(2);
    ASSERT_TRUE(b.project.HandleCommand(11887));
    EXPECT_EQ(b.project.NetA(1).Drivers().Count(), 1);

    // A new project forgets the nicknames and closes the driver recall items again.
    b.project.ResetProject();
    EXPECT_EQ(h.CommandText(11892), "&2");
    EXPECT_EQ(h.CommandEnabled(11887), false);
}

TEST(XoverAdvanced, FileRoundTripsByteForByteWithItsPerNetAndNicknameBlocks)
{
    for (int creation : {4, 10}) {
        SCOPED_TRACE(creation);
        TBench a(creation);
        MakeTwoWay(a.project);
        a.host.QueueInput(std::string("Warm"));
        a.project.StoreNetSet(0);
        a.host.QueueInput(std::string("Far apart"));
        a.project.StoreDriverSet(2);
        const std::vector<std::uint8_t> bytes = a.Bytes();
        // Header, general settings, per net a schematic and a gain plot record, six plot
        // records and the impulse record, the net records, nicknames, snapshot, end mark.
        std::size_t records = 0;
        for (const TNetA* net : a.project.AdvancedNets()) {
            TBinaryWriter one;
            net->WriteRecord(one);
            records += one.Bytes().size();
        }
        const auto ways = static_cast<std::size_t>(a.project.Ways());
        EXPECT_EQ(bytes.size(), 22 + TGeneral::kBlockSize + ways * (TXover::kSchematicRecordA + 70) + 7 * 70 + records +
                                    800 + TXover::kPathSize + TXover::kSnapshotBlock + 2);
        EXPECT_EQ(bytes[bytes.size() - 2], 0x39);
        EXPECT_EQ(bytes[bytes.size() - 1], 0x30);

        TBench b(creation);
        TBinaryReader in(bytes);
        ASSERT_TRUE(b.project.LoadFrom(in));
        EXPECT_EQ(b.Bytes(), bytes);
        EXPECT_FALSE(b.project.Changed());
        EXPECT_EQ(b.project.NetSetNickname(0), "Warm");
        EXPECT_EQ(b.project.DriverSetNickname(2), "Far apart");
        EXPECT_EQ(b.host.CommandText(11891), "&1 Warm");
        EXPECT_EQ(b.host.CommandText(11887), "&3 Far apart");
        EXPECT_EQ(b.host.CommandEnabled(11887), true);
        EXPECT_EQ(b.host.CommandEnabled(11885), false);
        EXPECT_EQ(b.project.NetA(1).Active(), creation == 10);
        for (int p : {100, 300, 450})
            EXPECT_DOUBLE_EQ(b.project.SummedLevel(0)[static_cast<std::size_t>(p)],
                             a.project.SummedLevel(0)[static_cast<std::size_t>(p)]);

        // The nickname blocks sit before the snapshot name, 100 bytes a nickname.
        const std::size_t tail = 2 + TXover::kSnapshotBlock + TXover::kPathSize;
        const std::size_t nets = bytes.size() - tail - 800;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[nets])), "Warm");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[nets + 400 + 200])), "Far apart");

        // Every cut fails and leaves the program standing.
        for (std::size_t cut = 0; cut < bytes.size(); cut += (cut < 64 || bytes.size() - cut < 1400) ? 1 : 97) {
            TBench c(creation);
            TBinaryReader part(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
            EXPECT_FALSE(c.project.LoadFrom(part)) << cut;
        }
    }
}

TEST(XoverAdvanced, WrongKindOrMarkIsRefusedAndAnActiveCodeIsKept)
{
    TBench a(5);
    std::vector<std::uint8_t> bytes = a.Bytes();
    {
        // A three-way file is no two-way project.
        TBench b(4);
        TBinaryReader in(bytes);
        EXPECT_FALSE(b.project.LoadFrom(in));
    }
    {
        std::vector<std::uint8_t> marked = bytes;
        ASSERT_GT(marked.size(), 2u);
        marked[marked.size() - 1] = 0x31;
        TBench b(5);
        TBinaryReader in(marked);
        EXPECT_FALSE(b.project.LoadFrom(in));
    }
    // Code 27 (three-way, made active) reads into the active kind and is written back.
    bytes[0] = 27;
    TBench b(10);
    TBinaryReader in(bytes);
    ASSERT_TRUE(b.project.LoadFrom(in));
    EXPECT_EQ(b.project.TypeCode(), 27);
    EXPECT_EQ(b.Bytes()[0], 27);
}

} // namespace

namespace {

TEST(XoverAdvanced, DisconnectedNetsNearFieldAndADriverAtTheListenerGiveNumbers)
{
    for (int creation : {6, 11}) {
        SCOPED_TRACE(creation);
        TBench b(creation);
        TGeneral& g = b.context.General();
        g.SetInhibit(false);
        ASSERT_EQ(g.AddSurfaceRay(30), TRayChange::Done);
        g.SetInfinite(false);
        g.SetDistance(0.0);
        for (TNetA* net : b.project.AdvancedNets())
            net->disconnect = true;
        // A driver where the listener sits (on axis at the near-field distance).
        b.project.NetA(3).Drivers().Driver(0).z = 0.0;
        b.project.MarkAllDirty();
        b.project.Recalculate();
        for (int r = 0; r < g.SurfaceRayCount(); ++r)
            for (int p = 0; p < TXover::kPoints; ++p) {
                const auto s = static_cast<std::size_t>(p);
                ASSERT_TRUE(std::isfinite(b.project.SummedLevel(r)[s])) << r << " " << p;
                ASSERT_TRUE(std::isfinite(b.project.TotalImpedanceMagnitude()[s])) << p;
                ASSERT_TRUE(std::isfinite(b.project.GroupDelay()[s])) << p;
            }
    }
}

} // namespace

namespace {

TEST(XoverAdvanced, Version400WithAnActiveFirstNetHasNoImpedanceWindowRecord)
{
    // What version 400 wrote for a two-way project made active (type code 26).
    TBench source(9);
    ASSERT_TRUE(source.project.NetA(1).SetGainDb(-6.0));
    const std::string seed = std::string(TONVEK_SOURCE_DIR) + "/fuzz/corpus/FuzzGeneralSettings/v400-rays.bin";
    std::vector<std::uint8_t> general;
    ASSERT_TRUE(ReadWholeFile(seed, general));
    ASSERT_EQ(general.size(), 1 + TGeneral::BlockSize(400));
    TBinaryWriter w;
    w.WriteInt32(26);
    w.WriteInt16(400);
    w.WriteZeros(16);
    w.WriteBytes(general.data() + 1, general.size() - 1);
    w.WriteZeros(2 * TXover::kSchematicRecordA);
    for (int n = 1; n >= 0; --n)
        source.project.NetA(n).GainPlot().WriteWindowRecord(w);
    // No input impedance record: summed, phase, group delay, impulse, surface, overlay.
    for (int record = 0; record < 6; ++record)
        source.project.Plot(TXoverPlot::Summed).WriteWindowRecord(w);
    for (int n = 1; n >= 0; --n)
        source.project.NetA(n).WriteRecordAs(w, 400);
    w.WriteInt16(TXover::kEndMark);

    TBench b(9);
    TBinaryReader in(w.Bytes());
    ASSERT_TRUE(b.project.LoadFrom(in));
    ASSERT_NE(b.host.LastMessage(), nullptr);
    EXPECT_EQ(b.host.LastMessage()->title, "Old project file");
    EXPECT_EQ(b.project.TypeCode(), 26);
    EXPECT_NEAR(b.project.NetA(1).GainDb(), -6.0, 1e-9);
    EXPECT_EQ(b.context.General().SurfaceRayCount(), 6); // the rays of the seed block
    // Written back as this version: with the impedance record and the nickname blocks.
    const std::vector<std::uint8_t> now = b.Bytes();
    TBench c(9);
    TBinaryReader again(now);
    ASSERT_TRUE(c.project.LoadFrom(again));
    EXPECT_EQ(c.Bytes(), now);
}

} // namespace

namespace {

std::string Shown(const TDialogModel& dialog, const std::string& label)
{
    for (const TField& f : dialog.Fields())
        if (f.label == label)
            return f.ShownValue();
    return "(no field " + label + ")";
}

TEST(XoverAdvanced, MenuCommandsOpenTheNetDialogsWhichFollowARecall)
{
    TBench b(5);
    ASSERT_TRUE(b.project.HandleCommand(13022));
    TDialogModel& net2 = b.project.NetADialogs(1).NetDialog();
    EXPECT_TRUE(net2.IsOpen());
    EXPECT_EQ(net2.title, "Net 2");
    ASSERT_TRUE(b.project.HandleCommand(13013));
    TDialogModel& drivers3 = b.project.NetADialogs(2).DriverDialog();
    EXPECT_TRUE(drivers3.IsOpen());
    EXPECT_EQ(drivers3.title, "Driver unit(s) net 3");
    EXPECT_FALSE(b.project.NetADialogs(0).NetDialog().IsOpen());

    const std::string before = Shown(drivers3, "Re");
    b.host.QueueInput(std::string("Eight"));
    b.project.StoreDriverSet(0);
    b.project.NetA(2).Drivers().re = 5.0;
    drivers3.Reload();
    ASSERT_NE(Shown(drivers3, "Re"), before);
    b.project.RecallDriverSet(0);
    EXPECT_EQ(b.project.NetA(2).Drivers().re, 8.0);
    EXPECT_EQ(Shown(drivers3, "Re"), before);
    // The project goes with its dialogs open.
}

} // namespace

namespace {

TEST(XoverAdvanced, NetExportCommandsWriteEachNetsCurve)
{
    TBench b(5);
    MakeTwoWay(b.project);
    const std::string path = (std::filesystem::temp_directory_path() / "xover_adv_net.frd").string();
    struct TCase {
        int command;
        const double* first; // the curve's value at the first grid point
    };
    const TCase cases[] = {
        {13031, &b.project.NetA(0).Level(0)[0]},
        {13042, &b.project.NetA(1).DriverGain(0)[0]},
        {13053, &b.project.NetA(2).ImpedanceMagnitude()[0]},
        {13062, &b.project.NetA(1).GroupDelay()[0]},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.command);
        std::remove(path.c_str());
        b.host.QueueFileName(path);
        ASSERT_TRUE(b.project.HandleCommand(c.command));
        std::FILE* f = std::fopen(path.c_str(), "r");
        ASSERT_NE(f, nullptr);
        char header[64];
        double hz = 0, value = 0;
        ASSERT_NE(std::fgets(header, sizeof header, f), nullptr);
        ASSERT_EQ(std::fscanf(f, "%lf %lf", &hz, &value), 2);
        std::fclose(f);
        EXPECT_NEAR(hz, 5.0, 1e-6);
        EXPECT_NEAR(value, *c.first, 1e-6);
    }
    // A section refuses an unknown extension without a warning sign.
    b.host.ClearMessages();
    EXPECT_FALSE(b.project.ExportSectionTo(0, TSectionCurve::Spl, path + ".txt"));
    ASSERT_NE(b.host.LastMessage(), nullptr);
    EXPECT_EQ(b.host.LastMessage()->icon, TMsgIcon::None);
    std::remove(path.c_str());
}

} // namespace
