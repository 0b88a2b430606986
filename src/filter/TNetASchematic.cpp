// An advanced network's schematic page: the ladder or the chain of active sections from
// the cursor start, wrapping onto further rows, the driver group, the title, the frame,
// the drivers' description and the user note; the parts list on top.

#include "filter/TNetA.h"
#include "filter/TSchematicKit.h"
#include "settings/TProgramContext.h"
#include "ui/TNumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using TSchem::TNode;
using TSchem::TPart;

constexpr int kWrapX = 600, kRowStartX = 160, kRowPitch = 200, kDriverRowPitch = 220;
constexpr int kLower = 110; // the drivers' lower terminals and the shunts' grounds below the cursor
constexpr int kActiveWidth[kActiveTypes] = {0, 120, 120, 170, 150, 100, 120, 100, 120};
constexpr int kNamePitch = 11;

std::string Formatted(const char* format, double value) { return TNumberText::FormatDouble(format, value); }

// The passive type's parts in the order they are drawn, and the slots they stand for.
struct TPassiveShape {
    TNode node;
    std::vector<TCompSlot> order;
};

TPassiveShape PassiveShape(int type)
{
    using S = TCompSlot;
    const TNode r = TNode::Of(TPart::Resistor), l = TNode::Of(TPart::Inductor), c = TNode::Of(TPart::Capacitor);
    switch (static_cast<TPassiveType>(type)) {
    case TPassiveType::None: break;
    case TPassiveType::R1: return {r, {S::R1}};
    case TPassiveType::C: return {c, {S::C}};
    case TPassiveType::R1PlusL: return {TNode::Series({r, l}), {S::R1, S::L}};
    case TPassiveType::R1PlusC: return {TNode::Series({r, c}), {S::R1, S::C}};
    case TPassiveType::R1PlusLPlusC: return {TNode::Series({r, l, c}), {S::R1, S::L, S::C}};
    case TPassiveType::R1ParLPlusR2: return {TNode::Parallel({r, TNode::Series({l, r})}), {S::R1, S::L, S::R2}};
    case TPassiveType::R1ParC: return {TNode::Parallel({r, c}), {S::R1, S::C}};
    case TPassiveType::CParLPlusR1: return {TNode::Parallel({c, TNode::Series({l, r})}), {S::C, S::L, S::R1}};
    case TPassiveType::R1ParCParLPlusR2:
        return {TNode::Parallel({r, c, TNode::Series({l, r})}), {S::R1, S::C, S::L, S::R2}};
    case TPassiveType::R1ParR2PlusC: return {TNode::Parallel({r, TNode::Series({r, c})}), {S::R1, S::R2, S::C}};
    }
    return {TNode::Series({}), {}};
}

class TPage {
public:
    TPage(TCanvas& canvas, const TNetA& net) : c_(canvas), net_(net) {}

    void Circuit();
    int X() const { return x_; }
    int Y() const { return y_; }

private:
    const TCompA& Comp(const TBranchA& b, TCompSlot s) const { return b.Comp(s); }
    void Name(const std::string& text, int x, int y, int align)
    {
        c_.SetFont(TSchem::SmallFont());
        c_.SetTextColor(TColors::Black);
        c_.Text(x, y, text, align);
    }
    void ReturnConductor(int drop, int pitch);
    void PassiveSeries(const TBranchA& b);
    void PassiveShunt(const TBranchA& b, bool seriesDrewNothing);
    void Section(const TBranchA& b);
    void DriverGroup();
    // A driver shunt branch between two nodes at x, its names under the lower conductor.
    void DriverShunt(int position, int x, int top, int bottom);

    TCanvas& c_;
    const TNetA& net_;
    int x_ = 140, y_ = 120;
    // How far the shunt hanging at the cursor reaches to the right (0: none).
    int shuntReach_ = 0;
};

void TPage::ReturnConductor(int drop, int pitch)
{
    // Clear of a shunt that hangs at the end of the row.
    const int out = std::max(10, shuntReach_ + 6);
    TSchem::Path(c_,
                 {{x_, y_}, {x_ + out, y_}, {x_ + out, y_ + drop}, {kRowStartX, y_ + drop}, {kRowStartX, y_ + pitch}});
    x_ = kRowStartX;
    y_ += pitch;
    shuntReach_ = 0;
}

