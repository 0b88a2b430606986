// The simple network's band of the project schematic: the ladder between the amplifier
// terminals and the drivers, then the values, the network's name and the drivers'
// description on top.

#include "filter/TNet.h"
#include "filter/TSchematicKit.h"
#include "ui/TNumberText.h"

#include <cstdio>

namespace {

using TSchem::TNode;
using TSchem::TPart;

// Left edge of each branch position along the band.
constexpr int kPositionX[TNet::kBranches] = {100, 200, 200, 300, 300, 400, 500, 540};
// A series cell spans this much of the upper conductor.
constexpr int kSeriesCell = 100;
// The drivers stand this far right of the Zobel position.
constexpr int kDriverOffset[2] = {87, 147};
// Vertical extent of a band: conductors 150 apart, labels and the drivers' text below.
constexpr int kBandHeight = 150;
// Shunt parts sit low, under the value texts of the series positions and above their own.
constexpr int kShuntTop = 50, kShuntBottom = 100;
constexpr int kDescriptionTop = 168, kDescriptionPitch = 11;

TNode NodeOf(TBranchType type)
{
    const TNode r = TNode::Of(TPart::Resistor), l = TNode::Of(TPart::Inductor), c = TNode::Of(TPart::Capacitor);
    switch (type) {
    case TBranchType::None: return TNode::Series({});
    case TBranchType::R: return r;
    case TBranchType::L: return l;
    case TBranchType::C: return c;
    case TBranchType::RPlusC: return TNode::Series({r, c});
    case TBranchType::LPlusC: return TNode::Series({l, c});
    case TBranchType::LParC: return TNode::Parallel({l, c});
    case TBranchType::RParL: return TNode::Parallel({r, l});
    case TBranchType::RParC: return TNode::Parallel({r, c});
    case TBranchType::RParLParC: return TNode::Parallel({r, l, c});
    }
    return TNode::Series({});
}

TSchem::TDriverKind DriverKindOf(int symbol)
{
    return symbol == 253   ? TSchem::TDriverKind::Large
           : symbol == 250 ? TSchem::TDriverKind::Small
                           : TSchem::TDriverKind::Medium;
}

std::string Formatted(const char* format, double value) { return TNumberText::FormatDouble(format, value); }

// A line of the drivers' description, cut to the column.
void DescriptionLine(TCanvas& canvas, int x, int y, int width, const std::string& text)
{
    canvas.Text(x, y, TSchem::Fit(canvas, text, width), TAlign::Left | TAlign::Top);
}

std::string FileText(const TMeasData& data)
{
    return data.FileName().empty() ? std::string("Not in use") : TSchem::BaseName(data.FileName());
}

} // namespace

void TNet::DrawSchematic(TCanvas& canvas)
{
    const int y0 = SchematicTop(), y1 = y0 + kBandHeight;
    const int firstX = kPositionX[0];
    // Amplifier terminals left of the first branch.
    TSchem::Wire(canvas, firstX - 30, y0, firstX, y0);
    TSchem::Wire(canvas, firstX - 30, y1, firstX, y1);
    TSchem::Terminal(canvas, firstX - 34, y0, true);
    TSchem::Terminal(canvas, firstX - 34, y1, false);

    const int driverX1 = kPositionX[kZobel] + kDriverOffset[0];
    const int driverX2 = kPositionX[kZobel] + kDriverOffset[1];
    const bool two = driverCount >= 2;
    // Where the conductors end: a series pair takes the upper one to the first driver and
    // the lower one to the second.
    const int upperEnd = two && !seriesConnection ? driverX2 : driverX1;
    const int lowerEnd = two ? driverX2 : driverX1;

    int upperX = firstX;
    for (int i = 0; i < kBranches; ++i) {
        const TBranch& b = Branch(i);
        const int x = kPositionX[i];
        if (b.Placement() == TPlacement::Series) {
            if (x > upperX)
                TSchem::Wire(canvas, upperX, y0, x, y0);
            if (b.Type() == TBranchType::None)
                TSchem::Wire(canvas, x, y0, x + kSeriesCell, y0);
            else
                TSchem::DrawNode(canvas, NodeOf(b.Type()), x, y0, x + kSeriesCell, y0, true);
            upperX = x + kSeriesCell;
        } else if (b.Type() != TBranchType::None) {
            TSchem::Wire(canvas, x, y0, x, y0 + kShuntTop);
            TSchem::DrawNode(canvas, NodeOf(b.Type()), x, y0 + kShuntTop, x, y0 + kShuntBottom);
            TSchem::Wire(canvas, x, y0 + kShuntBottom, x, y1);
            TSchem::Dot(canvas, x, y0);
            TSchem::Dot(canvas, x, y1);
        }
    }
    if (upperEnd > upperX)
        TSchem::Wire(canvas, upperX, y0, upperEnd, y0);
    TSchem::Wire(canvas, firstX, y1, lowerEnd, y1);

    const auto kind = DriverKindOf(DriverSymbol());
    const int top = y0 + 20, bottom = y1 - 20;
    if (!two) {
        TSchem::Wire(canvas, driverX1, y0, driverX1, top);
        TSchem::Wire(canvas, driverX1, bottom, driverX1, y1);
        TSchem::Driver(canvas, kind, driverX1, top, bottom, invertPolarity);
        return;
    }
    if (seriesConnection) {
        // The first driver's lower terminal feeds the second one's upper terminal.
        const int link = (driverX1 + driverX2) / 2 + 6;
        TSchem::Wire(canvas, driverX1, y0, driverX1, top);
        TSchem::Path(canvas, {{driverX1, bottom},
                              {driverX1, y1 - 8},
                              {link, y1 - 8},
                              {link, y0 + 8},
                              {driverX2, y0 + 8},
                              {driverX2, top}});
        TSchem::Wire(canvas, driverX2, bottom, driverX2, y1);
    } else {
        for (int x : {driverX1, driverX2}) {
            TSchem::Wire(canvas, x, y0, x, top);
            TSchem::Wire(canvas, x, bottom, x, y1);
        }
        TSchem::Dot(canvas, driverX1, y0);
        TSchem::Dot(canvas, driverX1, y1);
    }
    TSchem::Driver(canvas, kind, driverX1, top, bottom, invertPolarity);
    TSchem::Driver(canvas, kind, driverX2, top, bottom, invertPolarity);
}

