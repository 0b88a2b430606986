// The unit conversion tool: fields, conversions both ways, its menu command.
#include "shell/TYankee.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TYankee, OpensWithItsEightInitialValues)
{
    THeadlessHost host;
    TYankee y(host);
    y.Open();
    EXPECT_EQ(y.title, "Yankee tool !");
    EXPECT_EQ(y.HelpFile(), "yankee.txt");
    struct Row {
        int id;
        const char* unit;
        const char* shown;
    } rows[] = {
        {TYankee::Millimetre, "mm", "1.000"},     {TYankee::Inch, "in", "0.0394"},
        {TYankee::SquareCentimetre, "cm^2", "100.00"}, {TYankee::SquareInch, "sq. in", "15.500"},
        {TYankee::Litre, "l", "10.00"},           {TYankee::CubicFoot, "cu. ft", "0.3531"},
        {TYankee::SquareMetre, "m^2", "1.000"},   {TYankee::SquareFoot, "sq. ft", "10.76"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        EXPECT_EQ(y.Field(r.id).unit, r.unit);
        EXPECT_EQ(y.Field(r.id).EditText(), r.shown);
    }
    EXPECT_EQ(y.Fields().size(), 8u);
}

struct ConvertRow {
    int id;
    const char* typed;
    double partnerValue;
    const char* partnerShown;
};

TEST(TYankee, ACommittedValueSetsItsPartner)
{
    const ConvertRow rows[] = {
        {TYankee::Inch, "25.4", 645.16, "645.160"},
        {TYankee::Millimetre, "1", 0.03937007874015748, "0.0394"},
        {TYankee::Millimetre, "1000", 39.37007874015748, "39.3701"},
        {TYankee::SquareCentimetre, "1", 0.1550003100006200063, "0.155"},
        {TYankee::SquareInch, "1", 6.4516, "6.45"},
        {TYankee::Litre, "28,316847", 1.0, "1.0000"},
        {TYankee::CubicFoot, "1", 28.316847, "28.32"},
        {TYankee::SquareMetre, "1", 10.763910416709722, "10.76"},
        {TYankee::SquareFoot, "100", 9.290304, "9.290"},
    };
    for (const ConvertRow& r : rows) {
        SCOPED_TRACE(r.typed);
        THeadlessHost host;
        TYankee y(host);
        y.Open();
        int partner = TYankee::Partner(r.id);
        y.Type(r.id, r.typed);
        y.FocusField(partner);
        EXPECT_NEAR(y.Dbl(partner).Value(), r.partnerValue, 1e-9 * r.partnerValue);
        EXPECT_EQ(y.Field(partner).EditText(), r.partnerShown);
        EXPECT_EQ(host.Beeps(), 0);
    }
}

TEST(TYankee, PairsConvertBackAndRangesDescribeTheSameQuantity)
{
    const int metric[] = {TYankee::Millimetre, TYankee::SquareCentimetre, TYankee::Litre, TYankee::SquareMetre};
    THeadlessHost host;
    TYankee y(host);
    for (int m : metric) {
        SCOPED_TRACE(m);
        int i = TYankee::Partner(m);
        EXPECT_EQ(TYankee::Partner(i), m);
        EXPECT_NEAR(TYankee::Factor(m) * TYankee::Factor(i), 1.0, 1e-8);
        const TDblEdit& a = y.Field(m).dbl;
        const TDblEdit& b = y.Field(i).dbl;
        EXPECT_NEAR(b.Minimum(), a.Minimum() * TYankee::Factor(m), 1e-12 * b.Minimum());
        EXPECT_NEAR(b.Maximum(), a.Maximum() * TYankee::Factor(m), 1e-12 * b.Maximum());
        EXPECT_NEAR(b.Value(), a.Value() * TYankee::Factor(m), 1e-12 * b.Value());
    }
    EXPECT_EQ(TYankee::Partner(999), 0);
    EXPECT_EQ(TYankee::Factor(999), 0.0);
}

TEST(TYankee, AValueOutOfRangeIsRefusedAndThePartnerKept)
{
    THeadlessHost host;
    TYankee y(host);
    y.Open();
    y.Type(TYankee::Millimetre, "2000");
    y.FocusField(TYankee::Inch);
    EXPECT_EQ(host.Beeps(), 1);
    EXPECT_EQ(y.Field(TYankee::Millimetre).EditText(), "1.000");
    EXPECT_EQ(y.Field(TYankee::Inch).EditText(), "0.0394");
}

TEST(TYankee, ArrowKeysConvertAtOnce)
{
    THeadlessHost host;
    TYankee y(host);
    y.Open();
    y.Key(TYankee::Litre, TEditKey::Up); // 10 l * 1.05
    EXPECT_NEAR(y.Dbl(TYankee::CubicFoot).Value(), 10.5 * 0.03531466621266132, 1e-12);
}

TEST(TYankee, ItsMenuCommandIsDisabledWhileOpen)
{
    THeadlessHost host;
    TYankee y(host);
    y.Open();
    EXPECT_EQ(host.CommandEnabled(TCmd::YankeeTool), false);
    EXPECT_TRUE(host.IsDialogOpen(y));
    y.Escape();
    EXPECT_EQ(host.CommandEnabled(TCmd::YankeeTool), true);
    EXPECT_FALSE(host.IsDialogOpen(y));
}

TEST(TYankee, ReopeningStartsFromTheInitialValues)
{
    THeadlessHost host;
    TYankee y(host);
    y.Open();
    y.Type(TYankee::Inch, "25.4");
    y.RequestClose();
    EXPECT_EQ(y.Field(TYankee::Millimetre).EditText(), "645.160");
    y.Open();
    EXPECT_EQ(y.Field(TYankee::Millimetre).EditText(), "1.000");
    EXPECT_EQ(y.Field(TYankee::Inch).EditText(), "0.0394");
    // Opening an open tool keeps what it shows.
    y.Type(TYankee::Inch, "2");
    y.FocusField(TYankee::Millimetre);
    y.Open();
    EXPECT_EQ(y.Field(TYankee::Millimetre).EditText(), "50.800");
}

TEST(TYankee, HelpOpensYankeeTxt)
{
    THeadlessHost host;
    TYankee y(host);
    y.Open();
    y.Help();
    ASSERT_EQ(host.HelpOpened().size(), 1u);
    EXPECT_EQ(host.HelpOpened()[0], "yankee.txt");
}

} // namespace