void TPage::PassiveSeries(const TBranchA& b)
{
    const TPassiveShape shape = PassiveShape(b.Type());
    const int type = b.Type();
    const int w = type == 1 || type == 2 || type == 7 ? 90 : 110;
    TSchem::DrawNode(c_, shape.node, x_, y_, x_ + w, y_);
    shuntReach_ = 0;
    // Names stacked above the cell, the first on top.
    const int n = int(shape.order.size());
    const int bottom = y_ - TSchem::ReachOf(shape.node) - 3;
    for (int i = 0; i < n; ++i)
        Name(Comp(b, shape.order[std::size_t(i)]).Name(), x_ + w / 2, bottom - (n - 1 - i) * kNamePitch,
             TAlign::Center | TAlign::Bottom);
    x_ += w;
}

void TPage::PassiveShunt(const TBranchA& b, bool seriesDrewNothing)
{
    if (seriesDrewNothing) {
        const int step = b.Type() == 9 ? 80 : 60;
        TSchem::Wire(c_, x_, y_, x_ + step, y_);
        x_ += step;
    }
    const TPassiveShape shape = PassiveShape(b.Type());
    TSchem::DrawNode(c_, shape.node, x_, y_, x_, y_ + kLower);
    TSchem::Dot(c_, x_, y_);
    TSchem::Ground(c_, x_, y_ + kLower);
    const int nameX = x_ + TSchem::ReachOf(shape.node) + 4;
    c_.SetFont(TSchem::SmallFont());
    shuntReach_ = nameX - x_;
    for (std::size_t i = 0; i < shape.order.size(); ++i) {
        const std::string& name = Comp(b, shape.order[i]).Name();
        Name(name, nameX, y_ + 32 + int(i) * kNamePitch, TAlign::Left | TAlign::Top);
        shuntReach_ = std::max(shuntReach_, nameX - x_ + c_.TextWidth(name));
    }
}

