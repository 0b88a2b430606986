// The value and range texts tonvek-cli fields prints, taken from dialog field
// descriptions of every kind, including those no box dialog has yet (undef. markers,
// two-value fields, choices with mnemonics, text fields).

#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

namespace {

class FieldTextTest : public ::testing::Test {
protected:
    THeadlessHost host;
    TDialogModel dialog{host, "Test"};
};

TEST_F(FieldTextTest, ValuesAndRangesPerKind)
{
    dialog.AddDouble(1, "Volume", "l", "%2.1f", 0.1, 10000, 12.25);
    dialog.AddDouble(2, "Vas", "l", "%3.2f", 0.0, 1e6, 0.0).Undefined(0.0);
    dialog.AddDouble(3, "Huge", "", "%g", -1e300, 1e300, 1.5);
    dialog.AddDouble(4, "Pair", "", "%2.1f", 1, 5, 2).TwoValue(0.7);
    dialog.AddLong(5, "Points", "", "%ld", 10, 500, 200);
    dialog.AddLong(6, "Order", "", "%ld", -1, 8, -1).Undefined(-1);
    dialog.AddCheck(7, "", "&Yes", true);
    dialog.AddRadio(8, "Wiring", {"&Series", "&Parallel", "R&&D"}, 1);
    dialog.AddCombo(9, "Nothing chosen", {"A", "B"}, -1);
    dialog.AddString(10, "Model", 99, "W18");
    dialog.AddButton(11, "&Browse");
    dialog.AddText(12, "Status", "not in use");

    struct Row {
        int id;
        const char* shown;
        const char* accepted;
    };
    const Row rows[] = {
        {1, "12.2", "0.1 .. 10000"}, // the format rounds half to even, as printf does
        {2, "undef.", "0 .. 1000000, 0: undef."},
        {3, "1.5", "-1e+300 .. 1e+300"},
        {4, "2.0;0.7", "1 .. 5 (value;second, second 0.1 .. 9.9)"},
        {5, "200", "10 .. 500"},
        {6, "undef.", "-1 .. 8, -1: undef."},
        {7, "on", "on|off"},
        {8, "Parallel", "Series|Parallel|R&D"},
        {9, "", "A|B"},
        {10, "W18", "at most 99 characters"},
        {11, "", ""},
        {12, "", ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(dialog.Field(r.id).ShownValue(), r.shown) << r.id;
        EXPECT_EQ(dialog.Field(r.id).AcceptedText(), r.accepted) << r.id;
    }
    // The range follows the field when its limits move (the setup dialog links start and stop).
    dialog.Long(5).SetRange(20, 400);
    EXPECT_EQ(dialog.Field(5).AcceptedText(), "20 .. 400");
}

TEST(PlainCaption, DropsMnemonicMarksOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"&Yes", "Yes"}, {"S&ep. sources", "Sep. sources"}, {"R&&D", "R&D"},
        {"&&&x", "&x"},  {"trailing&", "trailing&"},        {"", ""},
    };
    for (const auto& [caption, plain] : cases)
        EXPECT_EQ(PlainCaption(caption), plain) << caption;
}

} // namespace