void TNet::DrawLabels(TCanvas& canvas)
{
    const int y0 = SchematicTop();
    canvas.SetTextColor(TColors::Black);
    canvas.SetFont(TSchem::NameFont());
    canvas.Text(50, y0 - 22, Name(), TAlign::Left | TAlign::Bottom);

    canvas.SetFont(TSchem::LabelFont());
    for (int i = 0; i < kBranches; ++i) {
        const TBranch& b = Branch(i);
        if (b.Type() == TBranchType::None)
            continue;
        int x = kPositionX[i] + 10;
        int y = y0 + (b.Placement() == TPlacement::Series ? 20 : 104);
        if (i == kPadShunt)
            x -= 100;
        if (b.Type() == TBranchType::RParLParC)
            x += 20;
        for (const TComp* c : {&b.R(), &b.C(), &b.L()}) {
            if (!c->inUse)
                continue;
            const char* unit = c->Kind() == TCompKind::Resistor    ? "Ohm"
                               : c->Kind() == TCompKind::Capacitor ? "uF"
                                                                   : "mH";
            const std::string value = c->SchematicText();
            canvas.Text(x, y, c->Name(), TAlign::Left | TAlign::Top);
            // The value ends at a fixed column unless the name leaves it too little room.
            const int right = std::max(x + 50, x + canvas.TextWidth(c->Name()) + 4 + canvas.TextWidth(value));
            canvas.Text(right, y, value, TAlign::Right | TAlign::Top);
            canvas.Text(right + 2, y, unit, TAlign::Left | TAlign::Top);
            y += 15;
        }
    }

    // The drivers' description, one column per driver.
    canvas.SetFont(TSchem::SmallFont());
    const bool two = driverCount >= 2;
    int y = y0 + kDescriptionTop;
    const int col1 = 50, col2 = 410, width1 = two ? col2 - col1 - 10 : 640, width2 = 700 - col2;
    if (two) {
        DescriptionLine(canvas, col1, y, width1, "Driver unit 1");
        DescriptionLine(canvas, col2, y, width2, "Driver unit 2");
        y += kDescriptionPitch;
    }
    const TNetDriver& d1 = Driver(0);
    int ly = y;
    DescriptionLine(canvas, col1, ly, width1, "SPL data file : " + FileText(d1.spl));
    ly += kDescriptionPitch;
    DescriptionLine(canvas, col1, ly, width1, "Impedance data file : " + FileText(d1.impedance));
    ly += kDescriptionPitch;
    DescriptionLine(canvas, col1, ly, width1, "Re: " + Formatted("%2.2f", re) + " Ohm");
    ly += kDescriptionPitch;
    DescriptionLine(canvas, col1, ly, width1, "Le: " + Formatted("%2.3f", le * 1000.0) + " mH");
    ly += kDescriptionPitch;
    DescriptionLine(canvas, col1, ly, width1, "Rex: " + Formatted("%2.2f", rex) + " Ohm");
    ly += kDescriptionPitch;
    auto position = [](const TNetDriver& d) {
        return "Position (x,y,z) mm " + Formatted("%2.1f", d.x * 1000.0) + "," + Formatted("%2.1f", d.y * 1000.0) +
               "," + Formatted("%2.1f", d.z * 1000.0) + " mm";
    };
    DescriptionLine(canvas, col1, ly, width1, position(d1));
    if (two) {
        const TNetDriver& d2 = Driver(1);
        DescriptionLine(canvas, col2, y, width2, "SPL data file : " + FileText(d2.spl));
        DescriptionLine(canvas, col2, y + kDescriptionPitch, width2, "Impedance data file : " + FileText(d2.impedance));
        DescriptionLine(canvas, col2, y + 2 * kDescriptionPitch, width2, position(d2));
    }
    // The rule under the band.
    canvas.SetPen(TLineStyle{TSchem::kRule, 1, TDash::Solid});
    canvas.MoveTo(40, y0 + 246);
    canvas.LineTo(700, y0 + 246);
}
