// Real-number entry field rules: display, commit and refusal, two-value form, steps.
#include "ui/TDblEdit.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

namespace {

struct DisplayRow {
    const char* format;
    double value;
    std::optional<double> undefined;
    bool twoValue;
    double second;
    const char* shown;
};

TEST(TDblEdit, DisplaysValueWithFormatUndefinedMarkerAndSecondValue)
{
    const DisplayRow rows[] = {
        {"%2.3f", 1.0, std::nullopt, false, 0.5, "1.000"},
        {"%2.4f", 0.03937007874015748, std::nullopt, false, 0.5, "0.0394"},
        {"%3.2e", 0.000125, std::nullopt, false, 0.5, "1.25e-04"},
        {"%2.1f", 0.0, 0.0, false, 0.5, "undef."},
        {"%2.1f", 0.5, 0.0, false, 0.5, "0.5"},
        {"%2.1f", 3.0, std::nullopt, true, 0.5, "3.0;0.5"},
        {"%3.2f", 12.5, std::nullopt, true, 2.25, "12.50;2.2"},
        {"%2.1f", -1.0, -1.0, true, 0.5, "undef."},
        {"%s", 2.0, std::nullopt, false, 0.5, "2"}, // a wrong format never reads a wrong argument
    };
    for (const DisplayRow& r : rows) {
        SCOPED_TRACE(std::string(r.format) + " " + std::to_string(r.value));
        TDblEdit e(r.format, -1e9, 1e9, r.value);
        e.SetUndefined(r.undefined);
        e.SetSecondValue(r.second);
        e.SetTwoValue(r.twoValue);
        EXPECT_EQ(e.Display(), r.shown);
        EXPECT_EQ(e.Text(), r.shown);
    }
}

TEST(TDblEdit, ShowsADotWhateverTheLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
        GTEST_SKIP() << "no German locale installed";
    TDblEdit e("%2.2f", 0, 10, 1.5);
    std::string shown = e.Display();
    e.Edit("2.25");
    TEditResult r = e.Commit();
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(shown, "1.50");
    EXPECT_FALSE(r.beep);
    EXPECT_DOUBLE_EQ(e.Value(), 2.25);
}

struct CommitRow {
    const char* name;
    bool twoValue;
    const char* typed;
    double value;  // expected value after the commit
    double second; // expected second value
    bool beep;
    bool notify;
    const char* shown;
};

// Field: "%2.2f", range 0 .. 100, value 10, second value 0.5.
TEST(TDblEdit, CommitTakesOverOrRefusesTheTypedText)
{
    const CommitRow rows[] = {
        {"plain number", false, "42", 42, 0.5, false, true, "42.00"},
        {"comma as decimal point", false, "1,5", 1.5, 0.5, false, true, "1.50"},
        {"exponent", false, "1e2", 100, 0.5, false, true, "100.00"},
        {"leading plus", false, "+7.5", 7.5, 0.5, false, true, "7.50"},
        {"leading point", false, ".25", 0.25, 0.5, false, true, "0.25"},
        {"the limits themselves", false, "100", 100, 0.5, false, true, "100.00"},
        {"letters are refused", false, "abc", 10, 0.5, true, false, "10.00"},
        {"a space is refused", false, "5 ", 10, 0.5, true, false, "10.00"},
        {"semicolon only in the two-value form", false, "5;1", 10, 0.5, true, false, "10.00"},
        {"above the maximum", false, "100.5", 10, 0.5, true, false, "10.00"},
        {"below the minimum", false, "-1", 10, 0.5, true, false, "10.00"},
        {"no number at all", false, "", 10, 0.5, true, false, "10.00"},
        {"only a sign", false, "-", 10, 0.5, true, false, "10.00"},
        {"too large to hold", false, "1e999", 10, 0.5, true, false, "10.00"},
        {"characters after the number keep the value", false, "12-3", 10, 0.5, false, true, "10.00"},
        {"two values", true, "3;2.5", 3, 2.5, false, true, "3.00;2.5"},
        {"two values with commas", true, "1,5;2,5", 1.5, 2.5, false, true, "1.50;2.5"},
        {"first value only keeps the second", true, "3", 3, 0.5, false, true, "3.00;0.5"},
        {"empty text is zero", true, "", 0, 0.5, false, true, "0.00;0.5"},
        {"second value above 9.9", true, "3;12", 10, 0.5, true, false, "10.00;0.5"},
        {"second value below 0.1", true, "3;0.05", 10, 0.5, true, false, "10.00;0.5"},
        {"second value limits", true, "3;9.9", 3, 9.9, false, true, "3.00;9.9"},
        {"empty second part", true, "3;", 10, 0.5, true, false, "10.00;0.5"},
        {"first value out of range", true, "200;1", 10, 0.5, true, false, "10.00;0.5"},
        {"first value incomplete", true, "3x;1", 10, 0.5, true, false, "10.00;0.5"},
        {"first value with trailing sign", true, "3-;1", 10, 0.5, true, false, "10.00;0.5"},
    };
    for (const CommitRow& r : rows) {
        SCOPED_TRACE(r.name);
        TDblEdit e("%2.2f", 0, 100, 10);
        e.SetTwoValue(r.twoValue);
        e.FocusIn();
        e.Edit(r.typed);
        TEditResult result = e.Commit();
        EXPECT_DOUBLE_EQ(e.Value(), r.value);
        EXPECT_DOUBLE_EQ(e.SecondValue(), r.second);
        EXPECT_EQ(result.beep, r.beep);
        EXPECT_EQ(result.notify, r.notify);
        EXPECT_EQ(e.Text(), r.shown);
        EXPECT_FALSE(e.Modified());
        if (r.beep) {
            EXPECT_FALSE(e.Typed()); // a refusal clears the typed flag
        }
    }
}

TEST(TDblEdit, AnEmptyTwoValueFieldIsZeroOnlyWithinTheRange)
{
    TDblEdit e("%2.1f", 1, 100, 10);
    e.SetTwoValue(true);
    e.FocusIn();
    e.Edit("");
    TEditResult r = e.Commit();
    EXPECT_TRUE(r.beep);
    EXPECT_DOUBLE_EQ(e.Value(), 10);
    EXPECT_EQ(e.Text(), "10.0;0.5");
}

TEST(TDblEdit, UnmodifiedTextChangesNothing)
{
    TDblEdit e("%2.2f", 0, 100, 10);
    e.FocusIn();
    TEditResult r = e.Commit();
    EXPECT_FALSE(r.beep);
    EXPECT_FALSE(r.notify);
    EXPECT_DOUBLE_EQ(e.Value(), 10);
}

TEST(TDblEdit, TypingReplacesTheUndefinedMarker)
{
    TDblEdit e("%2.1f", 0, 100, 0);
    e.SetUndefined(0.0);
    ASSERT_EQ(e.Text(), "undef.");
    e.FocusIn();
    e.Edit("7,5");
    TEditResult r = e.Commit();
    EXPECT_TRUE(r.notify);
    EXPECT_EQ(e.Text(), "7.5");
    // Committing the untouched marker is not an entry.
    TDblEdit u("%2.1f", 0, 100, 0);
    u.SetUndefined(0.0);
    u.FocusIn();
    EXPECT_FALSE(u.Commit().beep);
    EXPECT_EQ(u.Text(), "undef.");
}

struct StepRow {
    const char* name;
    double minimum, maximum, value;
    TEditKey key;
    double expected;
    bool beep;
};

TEST(TDblEdit, ArrowKeysStepByTheFactorAndStopAtTheLimits)
{
    const StepRow rows[] = {
        {"up to the maximum", 0, 100, 99, TEditKey::Up, 100, true},
        {"up in range", 0, 100, 50, TEditKey::Up, 52.5, false},
        {"down in range", 0, 100, 52.5, TEditKey::Down, 50, false},
        {"down to the minimum", 10, 100, 10.2, TEditKey::Down, 10, true},
        {"at the maximum", 0, 100, 100, TEditKey::Up, 100, true},
        {"negative value up stops at the minimum", -100, 100, -99, TEditKey::Up, -100, true},
        {"negative value down moves towards zero", -100, 100, -52.5, TEditKey::Down, -50, false},
    };
    for (const StepRow& r : rows) {
        SCOPED_TRACE(r.name);
        TDblEdit e("%2.2f", r.minimum, r.maximum, r.value);
        e.FocusIn();
        TEditResult result = e.Key(r.key);
        EXPECT_NEAR(e.Value(), r.expected, 1e-12);
        EXPECT_EQ(result.beep, r.beep);
        EXPECT_TRUE(result.notify); // a step notifies at once
        EXPECT_TRUE(e.Typed());
        EXPECT_EQ(e.Text(), e.Display());
    }
}

TEST(TDblEdit, StepFactorAndReadOnly)
{
    TDblEdit e("%2.2f", 0, 100, 10);
    e.SetStepFactor(2.0);
    (void)e.Key(TEditKey::Up);
    EXPECT_DOUBLE_EQ(e.Value(), 20);

    e.SetReadOnly(true);
    TEditResult r = e.Key(TEditKey::Up);
    EXPECT_FALSE(r.notify);
    EXPECT_FALSE(r.beep);
    EXPECT_DOUBLE_EQ(e.Value(), 20);
}

TEST(TDblEdit, OtherKeysSetTypedAndFocusClearsIt)
{
    TDblEdit e("%2.2f", 0, 100, 10);
    e.FocusIn();
    EXPECT_FALSE(e.Typed());
    TEditResult r = e.Key(TEditKey::Other);
    EXPECT_TRUE(e.Typed());
    EXPECT_FALSE(r.notify);
    e.FocusIn();
    EXPECT_FALSE(e.Typed());
}

TEST(TDblEdit, ProgramSetValueIsShownAndNotAnEntry)
{
    TDblEdit e("%2.2f", 0, 100, 10);
    e.FocusIn();
    e.Edit("55");
    e.SetValue(200); // the program may set values outside the user's range
    EXPECT_EQ(e.Text(), "200.00");
    EXPECT_FALSE(e.Modified());
    EXPECT_FALSE(e.Commit().notify);
    EXPECT_DOUBLE_EQ(e.Value(), 200);
}

} // namespace
