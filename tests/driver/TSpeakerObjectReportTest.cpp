// The driver lines of the information window for the configurations that add lines.
#include "TSpeakerObjectTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using TLines = std::vector<std::string>;

const TLines kHead = {"Driver", " Manufacturer\tSEAS", " Model\t\tE0018-08S W18E001", " Filename\tw18.unt"};

struct TReportRow {
    const char* what;
    std::function<void(TSpeakerObject&)> configure;
    TLines tail; // after the head
};

class SpeakerReport : public ::testing::TestWithParam<TReportRow> {};

TEST_P(SpeakerReport, Lines)
{
    TSpeakerTestEnv env;
    auto s = MakeReferenceSpeaker(env.context);
    s->SetFileNameFromPath("/units/w18.unt");
    GetParam().configure(*s);
    TLines expected = kHead;
    expected.insert(expected.end(), GetParam().tail.begin(), GetParam().tail.end());
    EXPECT_EQ(s->ReportLines(""), expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, SpeakerReport,
    ::testing::Values(
        TReportRow{"plain", [](TSpeakerObject&) {}, {" # drivers\t1", " Extra mass\t0.0 g"}},
        TReportRow{"effects",
                   [](TSpeakerObject& s) {
                       s.extraMass = 0.01234;
                       s.blNonLinear = s.coilHeating = s.cmsNonLinear = true;
                   },
                   {" # drivers\t1", " Extra mass\t12.3 g", " Simulation of BL non linearity ON",
                    " Simulation of voice coil heating ON", " Simulation of Cms non linearity ON"}},
        TReportRow{"isobaric parallel",
                   [](TSpeakerObject& s) {
                       s.SetIsobaric(true);
                       s.SetIsobaricConnection(1);
                   },
                   {" # drivers\t1", " Extra mass\t0.0 g", " Isobarik configuration with",
                    "  speaker units connected in parallell"}},
        TReportRow{"double coil with load resistor",
                   [](TSpeakerObject& s) {
                       s.doubleVoiceCoil = 1;
                       s.SetDvcConnection(3);
                       s.loadResistor = 4.7;
                   },
                   {" # drivers\t1", " Extra mass\t0.0 g", " Double voice coil with",
                    "  4.7 ohm load resistor on one termial"}},
        TReportRow{"double coil separate",
                   [](TSpeakerObject& s) { s.doubleVoiceCoil = 1; },
                   {" # drivers\t1", " Extra mass\t0.0 g", " Double voice coil with",
                    "  separate sources for the two voice coils"}},
        TReportRow{"six drivers 3-3",
                   [](TSpeakerObject& s) {
                       s.SetNumberOfDrivers(6);
                       s.SetDriverConnection(4);
                   },
                   {" # drivers\t6", " Extra mass\t0.0 g", " Electrical connection of drivers : 3-3"}},
        TReportRow{"imported data",
                   [](TSpeakerObject& s) {
                       s.importValid = true;
                       s.importFileName = "meas/w18.frd";
                       s.transitionFrequency = 450;
                       s.phaseLagCutoff = 2500;
                   },
                   {" # drivers\t1", " Extra mass\t0.0 g", " Imported SPL data : meas/w18.frd",
                    "   Transition freq. \t450 Hz", "   Phase lag cutoff. \t2500 Hz"}},
        TReportRow{"imported data disabled",
                   [](TSpeakerObject& s) {
                       s.importValid = true;
                       s.importDisabled = true;
                       s.importFileName = "meas/w18.frd";
                   },
                   {" # drivers\t1", " Extra mass\t0.0 g"}}));

TEST(SpeakerReportTitle, GivenTitleReplacesDriver)
{
    TSpeakerTestEnv env;
    TSpeakerObject s{env.context};
    EXPECT_EQ(s.ReportLines("Rear driver").front(), "Rear driver");
}

} // namespace
