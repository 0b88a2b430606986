// Branch impedances of the ten types against their circuits, component names and the
// schematic value texts.
#include "filter/TBranch.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using T = TBranchType;

TEST(Branch, ImpedanceOfEveryTypeMatchesItsCircuit)
{
    const double r = 6.0, l = 0.002, rl = 0.4, c = 10e-6;
    const double w = 2 * M_PI * 1000.0;
    const std::complex<double> zr(r, 0), zl(rl, w * l), zc(0, -1 / (w * c));
    const auto par = [](std::complex<double> a, std::complex<double> b) { return 1.0 / (1.0 / a + 1.0 / b); };
    struct Row {
        T type;
        TPlacement placement;
        std::complex<double> z;
        const char* text;
    };
    const Row rows[] = {
        {T::None, TPlacement::Series, {0, 0}, " None"},
        {T::None, TPlacement::Shunt, {1e9, 0}, " None"},
        {T::R, TPlacement::Series, zr, " R"},
        {T::L, TPlacement::Series, zl, " L"},
        {T::C, TPlacement::Shunt, zc, " C"},
        {T::RPlusC, TPlacement::Shunt, zr + zc, " R + C"},
        {T::LPlusC, TPlacement::Series, zl + zc, " L + C"},
        {T::LParC, TPlacement::Shunt, par(zl, zc), " L // C"},
        {T::RParL, TPlacement::Series, par(zr, zl), " R // L"},
        {T::RParC, TPlacement::Series, par(zr, zc), " R // C"},
        {T::RParLParC, TPlacement::Series, par(par(zr, zl), zc), " R // L // C"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TBranch b(1, 4, row.placement);
        b.R().value = r;
        b.L().value = l;
        b.L().seriesResistance = rl;
        b.C().value = c;
        b.SetType(row.type);
        EXPECT_STREQ(BranchTypeText(row.type), row.text);
        const std::complex<double> z = b.ImpedanceAt(w);
        EXPECT_NEAR(std::abs(z - row.z), 0.0, 1e-9 * std::max(1.0, std::abs(row.z)));
        // In-use flags follow the letters of the type.
        const std::string text = row.text;
        EXPECT_EQ(b.R().inUse, text.find('R') != std::string::npos);
        EXPECT_EQ(b.L().inUse, text.find('L') != std::string::npos);
        EXPECT_EQ(b.C().inUse, text.find('C') != std::string::npos);
    }
}

TEST(Branch, UpdateFillsTheGridOnlyWhenDirty)
{
    const TFilterGrid grid;
    TBranch b(2, 0, TPlacement::Series);
    b.SetType(T::L);
    b.L().value = 0.001;
    b.L().seriesResistance = 0.0;
    b.Update(grid);
    EXPECT_FALSE(b.Dirty());
    EXPECT_NEAR(b.Impedance()[499].imag(), grid.Omega(499) * 0.001, 1e-9);
    b.L().value = 0.002; // not marked: the old impedance stays
    b.Update(grid);
    EXPECT_NEAR(b.Impedance()[499].imag(), grid.Omega(499) * 0.001, 1e-9);
    b.MarkDirty();
    b.Update(grid);
    EXPECT_NEAR(b.Impedance()[499].imag(), grid.Omega(499) * 0.002, 1e-9);
}

TEST(Branch, EmptyAndResonantPartsStayFinite)
{
    const double w = 2 * M_PI * 1000.0;
    for (int t = 0; t < kBranchTypes; ++t) {
        SCOPED_TRACE(BranchTypeText(static_cast<T>(t)));
        TBranch b(1, 1, TPlacement::Shunt);
        b.R().value = b.L().value = b.C().value = 0.0;
        b.L().seriesResistance = 0.0;
        b.SetType(static_cast<T>(t));
        const std::complex<double> z = b.ImpedanceAt(w);
        EXPECT_TRUE(std::isfinite(z.real()) && std::isfinite(z.imag()));
    }
    // An ideal tank exactly at resonance is an open circuit, not a division by zero.
    EXPECT_EQ(ParallelOf({0, 5}, {0, -5}), std::complex<double>(kOpenCircuit, 0));
    EXPECT_EQ(ParallelOf({0, 0}, {0, 0}), std::complex<double>(0, 0));
}

TEST(Comp, NamesUnitsAndLimits)
{
    const TComp r(TCompKind::Resistor, 1, 5), c(TCompKind::Capacitor, 3, 2), l(TCompKind::Inductor, 2, 8);
    EXPECT_EQ(r.Name(), "R15");
    EXPECT_EQ(c.Name(), "C32");
    EXPECT_EQ(l.Name(), "L28");
    EXPECT_STREQ(r.Unit(), "ohm");
    EXPECT_STREQ(c.Unit(), "uF");
    EXPECT_STREQ(l.Unit(), "mH");
    EXPECT_EQ(r.value, 1.0);
    EXPECT_EQ(c.value, 1e-6);
    EXPECT_EQ(l.value, 1e-3);
    EXPECT_EQ(l.seriesResistance, 0.5);
    EXPECT_FALSE(l.inUse);
    EXPECT_EQ(c.Maximum(), 1.0);
    EXPECT_EQ(l.Minimum(), 1e-6);
}

TEST(Comp, SchematicTextHasFewerDecimalsAsTheValueGrows)
{
    struct Row {
        TCompKind kind;
        double value;
        const char* text;
    };
    using K = TCompKind;
    const Row rows[] = {
        {K::Resistor, 150.0, "150"},        {K::Resistor, 100.0, "100"},       {K::Resistor, 12.34, "12.3"},
        {K::Resistor, 3.9905, "3.99"},      {K::Capacitor, 0.0022, "2200"},    {K::Capacitor, 0.00047, "470.0"},
        {K::Capacitor, 0.0000150, "15.00"}, {K::Capacitor, 4.688e-6, "4.688"}, {K::Inductor, 1.5, "1500;0.5"},
        {K::Inductor, 0.15, "150.0;0.5"},   {K::Inductor, 0.022, "22.00;0.5"}, {K::Inductor, 0.0006, "0.600;0.5"},
    };
    for (const Row& row : rows) {
        TComp c(row.kind, 1, 1);
        c.value = row.value;
        EXPECT_EQ(c.SchematicText(), row.text) << row.value;
    }
}

} // namespace