void TPage::Section(const TBranchA& b)
{
    using S = TCompSlot;
    const int type = b.Type();
    if (type <= 0 || type >= kActiveTypes)
        return;
    const int w = kActiveWidth[type];
    const int x = x_, y = y_;
    const TNode r = TNode::Of(TPart::Resistor), c = TNode::Of(TPart::Capacitor), l = TNode::Of(TPart::Inductor);
    const int cx = x + w - 32;
    auto follower = [&]() {
        TSchem::Path(c_,
                     {{cx - 20, y + 20}, {cx - 26, y + 20}, {cx - 26, y + 30}, {cx + 26, y + 30}, {cx + 26, y + 10}});
    };
    auto output = [&]() {
        TSchem::Amplifier(c_, cx, y + 10, false);
        TSchem::Path(c_, {{cx + 20, y + 10}, {cx + 26, y + 10}, {cx + 26, y}, {x + w, y}});
        TSchem::Dot(c_, cx + 26, y + 10);
    };
    auto above = [&](S s, int at) { Name(Comp(b, s).Name(), at, y - 6, TAlign::Center | TAlign::Bottom); };
    switch (static_cast<TActiveType>(type)) {
    case TActiveType::None: return;
    case TActiveType::FirstOrderLowPass:
    case TActiveType::FirstOrderHighPass: {
        const bool low = type == 1;
        TSchem::DrawNode(c_, low ? r : c, x, y, x + 45, y);
        above(low ? S::R1 : S::C1, x + 23);
        TSchem::Wire(c_, x + 45, y, cx - 20, y);
        TSchem::DrawNode(c_, low ? c : r, x + 52, y, x + 52, y + 60);
        TSchem::Dot(c_, x + 52, y);
        TSchem::Ground(c_, x + 52, y + 60);
        Name(Comp(b, low ? S::C1 : S::R1).Name(), x + 40, y + 25, TAlign::Right | TAlign::Top);
        follower();
        output();
        return;
    }
    case TActiveType::SecondOrderLowPass:
    case TActiveType::SecondOrderHighPass: {
        const bool low = type == 3;
        const TNode along = low ? r : c, across = low ? c : r;
        const int a = low ? x + 47 : x + 42, bx = low ? x + 95 : x + 84;
        TSchem::DrawNode(c_, along, x, y, a, y);
        TSchem::DrawNode(c_, along, a, y, bx, y);
        above(low ? S::R1 : S::C1, (x + a) / 2);
        above(low ? S::R2 : S::C2, (a + bx) / 2);
        TSchem::Wire(c_, bx, y, cx - 20, y);
        // Feedback from the output to the middle node; the other part to ground.
        TSchem::DrawNode(c_, across, a, y - 40, a, y);
        TSchem::Path(c_, {{a, y - 40}, {cx + 26, y - 40}, {cx + 26, y}});
        TSchem::Dot(c_, a, y);
        Name(Comp(b, low ? S::C1 : S::R1).Name(), a + 10, y - 36, TAlign::Left | TAlign::Top);
        TSchem::DrawNode(c_, across, bx, y, bx, y + 60);
        TSchem::Dot(c_, bx, y);
        TSchem::Ground(c_, bx, y + 60);
        Name(Comp(b, low ? S::C2 : S::R2).Name(), bx - 10, y + 25, TAlign::Right | TAlign::Top);
        follower();
        output();
        TSchem::Dot(c_, cx + 26, y);
        return;
    }
    case TActiveType::TrebleBoost:
    case TActiveType::QBoost: {
        // Non-inverting gain: R2 from the output to the inverting input, the leg from
        // there to ground.
        const int n = cx - 26, m = y + 35;
        TSchem::Wire(c_, x, y, cx - 20, y);
        TSchem::Path(c_, {{cx - 20, y + 20}, {n, y + 20}, {n, m}});
        TSchem::DrawNode(c_, r, n, m, cx + 26, m);
        TSchem::Wire(c_, cx + 26, m, cx + 26, y + 10);
        Name(Comp(b, S::R2).Name(), cx, m + 7, TAlign::Center | TAlign::Top);
        const bool resonant = type == 7;
        TSchem::DrawNode(c_, resonant ? TNode::Series({r, l, c}) : TNode::Series({r, c}), n, m, n, y + 125);
        TSchem::Dot(c_, n, m);
        TSchem::Ground(c_, n, y + 125);
        int ny = y + 50;
        for (S s : resonant ? std::vector<S>{S::R1, S::L, S::C1} : std::vector<S>{S::R1, S::C1}) {
            Name(Comp(b, s).Name(), n - 10, ny, TAlign::Right | TAlign::Top);
            ny += kNamePitch;
        }
        output();
        return;
    }
    case TActiveType::TrebleCut:
    case TActiveType::QCut: {
        // A divider, R2 in series and the leg to ground, and a buffer.
        TSchem::DrawNode(c_, r, x, y, x + 45, y);
        above(S::R2, x + 23);
        TSchem::Wire(c_, x + 45, y, cx - 20, y);
        const bool resonant = type == 8;
        TSchem::DrawNode(c_, resonant ? TNode::Series({r, l, c}) : TNode::Series({r, c}), x + 52, y, x + 52, y + 100);
        TSchem::Dot(c_, x + 52, y);
        TSchem::Ground(c_, x + 52, y + 100);
        int ny = y + 20;
        for (S s : resonant ? std::vector<S>{S::R1, S::L, S::C1} : std::vector<S>{S::R1, S::C1}) {
            Name(Comp(b, s).Name(), x + 42, ny, TAlign::Right | TAlign::Top);
            ny += kNamePitch;
        }
        follower();
        output();
        return;
    }
    }
}

// The largest cursor x at which the driver group still fits its row.
int GroupLimit(const TDriverGroup& g, bool active)
{
    const int n = g.Count();
    const TConnection k = g.Connection();
    int limit = 800;
    if (n == 1)
        limit = 680;
    else if (n == 2)
        limit = k == TConnection::Series ? 550 : 630;
    else if (n == 3)
        limit = k == TConnection::Series ? 420 : 580;
    else if (n == 4)
        limit = k == TConnection::Series ? 290 : k == TConnection::Parallel ? 530 : 450;
    return active ? limit - 50 : limit;
}

