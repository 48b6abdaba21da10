// The builder refuses inconsistent or absurd input with a message and changes nothing.
#include "RecordingFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

using namespace recording_test;

namespace {

// What a refused call must leave as it was.
struct Snapshot {
    int sessions, trials, channels;
    long long stamp, rawSize, nTimeAxes;
    bool windows;

    static Snapshot of(SmallRecording& r) {
        long long idx = 0, stamp = 0;
        r.session().getSelect(idx, stamp);
        const CSpctmTrialzq* st = r.trial().getSpctmTrial(true, 0);
        return {r.data.getSessionCount(),
                r.session().getTrialCount(),
                r.trial().getTotalChannel(),
                stamp,
                static_cast<long long>(r.trial().getChannel(0)->getRawData().size()),
                st->getTrialSpctmTimePt(),
                r.trial().hasSpctmWindows()};
    }
    bool operator==(const Snapshot&) const = default;
};

struct Refusal {
    const char* name;
    std::function<CMEDataSetBuilder::Result(CMEDataSetBuilder&)> call;
    const char* says; // a word the message must contain
};

class BuilderRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(BuilderRefuses, WithAMessageAndNoChange) {
    SmallRecording rec;
    const auto raw = makeEpochs([](long long, double t) { return std::sin(60.0 * t); });
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 0, raw, kEpochs, kRate, kFirstMs));
    ASSERT_TRUE(rec.builder.setWindows(0, 0, 300.0, 900.0, -900.0, -300.0));
    const Snapshot before = Snapshot::of(rec);
    const auto r = GetParam().call(rec.builder);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find(GetParam().says), std::string::npos) << r.message;
    EXPECT_TRUE(Snapshot::of(rec) == before);
}

const std::vector<double> kRaw(kEpochs* kSamples, 0.0);
const double kFreqs[2] = {10.0, 20.0};

INSTANTIATE_TEST_SUITE_P(
    Cases, BuilderRefuses,
    ::testing::Values(
        Refusal{"NoSession", [](auto& b) { return b.addTrial(5); }, "no session"},
        Refusal{"NoTrial", [](auto& b) { return b.setWindows(0, 3, 0, 1, 2, 3); }, "no trial"},
        Refusal{"SensorWithoutCoil",
                [](auto& b) {
                    return b.addMegChannel(0, u"", CMEGSensorzq("X", CMEGSensor::Magnetometer));
                },
                "coil"},
        Refusal{"NegativeRate",
                [](auto& b) { return b.setChannelEpochs(0, 0, 1, kRaw, kEpochs, -250.0, 0.0); },
                "sampling rate"},
        Refusal{"UnevenEpochs",
                [](auto& b) { return b.setChannelEpochs(0, 0, 1, kRaw, 3, kRate, kFirstMs); },
                "equal"},
        Refusal{"TimingMismatch",
                [](auto& b) { return b.setChannelEpochs(0, 0, 1, kRaw, 2, kRate, kFirstMs); },
                "differs"},
        Refusal{"NoChannel",
                [](auto& b) { return b.setChannelEpochs(0, 0, 9, kRaw, kEpochs, kRate, 0.0); },
                "no channel"},
        Refusal{"WindowOutsideSignal",
                [](auto& b) { return b.setWindows(0, 0, 300.0, 1500.0, -900.0, -300.0); },
                "outside"},
        Refusal{"WindowReversed",
                [](auto& b) { return b.setWindows(0, 0, 900.0, 300.0, -900.0, -300.0); },
                "start <= end"},
        Refusal{"WindowNaN", [](auto& b) { return b.setWindows(0, 0, NAN, 300.0, -900.0, -300.0); },
                "finite"},
        Refusal{"AboveNyquist",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {10.0, 130.0};
                    return b.setSpectrumSettings(0, s);
                },
                "Nyquist"},
        Refusal{"NoCycles",
                [](auto& b) {
                    CSpctmSettings s;
                    s.cycles = 0.0;
                    return b.setSpectrumSettings(0, s);
                },
                "cycles"},
        Refusal{"LowestFrequencyTooLow",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {1e-9, 10.0};
                    return b.setSpectrumSettings(0, s);
                },
                "lowest frequency"},
        Refusal{"HugeAxes",
                [](auto& b) {
                    return b.setSpectrumAxes(0, 0, 0, std::numeric_limits<long long>::max() / 2,
                                             0.0, 1.0, kFreqs);
                },
                "cannot be allocated"},
        Refusal{"FrequenciesNotIncreasing",
                [](auto& b) {
                    const double f[2] = {20.0, 10.0};
                    return b.setSpectrumAxes(0, 0, 0, 3, 0.0, 1.0, f);
                },
                "increasing"},
        Refusal{"SpectrumBeforeAxes",
                [](auto& b) { return b.setChannelSpectrum(0, 0, 0, 1, kFreqs, kFreqs, kFreqs); },
                "axes"},
        Refusal{"SelectedPointWithoutSpectrum",
                [](auto& b) { return b.setSelectedPoint(0, 0, 0, 0, 0); }, "no spectrum"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Builder, RefusesWrongSpectrumSizeAndChannelsBeforeTrials) {
    SmallRecording rec;
    ASSERT_TRUE(rec.builder.setSpectrumAxes(0, 0, 0, 2, 0.0, 1.0, kFreqs));
    const double three[3] = {1, 2, 3};
    const double four[4] = {1, 2, 3, 4};
    const auto r = rec.builder.setChannelSpectrum(0, 0, 0, 0, four, four, three);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("4 values"), std::string::npos) << r.message;
    EXPECT_EQ(rec.trial().getChannel(0)->getSpctmChnl(false, 0), nullptr);

    int s = -1;
    ASSERT_TRUE(rec.builder.addSession(&s));
    EXPECT_FALSE(rec.builder.addEegChannel(s, u"", eegElectrode()).ok);
    ASSERT_TRUE(rec.builder.addTrial(s));
    ASSERT_TRUE(rec.builder.addTrial(s));
    ASSERT_TRUE(rec.builder.addEegChannel(s, u"Fp1", eegElectrode()));
    EXPECT_EQ(rec.data.getSessionData(s)->getTrialzq(1)->getChannel(0)->label, u"Fp1");
}

} // namespace
