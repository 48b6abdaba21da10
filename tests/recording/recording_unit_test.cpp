// Units: each channel's signal unit (its sensor kind's SI unit unless the host says another)
// and the unit of each spectral class and data component.
#include "RecordingFixture.h"

#include <gtest/gtest.h>

namespace recording_test {
namespace {

TEST(ChannelUnits, SensorsGiveTheirKindsUnitAndTheHostMaySayAnother) {
    SmallRecording r;
    CMDTrialzq& trial = r.trial();
    EXPECT_EQ(trial.getChannel(0)->unit, u"T");
    EXPECT_EQ(trial.getChannel(3)->unit, u"V");
    CMDChannel0SensorInfo planar;
    planar.setMEGSensor(CMEGSensorzq("G", CMEGSensor::PlanarGradiometer));
    EXPECT_EQ(planar.unit, u"T/m");

    int added = 0;
    ASSERT_TRUE(r.builder.addTrial(0, &added));
    ASSERT_TRUE(r.builder.setChannelUnit(0, 1, u"fT"));
    for (int t : {0, added})
        EXPECT_EQ(r.session().getTrialzq(t)->getChannel(1)->unit, u"fT") << "trial " << t;
    // Refused: no such channel, no text, too long, a control character; nothing changes.
    const std::pair<int, std::u16string> refused[] = {
        {4, u"fT"}, {-1, u"fT"}, {1, u""}, {1, u"femtotesla per cm"}, {1, u"f\nT"}};
    for (const auto& [channel, unit] : refused) {
        const auto result = r.builder.setChannelUnit(0, channel, unit);
        EXPECT_FALSE(result);
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_EQ(trial.getChannel(1)->unit, u"fT");
    EXPECT_FALSE(r.builder.setChannelUnit(3, 0, u"fT")) << "no session 3";
}

TEST(SpectrumUnits, PowerIsSquaredAndResultTakesTheContrastsUnit) {
    CSpctmSettings s;
    EXPECT_EQ(s.getSpctmUnit(u"fT", 0, 0), u"fT");
    EXPECT_EQ(s.getSpctmUnit(u"fT", 1, 1), u"fT");
    EXPECT_EQ(s.getSpctmUnit(u"fT", 0, 2), u"fT\u00B2");
    EXPECT_EQ(s.getSpctmUnit(u"fT/cm", 1, 2), u"(fT/cm)\u00B2");
    EXPECT_EQ(s.getSpctmUnit(u"\u00B5V", 0, 2), u"\u00B5V\u00B2");
    EXPECT_EQ(s.getSpctmUnit(u"", 0, 2), u"");
    // Result: real and imaginary parts are differences; power follows the contrast.
    EXPECT_EQ(s.getSpctmUnit(u"fT", 2, 0), u"fT");
    const std::pair<CSpctmSettings::ResultMode, std::u16string> modes[] = {
        {CSpctmSettings::Difference, u"fT\u00B2"},
        {CSpctmSettings::Ratio, u""},
        {CSpctmSettings::Decibel, u"dB"},
        {CSpctmSettings::PercentChange, u"%"},
        {CSpctmSettings::ZScore, u"z"}};
    for (const auto& [mode, unit] : modes) {
        s.resultMode = mode;
        EXPECT_EQ(s.getSpctmUnit(u"fT", 2, 2), unit) << mode;
    }
    EXPECT_EQ(s.getSpctmUnit(u"fT", 3, 2), u"");
    EXPECT_EQ(s.getSpctmUnit(u"fT", 0, -1), u"");
}

} // namespace
} // namespace recording_test
