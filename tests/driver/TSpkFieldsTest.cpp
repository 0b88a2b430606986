// The editor's parameter fields and the unit text it prints and copies.
#include "TSpkTestSupport.h"

#include "driver/TSpkFields.h"
#include "driver/TSpkUnitText.h"

#include <gtest/gtest.h>

#include <set>

using namespace spktest;

TEST(TSpkFields, EveryEditorFieldOnceWithItsDisplay)
{
    ASSERT_EQ(SpkFields().size(), 18u);
    std::set<TSpkParam> seen;
    for (const TSpkField& f : SpkFields()) {
        EXPECT_TRUE(seen.insert(f.param).second) << f.label;
        EXPECT_EQ(FindSpkField(f.label), &f);
        EXPECT_EQ(&SpkField(f.param), &f);
    }
    EXPECT_EQ(seen.count(TSpkParam::a), 0u); // the radius follows Sd, it has no field
    EXPECT_EQ(FindSpkField("vas"), &SpkField(TSpkParam::Vas));
    EXPECT_EQ(FindSpkField("Vass"), nullptr);

    struct Case {
        TSpkParam param;
        double stored;
        const char* shown;
    };
    // SEAS W18E001 values in stored units and as the editor shows them.
    const Case cases[] = {
        {TSpkParam::Re, 6.1, "6.1"},          {TSpkParam::Le, 0.00065, "0.65"},
        {TSpkParam::fs, 34, "34.0"},          {TSpkParam::Qms, 2.91, "2.91"},
        {TSpkParam::Rms, 1.2, "1.20"},        {TSpkParam::Mmd, 0.0144, "14.40"},
        {TSpkParam::Mms, 0.0155, "15.50"},    {TSpkParam::Cms, 0.0014, "1.4e-03"},
        {TSpkParam::Cas, 2.14e-7, "2.1e-07"}, {TSpkParam::Vas, 0.030, "30.00"},
        {TSpkParam::Sd, 0.0126, "126.0"},     {TSpkParam::Bl, 6.6, "6.60"},
        {TSpkParam::Pmax, 250, "250"},        {TSpkParam::Xmax, 0.010, "10.0"},
        {TSpkParam::h, 0.006, "6.0"},         {TSpkParam::l, 0.016, "16.0"},
        {TSpkParam::Qts, 0, "undef."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSpkField(SpkField(c.param), c.stored), c.shown) << SpkField(c.param).label;

    EXPECT_EQ(SpkFieldRangeError(SpkField(TSpkParam::Qms), 100), "");
    EXPECT_NE(SpkFieldRangeError(SpkField(TSpkParam::Qms), 100.5), "");
    EXPECT_NE(SpkFieldRangeError(SpkField(TSpkParam::Xmax), -1), "");
    EXPECT_EQ(SpkFieldRangeError(SpkField(TSpkParam::Cms), 10), "");
    EXPECT_NE(SpkFieldRangeError(SpkField(TSpkParam::Cms), 11), "");
}

TEST(TSpkFields, SpeakerTypeNames)
{
    EXPECT_STREQ(SpeakerTypeName(3), "Midrange/Treble");
    EXPECT_STREQ(SpeakerTypeChoice(3), "Mid./Treble");
    EXPECT_STREQ(SpeakerTypeName(5), "Full range");
    EXPECT_STREQ(SpeakerTypeName(6), "");
    EXPECT_STREQ(SpeakerTypeName(-1), "");
}

TEST(TSpkUnitText, EmptyUnitIsFourHeaderLinesAndAnEmptyLine)
{
    TSpkData u;
    EXPECT_EQ(SpkUnitText(u), "Manufacturer:\t\r\nModel:\t\t\r\nFilename:\t\r\nSpeaker type:\tBass\r\n\r\n");
}

TEST(TSpkUnitText, DefinedParametersInTheirOrderThenTheNote)
{
    TSpkData u = UnitFromRow(DriverRow("seas_w18e001"));
    u.Cas = 2.142857e-7;
    u.Xmax = 0.010;
    u.l = 0.016;
    u.speakerType = 1;
    u.SetFileNameFromPath("/units/w18.unt");
    u.SetUserNote("Datasheet values.");
    EXPECT_EQ(SpkUnitText(u),
              "Manufacturer:\tSEAS\r\n"
              "Model:\t\tE0018-08S W18E001\r\n"
              "Filename:\tw18.unt\r\n"
              "Speaker type:\tBass/Midrange\r\n"
              "\r\n"
              "Sd:\t\t126.00 cm^2\r\n"
              "Vas:\t\t30.00 l\r\n"
              "Cms:\t\t1.40e-03 m/N\r\n"
              "Cas:\t\t2.14e-07 m^5/N\r\n"
              "Mmd:\t\t14.40 g\r\n"
              "Mms:\t\t15.50 g\r\n"
              "Rms:\t\t1.20 Ns/m\r\n"
              "Fs:\t\t34.0 Hz\r\n"
              "Bl:\t\t6.60 N/A\r\n"
              "Re:\t\t6.10 ohm\r\n"
              "Le:\t\t0.65 mH\r\n"
              "Qms:\t\t2.91\r\n"
              "Qes:\t\t0.49\r\n"
              "Qts:\t\t0.42\r\n"
              "Pmax:\t\t250.0 W\r\n"
              "Xmax:\t\t10.00 mm\r\n"
              "l:\t\t16.00 mm\r\n"
              "\r\n"
              "User notes:\r\n"
              "Datasheet values.");
}