void TPage::DriverShunt(int position, int x, int top, int bottom)
{
    const TBranchA* b = net_.Branch(position);
    if (b == nullptr || !b->InUse() || !net_.Drivers().ShuntExists(position))
        return;
    const TPassiveShape shape = PassiveShape(b->Type());
    TSchem::DrawNode(c_, shape.node, x, top, x, bottom);
    TSchem::Dot(c_, x, top);
    TSchem::Dot(c_, x, bottom);
    int ny = y_ + kLower + 16;
    for (TCompSlot s : shape.order) {
        Name(b->Comp(s).Name(), x, ny, TAlign::Center | TAlign::Top);
        ny += kNamePitch;
    }
}

void TPage::DriverGroup()
{
    const TDriverGroup& g = net_.Drivers();
    const bool active = net_.Active();
    if (x_ > GroupLimit(g, active))
        ReturnConductor(150, kDriverRowPitch);
    const int x = x_, y = y_, low = y + kLower;
    int feed = x;
    if (active) {
        TSchem::Wire(c_, x, y, x + 15, y);
        TSchem::Amplifier(c_, x + 35, y, true);
        feed = x + 55;
    }
    const int n = std::clamp(g.Count(), 1, TDriverGroup::kDrivers);
    const TConnection k = n == 4 ? g.Connection()
                                 : (g.Connection() == TConnection::Pairs ? TConnection::Series : g.Connection());
    static constexpr int kSeries[4] = {120, 250, 380, 510}, kParallel[4] = {120, 170, 220, 270},
                         kPairs[4] = {120, 170, 300, 350};
    const int* offsets = k == TConnection::Series ? kSeries : k == TConnection::Parallel ? kParallel : kPairs;
    std::array<int, 4> dx{};
    for (int d = 0; d < n; ++d)
        dx[std::size_t(d)] = x + offsets[d] - (active ? 10 : 0);
    const auto kind = static_cast<TSchem::TDriverKind>(static_cast<int>(g.size));
    const int last = dx[std::size_t(n - 1)];
    TSchem::Wire(c_, x, low, last, low);
    TSchem::Ground(c_, x, low);

    std::array<int, 4> tops{}, bottoms{};
    switch (k) {
    case TConnection::Series:
        TSchem::Wire(c_, feed, y, dx[0], y);
        for (int d = 0; d < n; ++d) {
            const auto i = std::size_t(d);
            tops[i] = d == 0 ? y : y + 10;
            bottoms[i] = d == n - 1 ? low : y + 100;
            if (d + 1 < n) {
                const int link = dx[i] + 65;
                TSchem::Path(c_, {{dx[i], y + 100}, {link, y + 100}, {link, y + 10}, {dx[i + 1], y + 10}});
            }
        }
        for (int d = 0; d < n; ++d) {
            const auto i = std::size_t(d);
            if (net_.Drivers().ShuntExists(TDriverGroup::kFirstShunt + d) &&
                net_.Branch(TDriverGroup::kFirstShunt + d)->InUse()) {
                const int sx = dx[i] - 30;
                if (bottoms[i] != low)
                    TSchem::Wire(c_, sx, bottoms[i], dx[i], bottoms[i]);
                if (d == 0 && active && sx < feed)
                    continue;
                DriverShunt(TDriverGroup::kFirstShunt + d, sx, tops[i], bottoms[i]);
            }
        }
        break;
    case TConnection::Parallel:
        TSchem::Wire(c_, feed, y, last, y);
        for (int d = 0; d < n; ++d) {
            tops[std::size_t(d)] = y;
            bottoms[std::size_t(d)] = low;
            if (d + 1 < n) {
                TSchem::Dot(c_, dx[std::size_t(d)], y);
                TSchem::Dot(c_, dx[std::size_t(d)], low);
            }
        }
        DriverShunt(TDriverGroup::kFirstShunt, dx[0] - 30, y, low);
        break;
    case TConnection::Pairs:
        TSchem::Wire(c_, feed, y, dx[1], y);
        TSchem::Wire(c_, dx[0] - 30, y + 100, dx[1], y + 100);
        TSchem::Path(c_, {{dx[1], y + 100}, {dx[1] + 65, y + 100}, {dx[1] + 65, y + 10}, {dx[3], y + 10}});
        for (int d = 0; d < 4; ++d) {
            tops[std::size_t(d)] = d < 2 ? y : y + 10;
            bottoms[std::size_t(d)] = d < 2 ? y + 100 : low;
        }
        TSchem::Dot(c_, dx[0], y);
        TSchem::Dot(c_, dx[0], y + 100);
        TSchem::Dot(c_, dx[2], y + 10);
        TSchem::Dot(c_, dx[2], low);
        DriverShunt(TDriverGroup::kFirstShunt, dx[0] - 30, y, y + 100);
        DriverShunt(TDriverGroup::kFirstShunt + 1, dx[2] - 30, y + 10, low);
        break;
    }
    for (int d = 0; d < n; ++d) {
        const auto i = std::size_t(d);
        TSchem::Wire(c_, dx[i], tops[i], dx[i], y + 20);
        TSchem::Wire(c_, dx[i], y + 90, dx[i], bottoms[i]);
        TSchem::Driver(c_, kind, dx[i], y + 20, y + 90, g.invert);
        char label[40];
        std::snprintf(label, sizeof label, "D%d%d", net_.Index() + 1, d + 1);
        Name(label, dx[i] + 6, tops[i] + 2, TAlign::Left | TAlign::Top);
    }
}

