#include "room/TRoomFields.h"
#include "room/TRoomSettings.h"

#include <gtest/gtest.h>

#include <cmath>

// The shown values that are not stored as shown, both ways.
TEST(TRoomFields, ShownValuesConvertToWhatTheModelStores)
{
    TRoomSettings s;
    struct Row {
        TRoomField field;
        double typed;
        double TRoomSettings::* stored;
        double expected;
    } rows[] = {
        {TRoomField::Summation, 6.0, &TRoomSettings::summation, 1.0},
        {TRoomField::Summation, 3.0, &TRoomSettings::summation, std::pow(10.0, -0.15)},
        {TRoomField::LevelOffset, 20.0, &TRoomSettings::measLevelFactor, 10.0},
        {TRoomField::LevelOffset, -6.0, &TRoomSettings::measLevelOffset, -6.0},
        {TRoomField::RoofHeight, 2.7, &TRoomSettings::Hr, 2.7},
        {TRoomField::BaffleWidth, 0.45, &TRoomSettings::W, 0.45},
        {TRoomField::ListenerZ, 4.0, &TRoomSettings::Zl, 4.0},
    };
    for (const Row& row : rows) {
        TFieldBinding b = BindRoomField(s, row.field);
        ASSERT_TRUE(b.write(row.typed));
        EXPECT_NEAR(s.*row.stored, row.expected, 1e-12) << RoomFieldInfo(row.field).label << " " << row.typed;
        EXPECT_NEAR(b.read(), row.typed, 1e-12) << RoomFieldInfo(row.field).label;
    }
    EXPECT_NEAR(std::pow(10.0, -0.15), 0.708, 5e-4);
}

TEST(TRoomFields, SwitchesReachTheirOwnSurfaces)
{
    // The switches keep the floor before the roof; the factors the other way.
    const std::pair<TRoomField, std::size_t> switches[] = {
        {TRoomField::ReflectBack, 0},  {TRoomField::ReflectLeft, 1},    {TRoomField::ReflectRight, 2},
        {TRoomField::ReflectFloor, 3}, {TRoomField::ReflectCeiling, 4}, {TRoomField::ReflectListenerBack, 5},
    };
    for (const auto& [field, index] : switches) {
        TRoomSettings s;
        s.reflections = {};
        ASSERT_TRUE(BindRoomField(s, field).write(1.0));
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(s.reflections[i], i == index) << RoomFieldInfo(field).label;
    }
    const std::pair<TAbsField, std::size_t> factors[] = {
        {TAbsField::SpeakerBackwall, 0}, {TAbsField::LeftSidewall, 1}, {TAbsField::RightSidewall, 2},
        {TAbsField::Ceiling, 3},         {TAbsField::Floor, 4},        {TAbsField::ListenerBackwall, 5},
    };
    for (const auto& [field, index] : factors) {
        TRoomSettings s;
        s.reflectionFactors.fill(0.5);
        ASSERT_TRUE(BindAbsField(s, field).write(0.19));
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_NEAR(s.reflectionFactors[i], i == index ? 0.9 : 0.5, 1e-12) << AbsFieldInfo(field).label;
        EXPECT_NEAR(BindAbsField(s, field).read(), 0.19, 1e-12);
    }
}

TEST(TRoomFields, SourceOffsetsFollowTheChosenElement)
{
    TPosObject a, b;
    TPosObject* chosen = nullptr;
    TFieldBinding dz = BindSourceField([&chosen] { return chosen; }, TRoomField::SourceDZ);
    EXPECT_FALSE(dz.write(-0.2)); // nothing chosen: refused
    chosen = &b;
    ASSERT_TRUE(dz.write(-0.2));
    EXPECT_DOUBLE_EQ(b.dZ, -0.2);
    EXPECT_DOUBLE_EQ(a.dZ, 0.0);
    chosen = &a;
    EXPECT_DOUBLE_EQ(dz.read(), 0.0);
    EXPECT_FALSE(dz.write(std::nan("")));
}
