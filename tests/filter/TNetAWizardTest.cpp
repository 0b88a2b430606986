// The wizards' ladders and sections against the textbook Butterworth values, where they
// land in the network, and the wizard dialogs as a user drives them from the network
// dialog.
#include "NetATestSupport.h"

#include "core/TBinaryStream.h"
#include "filter/TNetADialog.h"
#include "filter/TNetAWizard.h"
#include "filter/TNetAWizardDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

using namespace netatest;

namespace {

constexpr double kTwoPi = 6.283185307179586;

// What each ladder position holds after a wizard ran: its type and the value of every
// component in use, so a test can see which positions changed.
std::vector<std::string> Snapshot(const TNetA& net)
{
    std::vector<std::string> out;
    for (int p = 0; p < TNetA::kLadder; ++p) {
        const TBranchA& b = *net.Branch(p);
        std::string line = std::to_string(b.Type());
        for (int s = 0; s < kCompSlots; ++s)
            if (b.Comp(static_cast<S>(s)).inUse)
                line += " " + std::to_string(b.Comp(static_cast<S>(s)).Value());
        out.push_back(line);
    }
    return out;
}

int ChangedFrom(const std::vector<std::string>& before, const std::vector<std::string>& after, int& last)
{
    int first = -1;
    last = -1;
    for (int p = 0; p < TNetA::kLadder; ++p)
        if (before[static_cast<std::size_t>(p)] != after[static_cast<std::size_t>(p)]) {
            if (first < 0)
                first = p;
            last = p;
        }
    return first;
}

TEST(WizardSettings, ResetRestoresThemAndTheRecordLeavesThemOut)
{
    FakeProject project;
    TNetA net(project, 0, false);
    net.wizard = {3, 2, 2500, 300, 4.0, 2, 80, 0, 4};
    TBinaryWriter out;
    net.WriteRecord(out);
    TNetA plain(project, 0, false);
    TBinaryWriter reference;
    plain.WriteRecord(reference);
    EXPECT_EQ(out.Bytes(), reference.Bytes());
    net.Reset();
    EXPECT_EQ(net.wizard.lowPassOrder, 0);
    EXPECT_EQ(net.wizard.highPassCutoff, 500);
    EXPECT_EQ(net.wizard.lowPassCutoff, 5000);
    EXPECT_DOUBLE_EQ(net.wizard.nominalLoad, 8.0);
    EXPECT_EQ(net.wizard.insertion, 0);
    EXPECT_EQ(net.wizard.cutoff, 1000);
    EXPECT_EQ(net.wizard.lowPass, 1);
    EXPECT_EQ(net.wizard.order, 0);
}

TEST(PassiveWizard, LaddersEqualTheTextbookButterworthConstants)
{
    // Per element from the amplifier: L = k R / f, C = k / (R f) (published two-way
    // tables, rounded to four digits, so 0.1 % apart at most).
    struct Row {
        bool lowPass;
        int order;
        std::vector<double> k;
    };
    const Row rows[] = {
        {true, 1, {1 / 6.28}},
        {false, 1, {0.159}},
        {true, 2, {0.2251, 0.1125}},
        {false, 2, {0.1125, 0.2251}},
        {true, 3, {0.2387, 0.2122, 0.0796}},
        {false, 3, {0.1061, 0.1194, 0.3183}},
        {true, 4, {0.2437, 0.2509, 0.1723, 0.0609}},
        {false, 4, {0.1040, 0.1009, 0.1470, 0.4159}},
    };
    const double r = 8.0, f = 3000.0;
    for (const Row& row : rows) {
        SCOPED_TRACE((row.lowPass ? "low-pass order " : "high-pass order ") + std::to_string(row.order));
        FakeProject project;
        TNetA net(project, 0, false);
        TNetAWizardSettings s;
        (row.lowPass ? s.lowPassOrder : s.highPassOrder) = static_cast<std::int16_t>(row.order);
        (row.lowPass ? s.lowPassCutoff : s.highPassCutoff) = static_cast<std::int16_t>(f);
        s.nominalLoad = r;
        ASSERT_TRUE(wizard::ApplyPassive(net, s));
        for (int i = 0; i < row.order; ++i) {
            const TBranchA& b = *net.Branch(i);
            // Low-pass: coils in series, capacitors across; high-pass the other way round.
            const bool coil = (i % 2 == 0) == row.lowPass;
            const double k = row.k[static_cast<std::size_t>(i)];
            if (coil) {
                EXPECT_EQ(b.Type(), static_cast<int>(TPassiveType::R1PlusL)) << i;
                EXPECT_NEAR(b.Comp(S::L).Value(), k * r / f, 1e-3 * k * r / f) << i;
                EXPECT_DOUBLE_EQ(b.Comp(S::R1).Value(), 0.1);
                EXPECT_FALSE(b.Comp(S::C).inUse);
            } else {
                EXPECT_EQ(b.Type(), static_cast<int>(TPassiveType::C)) << i;
                EXPECT_NEAR(b.Comp(S::C).Value(), k / (r * f), 1e-3 * k / (r * f)) << i;
                EXPECT_FALSE(b.Comp(S::R1).inUse);
                EXPECT_FALSE(b.Comp(S::L).inUse);
            }
            EXPECT_FALSE(b.Comp(S::R2).inUse);
        }
        EXPECT_EQ(net.Branch(row.order)->Type(), 0);
    }
}

TEST(PassiveWizard, SecondOrderExamplesAlonePairedAndAtTheLastBranch)
{
    FakeProject project;
    TNetA net(project, 0, false);
    TNetAWizardSettings s;
    s.lowPassOrder = 2;
    s.lowPassCutoff = 1000;
    ASSERT_TRUE(wizard::ApplyPassive(net, s));
    EXPECT_EQ(net.Branch(0)->TypeLine(), " R1 + L");
    EXPECT_NEAR(net.Branch(0)->Comp(S::L).Value(), 1.414 * 8 / (kTwoPi * 1000), 1e-12);
    EXPECT_NEAR(net.Branch(0)->Comp(S::L).Value(), 1.8004e-3, 1e-7);
    EXPECT_DOUBLE_EQ(net.Branch(0)->Comp(S::R1).Value(), 0.1);
    EXPECT_EQ(net.Branch(1)->TypeLine(), " C");
    EXPECT_NEAR(net.Branch(1)->Comp(S::C).Value(), 14.065e-6, 1e-9);

    // Both filters at once: each position takes a coil and a capacitor.
    s.highPassOrder = 2;
    ASSERT_TRUE(wizard::ApplyPassive(net, s));
    EXPECT_EQ(net.Branch(0)->TypeLine(), " R1 + L + C");
    EXPECT_EQ(net.Branch(1)->TypeLine(), " C // (L + R1)");
    EXPECT_NEAR(net.Branch(0)->Comp(S::C).Value(), 1 / (1.414 * 8 * kTwoPi * 500), 1e-12);
    EXPECT_NEAR(net.Branch(1)->Comp(S::L).Value(), 8 / (0.707 * kTwoPi * 500), 1e-12);
    for (int p = 0; p < 2; ++p)
        for (S slot : {S::R1, S::L, S::C})
            EXPECT_TRUE(net.Branch(p)->Comp(slot).inUse) << p;

    // "Branch 7": positions 6 and 7.
    TNetA last(project, 1, false);
    s.highPassOrder = 0;
    s.insertion = 3;
    const auto before = Snapshot(last);
    ASSERT_TRUE(wizard::ApplyPassive(last, s));
    int to = 0;
    EXPECT_EQ(ChangedFrom(before, Snapshot(last), to), 6);
    EXPECT_EQ(to, 7);

    // Nothing to write, or a network of the other kind: nothing changes.
    TNetAWizardSettings none;
    EXPECT_TRUE(wizard::ApplyPassive(last, none));
    EXPECT_EQ(Snapshot(last)[0], before[0]);
    TNetA active(project, 2, true);
    const auto activeBefore = Snapshot(active);
    EXPECT_FALSE(wizard::ApplyPassive(active, s));
    EXPECT_EQ(Snapshot(active), activeBefore);
}

TEST(PassiveWizard, InsertionPointsStayWithinTheLadderForEveryStoredValue)
{
    // The list: branch 1, 3, 5 and 7, the last only below order 3. A stored value above
    // 3 comes from the active wizard (branch 5, 6, 7 there).
    struct Row {
        int stored, order, index;
    };
    const Row rows[] = {{0, 2, 0}, {3, 2, 3}, {3, 3, 2}, {3, 4, 2},  {4, 2, 2},
                        {5, 1, 2}, {6, 2, 3}, {6, 4, 2}, {-1, 2, 0}, {200, 0, 3}};
    for (const Row& row : rows) {
        TNetAWizardSettings s;
        s.insertion = static_cast<std::int16_t>(row.stored);
        s.highPassOrder = static_cast<std::int16_t>(row.order);
        EXPECT_EQ(wizard::PassiveInsertionIndex(s), row.index) << row.stored << " order " << row.order;
        EXPECT_EQ(wizard::PassiveInsertionCount(s), row.order < 3 ? 4 : 3);
    }
    FakeProject project;
    for (int stored = 0; stored <= 6; ++stored)
        for (int order = 1; order <= wizard::kMaxOrder; ++order) {
            TNetA net(project, 0, false);
            TNetAWizardSettings s;
            s.insertion = static_cast<std::int16_t>(stored);
            s.lowPassOrder = static_cast<std::int16_t>(order);
            const auto before = Snapshot(net);
            ASSERT_TRUE(wizard::ApplyPassive(net, s));
            int last = 0;
            const int first = ChangedFrom(before, Snapshot(net), last);
            EXPECT_EQ(first, 2 * wizard::PassiveInsertionIndex(s)) << stored << " order " << order;
            EXPECT_EQ(last, first + order - 1) << stored << " order " << order;
            EXPECT_LE(last, 7);
        }
}

// |T| of the network's own chain at f: every section it holds, times the gain.
double ChainDb(const TNetA& net, double f)
{
    TComplex t = net.Gain();
    for (int p = 0; p < TNetA::kLadder; ++p)
        if (net.Branch(p)->InUse())
            t *= net.Branch(p)->TransferAt(kTwoPi * f);
    return LevelDb(t);
}

TEST(ActiveWizard, SectionsAreMinus3DbAtTheCutoffAndButterworthAround)
{
    for (bool lowPass : {true, false})
        for (int order = 1; order <= 4; ++order) {
            SCOPED_TRACE((lowPass ? "low-pass order " : "high-pass order ") + std::to_string(order));
            FakeProject project;
            TNetA net(project, 0, true);
            TNetAWizardSettings s;
            s.order = order;
            s.lowPass = lowPass;
            s.cutoff = 1000;
            s.insertion = 2;
            ASSERT_TRUE(wizard::ApplyActive(net, s));
            EXPECT_NEAR(ChainDb(net, 1000.0), -3.01, 0.005);
            // The grid's transfer follows 1 / sqrt(1 + (f / fc)^2n) (or its mirror).
            ASSERT_TRUE(net.Calculate());
            const TFilterGrid& grid = project.Grid();
            double worst = 0.0;
            for (int i = 0; i < grid.Count(); ++i) {
                const double x = std::pow(grid.Frequency(i) / 1000.0, lowPass ? 1.0 : -1.0);
                const double ideal = -10.0 * std::log10(1.0 + std::pow(x, 2.0 * order));
                if (ideal > -60.0)
                    worst = std::max(worst, std::fabs(LevelDb(net.Transfer()[static_cast<std::size_t>(i)]) - ideal));
            }
            EXPECT_LT(worst, 0.01);
        }
}

TEST(ActiveWizard, PartsSwitchBelow100HzAndFollowTheExample)
{
    struct Row {
        int cutoff;
        bool lowPass;
        double r, c; // the equal resistors (low-pass) or capacitors (high-pass)
    };
    const Row rows[] = {{99, true, 470000, 0},  {100, true, 10000, 0}, {50, true, 470000, 0},
                        {99, false, 0, 4.7e-7}, {100, false, 0, 1e-8}, {20000, false, 0, 1e-8}};
    FakeProject project;
    for (const Row& row : rows)
        for (int order : {1, 2}) {
            TNetA net(project, 0, true);
            TNetAWizardSettings s;
            s.order = order;
            s.cutoff = static_cast<std::int16_t>(row.cutoff);
            s.lowPass = row.lowPass;
            ASSERT_TRUE(wizard::ApplyActive(net, s));
            const TBranchA& b = *net.Branch(0);
            SCOPED_TRACE(b.TypeLine() + " at " + std::to_string(row.cutoff));
            const S first = row.lowPass ? S::R1 : S::C1, second = row.lowPass ? S::R2 : S::C2;
            const double equal = row.lowPass ? row.r : row.c;
            EXPECT_DOUBLE_EQ(b.Comp(first).Value(), equal);
            EXPECT_EQ(b.Comp(second).inUse, order == 2);
            EXPECT_DOUBLE_EQ(b.Comp(second).Value(), order == 2 ? equal : b.Comp(second).ResetValue());
            EXPECT_EQ(b.Type(), order == 1 ? (row.lowPass ? 1 : 2) : (row.lowPass ? 3 : 4));
            EXPECT_FALSE(b.Comp(S::L).inUse);
        }
    TNetA net(project, 0, true);
    TNetAWizardSettings s;
    s.order = 2;
    ASSERT_TRUE(wizard::ApplyActive(net, s));
    EXPECT_NEAR(net.Branch(0)->Comp(S::C2).Value(), 11.256e-9, 1e-12);
    EXPECT_NEAR(net.Branch(0)->Comp(S::C1).Value(), 22.505e-9, 1e-12);
    EXPECT_EQ(net.Branch(0)->CharacteristicText(), "Fc=\t1000 Hz\nQ=\t0.7");
}

TEST(ActiveWizard, InsertionPointsAndTheSecondSection)
{
    FakeProject project;
    TNetA net(project, 0, true);
    TNetAWizardSettings s;
    s.order = 3;
    s.insertion = 5; // "Branch 6"
    auto before = Snapshot(net);
    ASSERT_TRUE(wizard::ApplyActive(net, s));
    int last = 0;
    EXPECT_EQ(ChangedFrom(before, Snapshot(net), last), 5);
    EXPECT_EQ(last, 6);
    EXPECT_EQ(net.Branch(5)->TypeLine(), " 2nd order LP");
    EXPECT_EQ(net.Branch(6)->TypeLine(), " 1st order LP");

    // "Branch 7" is offered below order 3 only; a stored 6 then means "Branch 6".
    struct Row {
        int order, stored, index, count;
    };
    for (const Row& row : {Row{2, 6, 6, 7}, Row{3, 6, 5, 6}, Row{4, 6, 5, 6}, Row{0, -3, 0, 7}, Row{1, 9, 6, 7}}) {
        s.order = row.order;
        s.insertion = static_cast<std::int16_t>(row.stored);
        EXPECT_EQ(wizard::ActiveInsertionIndex(s), row.index) << row.order << " " << row.stored;
        EXPECT_EQ(wizard::ActiveInsertionCount(s), row.count) << row.order;
    }

    // Order 0 clears the chosen position; a passive network is left alone.
    s.order = 0;
    s.insertion = 5;
    ASSERT_TRUE(wizard::ApplyActive(net, s));
    EXPECT_EQ(net.Branch(5)->Type(), 0);
    EXPECT_EQ(net.Branch(6)->Type(), 1);
    TNetA passive(project, 1, false);
    before = Snapshot(passive);
    s.order = 2;
    EXPECT_FALSE(wizard::ApplyActive(passive, s));
    EXPECT_EQ(Snapshot(passive), before);
}

TEST(NetAWizardDialog, OpensByModeKeepsItsListsAndCalcRecalculates)
{
    using D = TNetADialog;
    TDetachedNetOwner project;
    TNetA net(project, 0, false);
    net.wizard.insertion = 5; // left by the active wizard
    TNetADialog d(project.host, net);
    d.Open();
    ASSERT_TRUE(d.Field(D::kWizard).enabled);
    d.Press(D::kWizard);
    TDialogModel* w = d.OpenSubDialog();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->title, "Advanced network wizard");
    EXPECT_EQ(w->HelpFile(), "netpa_w.txt");
    EXPECT_TRUE(w->modal);
    using W = TNetAWizard;
    EXPECT_EQ(w->Field(W::kInsertion).items,
              (std::vector<std::string>{"Branch 1", "Branch 3", "Branch 5", "Branch 7"}));
    EXPECT_EQ(w->Selected(W::kInsertion), 2);
    w->Select(W::kInsertion, 3);
    EXPECT_EQ(net.wizard.insertion, 3);
    // Order 3 leaves "Branch 7" out and chooses "Branch 5".
    w->Select(W::kLowPassOrder, 3);
    EXPECT_EQ(net.wizard.lowPassOrder, 3);
    EXPECT_EQ(w->Field(W::kInsertion).items.size(), 3u);
    EXPECT_EQ(w->Selected(W::kInsertion), 2);
    EXPECT_EQ(net.wizard.insertion, 2);
    w->Type(W::kLowPassCutoff, "19");
    w->FocusField(W::kLoad);
    EXPECT_EQ(net.wizard.lowPassCutoff, 5000);
    w->Type(W::kLoad, "4");
    w->FocusField(W::kInsertion);
    EXPECT_DOUBLE_EQ(net.wizard.nominalLoad, 4.0);