void TPage::Circuit()
{
    const bool active = net_.Active();
    x_ = 140;
    y_ = active ? 100 : 120;
    if (active) {
        TSchem::Dot(c_, x_, y_);
    } else {
        TSchem::Terminal(c_, x_, y_, true);
        TSchem::Terminal(c_, x_, y_ + kLower, false);
        TSchem::Ground(c_, x_, y_ + kLower + 4);
    }
    bool seriesDrewNothing = true;
    for (int p = 0; p < TNetA::kLadder; ++p) {
        const TBranchA* b = net_.Branch(p);
        if (b == nullptr)
            continue;
        if (active) {
            const int w = kActiveWidth[std::clamp(b->Type(), 0, kActiveTypes - 1)];
            if (w > 0) {
                Section(*b);
                x_ += w;
            }
        } else if (b->Placement() == TPlacement::Series) {
            seriesDrewNothing = !b->InUse();
            if (b->InUse())
                PassiveSeries(*b);
        } else if (b->InUse()) {
            PassiveShunt(*b, seriesDrewNothing);
        }
        if (x_ > kWrapX)
            ReturnConductor(140, kRowPitch);
    }
    DriverGroup();
}

// A label in one colour and its value right after it in another.
int Pair(TCanvas& canvas, int x, int y, const std::string& label, TColor labelColor, const std::string& value,
         TColor valueColor, int right)
{
    canvas.SetTextColor(labelColor);
    canvas.Text(x, y, label, TAlign::Left | TAlign::Top);
    const int vx = x + canvas.TextWidth(label) + 4;
    canvas.SetTextColor(valueColor);
    const std::string shown = TSchem::Fit(canvas, value, right - vx);
    if (!shown.empty())
        canvas.Text(vx, y, shown, TAlign::Left | TAlign::Top);
    return vx + canvas.TextWidth(shown);
}

} // namespace

