// Bound fields: the dialog model loads them from the live object, commits through the
// binding and its follow-up, refuses without writing, keeps the scale between stored
// and shown values, and keeps the dialog's position where its owner stores it.
#include "ui/TDialogModel.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The object a dialog edits: a volume stored in m³ and shown in litres, a count, a
// switch, a choice, a text, a level whose write also sets a partner, and a value
// whose rule refuses anything above 50.
struct Live {
    double volume = 0.035;
    std::int32_t count = 3;
    bool flag = false;
    std::int16_t choice = 1;
    std::string name = "first";
    double level = 2.0;
    double partner = 0.5;
    double guarded = 20.0;
    double undefinedValue = 0.0;
};

enum : int { kVolume = 101, kCount, kFlag, kChoice, kName, kLevel, kPartner, kGuarded, kUndefined, kNeedsFlag };

const TFieldInfo kVolumeInfo{"Volume", "l", "%2.1f", 0.1, 1000.0, 0.001};
const TFieldInfo kCountInfo{"Count", "", "%ld", 1, 9, 1.0, TValueKind::Whole};
const TFieldInfo kFlagInfo{"Flag", "", "", 0, 1, 1.0, TValueKind::Switch};
const TFieldInfo kLevelInfo{"Level", "V", "%3.2f", 0.01, 100.0};
const TFieldInfo kPartnerInfo{"Partner", "W", "%3.2f", 0.0, 10000.0};
const TFieldInfo kGuardedInfo{"Guarded", "", "%2.1f", 0.0, 100.0};
const TFieldInfo kUndefinedInfo{"Maybe", "mm", "%2.1f", 0.0, 10.0, 0.001, TValueKind::Real, false, 0.0};

class Bound : public TDialogModel {
public:
    Bound(THost& host, Live& live) : TDialogModel(host, "Bound", "bound.txt"), live_(live)
    {
        AddField(kVolume, kVolumeInfo, BindMember(live.volume));
        AddField(kCount, kCountInfo, BindMember(live.count));
        AddField(kFlag, kFlagInfo, BindMember(live.flag));
        AddRadio(kChoice, "Choice", {"&A", "&B", "&C"}, -1).Bind(BindMember(live.choice));
        AddText(kName, "Name").Bind({.text = [&live] { return live.name; }});
        AddField(kLevel, kLevelInfo,
                 {.read = [&live] { return live.level; },
                  .write =
                      [&live](double v) {
                          live.level = v;
                          live.partner = v * v / 8.0;
                          return true;
                      },
                  .then = [this] { ++levelFollowUps; }});
        AddField(kPartner, kPartnerInfo, BindMember(live.partner));
        AddField(kGuarded, kGuardedInfo,
                 {.read = [&live] { return live.guarded; },
                  .write =
                      [&live](double v) {
                          if (v > 50.0)
                              return false;
                          live.guarded = v;
                          return true;
                      }});
        AddField(kUndefined, kUndefinedInfo, BindMember(live.undefinedValue));
        AddField(kNeedsFlag, kGuardedInfo).EnabledIf([&live] { return live.flag; });
        AddOk();
        afterCommit = [this] { ++followUps; };
        onFieldChanged = [this](int id) { changed.push_back(id); };
    }
    int followUps = 0;
    int levelFollowUps = 0;
    std::vector<int> changed;

private:
    Live& live_;
};

TEST(TFieldBinding, LoadFillsEveryBoundFieldFromItsRead)
{
    THeadlessHost host;
    Live live;
    Bound d(host, live);
    live = Live{0.0125, 7, true, 2, "second", 4.0, 2.0, 12.5, 0.0};
    d.Reload();
    const struct {
        int id;
        const char* shown;
        bool enabled;
    } rows[] = {
        {kVolume, "12.5", true}, {kCount, "7", true},       {kFlag, "on", true},      {kChoice, "C", true},
        {kName, "second", true}, {kLevel, "4.00", true},    {kPartner, "2.00", true}, {kGuarded, "12.5", true},
        {kUndefined, "undef.", true}, {kNeedsFlag, "0.0", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.id);
        const TField& f = d.Field(r.id);
        EXPECT_EQ(f.kind == TFieldKind::Text ? f.text : f.ShownValue(), r.shown);
        EXPECT_EQ(f.enabled, r.enabled);
    }
    // A choice the object does not offer selects nothing rather than a wrong entry.
    live.choice = 7;
    live.flag = false;
    d.Reload();
    EXPECT_EQ(d.Selected(kChoice), -1);
    EXPECT_FALSE(d.Field(kNeedsFlag).enabled);
    // Loading is not a change: nothing was written or followed up.
    EXPECT_EQ(d.followUps, 0);
    EXPECT_TRUE(d.changed.empty());
}

