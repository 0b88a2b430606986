// Integer entry field rules: commit with rounding to the step, refusals, steps.
#include "ui/TLongEdit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(TLongEdit, DisplaysWithFormatOrUndefined)
{
    EXPECT_EQ(TLongEdit("%ld", 0, 100, 42).Display(), "42");
    EXPECT_EQ(TLongEdit("%d", -100, 100, -7).Display(), "-7");
    EXPECT_EQ(TLongEdit("%5ld", 0, 100, 42).Display(), "   42");
    TLongEdit u("%ld", 0, 100, 0);
    u.SetUndefined(0);
    EXPECT_EQ(u.Display(), "undef.");
    u.SetValue(3);
    EXPECT_EQ(u.Text(), "3");
}

struct CommitRow {
    const char* name;
    std::int32_t step;
    const char* typed;
    std::int32_t value;
    bool beep;
    bool notify;
};

// Field: "%ld", range -1000 .. 1000, value 20.
TEST(TLongEdit, CommitRoundsToTheStepOrRefuses)
{
    const CommitRow rows[] = {
        {"plain", 1, "35", 35, false, true},
        {"leading plus", 1, "+12", 12, false, true},
        {"negative", 1, "-12", -12, false, true},
        {"47 rounds up to 50", 10, "47", 50, false, true},
        {"44 rounds down to 40", 10, "44", 40, false, true},
        {"45 is half way: 50", 10, "45", 50, false, true},
        {"negative with step", 10, "-47", -50, false, true},
        {"negative with step rounds to nearest", 10, "-44", -40, false, true},
        {"decimal point refused", 1, "1.5", 20, true, false},
        {"comma refused", 1, "1,5", 20, true, false},
        {"letters refused", 1, "12a", 20, true, false},
        {"characters after the number refused", 1, "12-3", 20, true, false},
        {"empty refused", 1, "", 20, true, false},
        {"sign only refused", 1, "-", 20, true, false},
        {"above the maximum", 1, "1001", 20, true, false},
        {"rounded back into the range", 10, "1004", 1000, false, true},
        {"negative halves round away from zero", 10, "-45", -50, false, true},
        {"below the minimum", 1, "-1001", 20, true, false},
        {"too large to hold", 1, "99999999999999999999", 20, true, false},
    };
    for (const CommitRow& r : rows) {
        SCOPED_TRACE(r.name);
        TLongEdit e("%ld", -1000, 1000, 20, r.step);
        e.FocusIn();
        e.Edit(r.typed);
        TEditResult result = e.Commit();
        EXPECT_EQ(e.Value(), r.value);
        EXPECT_EQ(result.beep, r.beep);
        EXPECT_EQ(result.notify, r.notify);
        EXPECT_EQ(e.Text(), e.Display());
    }
}

struct StepRow {
    const char* name;
    std::int32_t step, minimum, maximum, value;
    TEditKey key;
    std::int32_t expected;
    bool beep;
};

TEST(TLongEdit, ArrowKeysStepAndRefuseToLeaveTheRange)
{
    const StepRow rows[] = {
        {"tenth of 35 is 3", 1, 0, 1000, 35, TEditKey::Up, 38, false},
        {"tenth of 5 is at least 1", 1, 0, 1000, 5, TEditKey::Up, 6, false},
        {"down by a tenth", 1, 0, 1000, 35, TEditKey::Down, 32, false},
        {"zero steps by 1", 1, -10, 10, 0, TEditKey::Down, -1, false},
        {"negative values step by a tenth of the size", 1, -1000, 1000, -50, TEditKey::Up, -45, false},
        {"step 10", 10, 0, 1000, 40, TEditKey::Up, 50, false},
        {"step 10 down", 10, 0, 1000, 40, TEditKey::Down, 30, false},
        {"would pass the maximum: unchanged", 10, 0, 45, 40, TEditKey::Up, 40, true},
        {"would pass the minimum: unchanged", 1, 10, 1000, 10, TEditKey::Down, 10, true},
        {"no overflow at the int32 limit", 1, 0, INT32_MAX, INT32_MAX, TEditKey::Up, INT32_MAX, true},
    };
    for (const StepRow& r : rows) {
        SCOPED_TRACE(r.name);
        TLongEdit e("%ld", r.minimum, r.maximum, r.value, r.step);
        e.FocusIn();
        TEditResult result = e.Key(r.key);
        EXPECT_EQ(e.Value(), r.expected);
        EXPECT_EQ(result.beep, r.beep);
        EXPECT_EQ(result.notify, !r.beep);
        EXPECT_EQ(e.Typed(), !r.beep);
    }
}

TEST(TLongEdit, ReadOnlyRefusesStepsAndStepBelowOneCountsAsOne)
{
    TLongEdit e("%ld", 0, 100, 50, 0);
    EXPECT_EQ(e.Step(), 1);
    e.SetReadOnly(true);
    TEditResult r = e.Key(TEditKey::Up);
    EXPECT_FALSE(r.notify);
    EXPECT_EQ(e.Value(), 50);
}

} // namespace
