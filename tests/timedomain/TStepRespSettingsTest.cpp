#include "timedomain/TStepRespSettings.h"

#include "core/TBinaryStream.h"

#include <gtest/gtest.h>

TEST(TStepRespSettings, RecordIs95BytesAndRoundTrips)
{
    TStepRespSettings s;
    s.kind = TStepRespSettings::ToneBurst;
    s.burstFrequency = 120.5;
    s.periods = 7;
    s.zoom = true;
    s.windowRecord[0] = 2;
    TBinaryWriter w;
    s.Write(w);
    ASSERT_EQ(w.Size(), TStepRespSettings::RecordSize);
    // zoom, enabled, show input follow the window record.
    EXPECT_EQ(w.Bytes()[70], 1);
    EXPECT_EQ(w.Bytes()[71], 1);
    EXPECT_EQ(w.Bytes()[73], 2); // kind, low byte

    TStepRespSettings back;
    TBinaryReader r(w.Bytes());
    ASSERT_TRUE(back.Read(r));
    EXPECT_EQ(back.kind, TStepRespSettings::ToneBurst);
    EXPECT_DOUBLE_EQ(back.burstFrequency, 120.5);
    EXPECT_EQ(back.periods, 7);
    EXPECT_EQ(back.ShownPoints(), 512);
    EXPECT_EQ(back.windowRecord[0], 2);
}

TEST(TStepRespSettings, ShortRecordFailsAndKeepsSettings)
{
    TStepRespSettings s;
    s.periods = 9;
    TBinaryWriter w;
    s.Write(w);
    for (std::size_t cut = 0; cut < TStepRespSettings::RecordSize; ++cut) {
        std::vector<std::uint8_t> bytes(w.Bytes().begin(), w.Bytes().begin() + static_cast<long>(cut));
        TBinaryReader r(bytes);
        TStepRespSettings t;
        EXPECT_FALSE(t.Read(r)) << cut;
        EXPECT_EQ(t.periods, 3) << cut;
    }
}