TEST(TFieldBinding, OpeningAClosedDialogLoadsItsBoundFields)
{
    THeadlessHost host;
    Live live;
    Bound d(host, live);
    live.count = 5;
    d.Open();
    EXPECT_EQ(d.Long(kCount).Value(), 5);
    live.count = 6;
    d.Open(); // already open: only raised, what the user sees stays
    EXPECT_EQ(d.Long(kCount).Value(), 5);
}

struct CommitRow {
    int id;
    const char* typed;
    bool written;      // the object changed
    double stored;     // what the object holds afterwards (for the field's member)
    const char* shown; // what the field shows afterwards
    int followUps;     // the dialog's afterCommit
    int levelFollowUps; // the level field's own then()
    int beeps;
};

double Member(const Live& live, int id)
{
    switch (id) {
    case kVolume: return live.volume;
    case kCount: return live.count;
    case kLevel: return live.level;
    case kPartner: return live.partner;
    case kGuarded: return live.guarded;
    case kUndefined: return live.undefinedValue;
    default: return 0.0;
    }
}

TEST(TFieldBinding, ACommitWritesThroughTheBindingOrWritesNothing)
{
    const CommitRow rows[] = {
        // Valid values: scaled into the object, followed by afterCommit.
        {kVolume, "35,5", true, 0.0355, "35.5", 1, 0, 0},
        {kCount, "4", true, 4, "4", 1, 0, 0},
        {kUndefined, "2.5", true, 0.0025, "2.5", 1, 0, 0},
        // A binding's own then() replaces the dialog's follow-up.
        {kLevel, "4", true, 4.0, "4.00", 0, 1, 0},
        // Refused by the field's range: beeps, nothing written, nothing follows.
        {kVolume, "0.05", false, 0.035, "35.0", 0, 0, 1},
        {kCount, "12", false, 3, "3", 0, 0, 1},
        // Refused by the object's rule: nothing written, the field shows the stored value.
        {kGuarded, "60", false, 20.0, "20.0", 0, 0, 0},
        {kGuarded, "40", true, 40.0, "40.0", 1, 0, 0},
    };
    for (const CommitRow& r : rows) {
        SCOPED_TRACE(std::to_string(r.id) + " " + r.typed);
        THeadlessHost host;
        Live live;
        Bound d(host, live);
        d.Open();
        const Live before = live;
        d.Type(r.id, r.typed);
        d.FocusField(TBaseDialog::OkId);
        EXPECT_DOUBLE_EQ(Member(live, r.id), r.stored);
        EXPECT_EQ(Member(live, r.id) != Member(before, r.id), r.written);
        EXPECT_EQ(d.Field(r.id).EditText(), r.shown);
        EXPECT_EQ(d.followUps, r.followUps);
        EXPECT_EQ(d.levelFollowUps, r.levelFollowUps);
        EXPECT_EQ(host.Beeps(), r.beeps);
    }
}