void TNetA::DrawSchematic(TCanvas& canvas)
{
    const bool active = Active();
    const int right = active ? 799 : 849;
    TPage page(canvas, *this);
    page.Circuit();
    const int y = page.Y() + 200;

    // Title.
    canvas.SetFont(TSchem::TitleFont());
    canvas.SetTextColor(TColors::Black);
    char net[32];
    std::snprintf(net, sizeof net, "  Net %d", index_ + 1);
    const std::string title = owner_.Context().General().Title() + net;
    canvas.Text(400, 5, TSchem::Fit(canvas, title, 780), TAlign::Center | TAlign::Top);

    // The drivers' description.
    canvas.SetFont(TSchem::SmallFont());
    const int x = 130, descRight = 480;
    int dy = y;
    if (active) {
        const double db = 20.0 * std::log10(std::max(gain_, 1e-12));
        Pair(canvas, x, dy, "Rel amp. gain", TColors::Black, Formatted("%2.1f", db) + " dB", TColors::Black, descRight);
        dy += 15;
    }
    const TDriverGroup& g = drivers_;
    for (int d = 0; d < g.Count(); ++d) {
        const TDriverA& drv = g.Driver(d);
        char head[80];
        std::snprintf(head, sizeof head, "Driver unit %d (D%d%d)", d + 1, index_ + 1, d + 1);
        canvas.SetTextColor(TColors::Black);
        canvas.Text(x, dy, head, TAlign::Left | TAlign::Top);
        auto fileValue = [&](const TMeasData& data, bool sameAs, bool impedance, std::string& text) {
            if (d > 0 && sameAs) {
                text = "Same as driver 1";
                return TColors::Grey;
            }
            if (!data.FileName().empty()) {
                text = TSchem::BaseName(data.FileName());
                return TColors::Black;
            }
            text = impedance && active ? "Not in use, " + Formatted("%2.2f", g.re) + " ohm load simulated"
                                       : std::string("Not in use");
            return TColors::Grey;
        };
        std::string text;
        TColor col = fileValue(drv.spl, drv.splSameAs, false, text);
        Pair(canvas, x, dy + 11, "SPL data file :", TColors::Blue, text, col, descRight);
        col = fileValue(drv.impedance, drv.impedanceSameAs, true, text);
        Pair(canvas, x, dy + 22, "Impedance data file :", TColors::Blue, text, col, descRight);
        const std::string pos = Formatted("%2.1f", drv.x * 1000.0) + "," + Formatted("%2.1f", drv.y * 1000.0) + "," +
                                Formatted("%2.1f", drv.z * 1000.0);
        const int end = Pair(canvas, x, dy + 33, "Position (x,y,z)", TColors::Blue, pos, TColors::Black,
                             descRight - 20);
        canvas.SetTextColor(TColors::Blue);
        canvas.Text(end + 3, dy + 33, "mm", TAlign::Left | TAlign::Top);
        dy += 45;
    }

    // The user note beside the description.
    const int bottom = std::max(1190, std::max(dy, y + 60) + 10);
    canvas.SetFont(TSchem::LabelFont());
    canvas.SetTextColor(TColors::Black);
    if (schematicNote != nullptr)
        TSchem::WrapText(canvas, *schematicNote, TRect{500, y, 780, std::max(1100, bottom - 10)});

    // Frame of double rules.
    canvas.SetPen(TLineStyle{TSchem::kRule, 1, TDash::Solid});
    auto rule = [&](int x0, int y0, int x1, int y1) {
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
    };
    for (int k : {0, 2}) {
        rule(10, 40 + k, right, 40 + k);
        rule(120 + k, 40, 120 + k, y - 10);
        rule(10, y - 10 + k, right, y - 10 + k);
        rule(490 + k, y - 10, 490 + k, bottom);
    }
    schematicBottom_ = bottom;
}

void TNetA::DrawLabels(TCanvas& canvas)
{
    canvas.SetFont(TSchem::LabelFont());
    canvas.SetTextColor(TColors::Black);
    int y = 90;
    auto list = [&](const TBranchA& b) {
        std::array<const TCompA*, TBranchA::kMaxListed> comps{};
        const int n = b.ListedComponents(comps);
        for (int i = 0; i < n; ++i) {
            const TCompA& c = *comps[std::size_t(i)];
            const std::string value = c.Passive() ? c.SchematicText() : c.DisplayText();
            canvas.Text(20, y, c.Name(), TAlign::Left | TAlign::Top);
            const int valueRight = std::max(77, 20 + canvas.TextWidth(c.Name()) + 3 + canvas.TextWidth(value));
            canvas.Text(valueRight, y, value, TAlign::Right | TAlign::Top);
            canvas.Text(valueRight + 3, y, c.Unit(), TAlign::Left | TAlign::Top);
            y += 15;
        }
    };
    for (int p = 0; p < kLadder; ++p)
        if (const TBranchA* b = Branch(p); b != nullptr && b->InUse())
            list(*b);
    std::array<int, kDrivers> shunts{};
    const int count = drivers_.ShuntPositions(shunts);
    for (int i = 0; i < count; ++i) {
        const TBranchA* b = Branch(shunts[std::size_t(i)]);
        if (b == nullptr || !b->InUse())
            continue;
        list(*b);
        if (shunts[std::size_t(i)] == kFirstShunt)
            y += 3;
    }
    schematicBottom_ = std::max(schematicBottom_, y + 10);
}