    const int recalculated = project.recalculated;
    w->Press(W::kCalc);
    EXPECT_GT(project.recalculated, recalculated);
    EXPECT_GT(project.changed, 0);
    EXPECT_EQ(net.Branch(4)->TypeLine(), " R1 + L");
    EXPECT_NEAR(net.Branch(4)->Comp(S::L).Value(), 1.5 * 4 / (kTwoPi * 5000), 1e-12);
    // The network dialog shows the new branch at once; the wizard stays open.
    EXPECT_EQ(d.Field(D::kBranches).items[static_cast<std::size_t>(d.LineOf(D::TLineKind::Type, 4))], " R1 + L");
    EXPECT_EQ(d.OpenSubDialog(), w);
    net.Branch(4)->Update(project.Grid());
    w->Press(TBaseDialog::OkId);
    EXPECT_EQ(d.OpenSubDialog(), nullptr);
    EXPECT_TRUE(net.Branch(4)->Dirty()); // closing marks the network dirty

    // An active network gets the active wizard: branch 1 .. 7, the last below order 3.
    TNetA active(project, 1, true);
    TNetADialog a(project.host, active);
    a.Open();
    a.Press(D::kWizard);
    TDialogModel* c = a.OpenSubDialog();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->title, "Active crossover wizard");
    EXPECT_EQ(c->HelpFile(), "netac_w.txt");
    using C = TNetACWizard;
    EXPECT_EQ(c->Field(C::kInsertion).items.size(), 7u);
    c->Select(C::kInsertion, 6);
    c->Select(C::kOrder, 4);
    EXPECT_EQ(c->Field(C::kInsertion).items.back(), "Branch 6");
    EXPECT_EQ(active.wizard.insertion, 5);
    c->Select(C::kFilter, C::kHighPass);
    EXPECT_EQ(active.wizard.lowPass, 0);
    c->Press(C::kCalc);
    EXPECT_EQ(active.Branch(5)->TypeLine(), " 2nd order HP");
    EXPECT_EQ(active.Branch(6)->TypeLine(), " 2nd order HP");

    // Switched to passive behind the wizard's back: "Calc" beeps and writes nothing.
    const int beeps = project.host.Beeps();
    active.SetActive(false);
    c->Press(C::kCalc);
    EXPECT_EQ(project.host.Beeps(), beeps + 1);
    EXPECT_EQ(active.Branch(5)->Type(), 0);
}

} // namespace