TEST(TFieldBinding, FieldsThatFollowTheChangedOneShowTheirNewValues)
{
    THeadlessHost host;
    Live live;
    Bound d(host, live);
    d.Open();
    d.Type(kLevel, "4");
    d.FocusField(kPartner);
    EXPECT_EQ(d.Field(kPartner).EditText(), "2.00"); // 4² / 8
    // An enabling rule follows at once, and a switch writes 1 or 0.
    EXPECT_FALSE(d.Field(kNeedsFlag).enabled);
    d.Toggle(kFlag, true);
    EXPECT_TRUE(live.flag);
    EXPECT_TRUE(d.Field(kNeedsFlag).enabled);
    d.Select(kChoice, 0);
    EXPECT_EQ(live.choice, 0);
    EXPECT_EQ(d.followUps, 2);
    // onFieldChanged still hears every change, after the binding.
    EXPECT_EQ(d.changed, (std::vector<int>{kLevel, kFlag, kChoice}));
}

TEST(TFieldBinding, WhatTheUserIsTypingSurvivesAnotherFieldsCommit)
{
    THeadlessHost host;
    Live live;
    Bound d(host, live);
    d.Open();
    d.Type(kCount, "8");     // typed, not yet committed
    d.Toggle(kFlag, true);   // commits the switch; every bound field loads again
    EXPECT_EQ(d.Field(kCount).EditText(), "8");
    d.FocusField(kLevel);
    EXPECT_EQ(live.count, 8);
    // A reload from outside shows the object, as after a calculation.
    d.Type(kLevel, "9");
    d.Reload();
    EXPECT_EQ(d.Field(kLevel).EditText(), "2.00");
}

// What a user types, stored in the object and shown again, reads as typed: the same
// scale both ways.
TEST(TFieldBinding, TheScaleRoundTripsBetweenStoredAndShownValues)
{
    const double scales[] = {1.0, 0.01, 0.001, 0.0001, 1000.0};
    for (double scale : scales) {
        SCOPED_TRACE(scale);
        const TFieldInfo info{"Value", "", "%2.2f", 0.0, 100000.0, scale};
        THeadlessHost host;
        double stored = 0.0;
        TDialogModel d(host, "Scale");
        d.AddField(1, info, BindMember(stored));
        d.AddField(2, info);
        d.Open();
        for (int hundredths = 1; hundredths <= 200000; hundredths += 97) {
            const std::string typed = info.Text(hundredths / 100.0);
            d.Type(1, typed);
            d.FocusField(2);
            ASSERT_DOUBLE_EQ(stored, info.Stored(hundredths / 100.0)) << typed;
            d.Reload();
            ASSERT_EQ(d.Field(1).EditText(), typed);
            EXPECT_DOUBLE_EQ(info.Shown(stored), hundredths / 100.0);
        }
    }
}

TEST(TFieldBinding, ThePositionIsRestoredOnOpenAndSavedClampedOnClose)
{
    const struct {
        int x, y;                 // where the view stood when the dialog closed
        std::int16_t savedX, savedY;
    } rows[] = {
        {120, 80, 120, 80},
        {-30, 5, -30, 5},
        {40000, -40000, 32767, -32768},
        {32767, -32768, 32767, -32768},
        {70000, 100, 32767, 100},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.x) + "," + std::to_string(r.y));
        THeadlessHost host;
        Live live;
        std::int16_t x = 0, y = 0;
        Bound d(host, live);
        d.KeepPositionIn(x, y);
        d.Open();
        d.position = {r.x, r.y};
        d.RequestClose();
        EXPECT_EQ(x, r.savedX);
        EXPECT_EQ(y, r.savedY);
        d.position = {};
        d.Open();
        EXPECT_EQ(d.position.x, r.savedX);
        EXPECT_EQ(d.position.y, r.savedY);
    }
}

TEST(TFieldBinding, AnUnplacedPositionLeavesTheViewWhereTheHostPutsIt)
{
    THeadlessHost host;
    Live live;
    std::int16_t x = 0, y = 0;
    Bound d(host, live);
    d.KeepPositionIn(x, y);
    d.position = {300, 200};
    d.Open();
    EXPECT_EQ(d.position.x, 300); // 0, 0 is "not placed yet"
    // Destroying an open dialog saves nothing: the owner may already be gone.
    x = 7;
    {
        Bound gone(host, live);
        gone.KeepPositionIn(x, y);
        gone.Open();
        gone.position = {50, 60};
    }
    EXPECT_EQ(x, 7);
}

} // namespace
