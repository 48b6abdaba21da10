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

// Failure messages name the case rather than dump its bytes.
void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class BuilderRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(BuilderRefuses, WithAMessageAndNoChange) {
    SmallRecording rec;
    const auto raw = makeEpochs([](long long, double t) { return std::sin(60.0 * t); });
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 0, raw, kEpochs, kRate, kFirstMs));
    ASSERT_TRUE(rec.builder.setWindows(0, 0, 300.0, 900.0, -900.0, -300.0));
    ASSERT_TRUE(rec.builder.addTrial(0)); // trial 1 takes handed-in spectra
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
        Refusal{"CyclesListOneShort",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {10.0, 20.0, 30.0};
                    s.cyclesPerFreq = {3.0, 5.0};
                    return b.setSpectrumSettings(0, s);
                },
                "2 values for 3 frequencies"},
        Refusal{"CyclesListValueJustBelowOne",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {10.0, 20.0};
                    s.cyclesPerFreq = {3.0, 0.999};
                    return b.setSpectrumSettings(0, s);
                },
                "cycles at 20 Hz (0.999) must lie between 1 and 1000"},
        Refusal{"CyclesDivisorGivesBelowOneAtTheLowestFrequency",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {3.0, 20.0};
                    s.cyclesDivisor = 4.0;
                    return b.setSpectrumSettings(0, s);
                },
                "cycles at 3 Hz (0.75)"},
        Refusal{"CyclesDivisorNegative",
                [](auto& b) {
                    CSpctmSettings s;
                    s.cyclesDivisor = -2.0;
                    return b.setSpectrumSettings(0, s);
                },
                "cycles divisor"},
        Refusal{"NormalisationOutOfRange",
                [](auto& b) {
                    CSpctmSettings s;
                    s.normalisation = static_cast<CSpctmSettings::Normalisation>(2);
                    return b.setSpectrumSettings(0, s);
                },
                "unknown normalisation 2"},
        Refusal{"LowestFrequencyTooLow",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {1e-9, 10.0};
                    return b.setSpectrumSettings(0, s);
                },
                "lowest frequency"},
        Refusal{"HugeAxes",
                [](auto& b) {
                    return b.setSpectrumAxes(0, 1, 0, std::numeric_limits<long long>::max() / 2,
                                             0.0, 1e-12, kFreqs);
                },
                "would need"},
        Refusal{"FrequenciesNotIncreasing",
                [](auto& b) {
                    const double f[2] = {20.0, 10.0};
                    return b.setSpectrumAxes(0, 1, 0, 3, 0.0, 1.0, f);
                },
                "increasing"},
        Refusal{"SpectrumBeforeAxes",
                [](auto& b) { return b.setChannelSpectrum(0, 1, 0, 1, kFreqs, kFreqs, kFreqs); },
                "axes"},
        Refusal{"SelectedPointWithoutSpectrum",
                [](auto& b) { return b.setSelectedPoint(0, 0, 0, 0, 0); }, "no spectrum"},
        Refusal{"RepeatedFrequencyInSettings",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {10.0, 10.0};
                    return b.setSpectrumSettings(0, s);
                },
                "increasing"},
        Refusal{"UnsortedFrequenciesInSettings",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {30.0, 10.0, 10.0, 20.0};
                    return b.setSpectrumSettings(0, s);
                },
                "increasing"},
        Refusal{"RepeatedFrequencyInAxes",
                [](auto& b) {
                    const double f[2] = {10.0, 10.0};
                    return b.setSpectrumAxes(0, 1, 0, 3, 0.0, 1.0, f);
                },
                "increasing"},
        Refusal{"FrequencyAtNyquist",
                [](auto& b) {
                    CSpctmSettings s;
                    s.freqsHz = {10.0, kRate / 2.0};
                    return b.setSpectrumSettings(0, s);
                },
                "Nyquist"},
        Refusal{"ResultModeAboveRange",
                [](auto& b) {
                    CSpctmSettings s;
                    s.resultMode = static_cast<CSpctmSettings::ResultMode>(5);
                    return b.setSpectrumSettings(0, s);
                },
                "Result mode"},
        Refusal{"ResultModeNine",
                [](auto& b) {
                    CSpctmSettings s;
                    s.resultMode = static_cast<CSpctmSettings::ResultMode>(9);
                    return b.setSpectrumSettings(0, s);
                },
                "Result mode"},
        Refusal{"ResultModeNegative",
                [](auto& b) {
                    CSpctmSettings s;
                    s.resultMode = static_cast<CSpctmSettings::ResultMode>(-1);
                    return b.setSpectrumSettings(0, s);
                },
                "Result mode"},
        Refusal{"FirstLatencyImplausible",
                [](auto& b) { return b.setChannelEpochs(0, 0, 0, kRaw, kEpochs, kRate, 1e300); },
                "latency"},
        Refusal{
            "FirstLatencyJustBeyondBound",
            [](auto& b) { return b.setChannelEpochs(0, 0, 0, kRaw, kEpochs, kRate, -1e9 - 1.0); },
            "latency"},
        Refusal{"LastLatencyNotFinite",
                [](auto& b) { return b.setChannelEpochs(0, 0, 0, kRaw, kEpochs, 1e-306, 0.0); },
                "latency"},
        Refusal{"AxesLatencyImplausible",
                [](auto& b) { return b.setSpectrumAxes(0, 1, 0, 3, 1e300, 1.0, kFreqs); },
                "latency"},
        Refusal{"AxesLastLatencyBeyondBound",
                [](auto& b) { return b.setSpectrumAxes(0, 1, 0, 3, 0.0, 6e8, kFreqs); }, "latency"},
        Refusal{"SpectrumOfClassSeven",
                [](auto& b) { return b.setChannelSpectrum(0, 0, 0, 7, kFreqs, kFreqs, kFreqs); },
                "0 (Active), 1 (Control) or 2 (Result), not 7"},
        Refusal{"AxesOfNegativeClass",
                [](auto& b) { return b.setSpectrumAxes(0, 1, -1, 3, 0.0, 1.0, kFreqs); },
                "0 (Active), 1 (Control) or 2 (Result), not -1"},
        Refusal{"SelectedPointOfClassThree",
                [](auto& b) { return b.setSelectedPoint(0, 0, 3, 0, 0); },
                "0 (Active), 1 (Control) or 2 (Result), not 3"},
        Refusal{"DuplicateLabel",
                [](auto& b) { return b.addMegChannel(0, u"MEG2", megSensor(0.05)); }, "MEG2"},
        Refusal{"DuplicateLabelOfTheElectrode",
                [](auto& b) { return b.addEegChannel(0, u"", eegElectrode()); }, "already"},
        Refusal{"NoLabelAnywhere",
                [](auto& b) {
                    const double pos[3] = {0.0, 0.0, 0.1};
                    return b.addEegChannel(0, u"", CEEGelectrodezq("", pos));
                },
                "label"},
        Refusal{"WindowEndingPastTheLastSample",
                [](auto& b) { return b.setWindows(0, 0, 300.0, 999.0, -900.0, -300.0); },
                "outside"},
        Refusal{"AxesOnATrialWithRawEpochs",
                [](auto& b) { return b.setSpectrumAxes(0, 0, 0, 3, 0.0, 1.0, kFreqs); },
                "raw epochs"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Builder, AcceptsValuesOneStepInsideEachBound) {
    SmallRecording rec;
    ASSERT_TRUE(rec.builder.addTrial(0));
    EXPECT_TRUE(rec.builder.setChannelEpochs(0, 1, 0, kRaw, kEpochs, kRate, -1e9));
    const auto raw = makeEpochs([](long long, double t) { return std::sin(60.0 * t); });
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 0, raw, kEpochs, kRate, kFirstMs));
    EXPECT_TRUE(rec.builder.setWindows(0, 0, 300.0, 996.0, -900.0, -300.0)); // the last sample
    CSpctmSettings s;
    s.freqsHz = {10.0, kRate / 2.0 - 0.1};
    s.resultMode = CSpctmSettings::ZScore;
    EXPECT_TRUE(rec.builder.setSpectrumSettings(0, s));
    s.cyclesDivisor = 10.0; // 1 cycle at 10 Hz
    EXPECT_TRUE(rec.builder.setSpectrumSettings(0, s));
    s.cyclesPerFreq = {1.0, 1000.0};
    EXPECT_TRUE(rec.builder.setSpectrumSettings(0, s));
    EXPECT_TRUE(rec.builder.addMegChannel(0, u"MEG4", megSensor(0.04)));
    const double freqs[2] = {10.0, 10.000001};
    ASSERT_TRUE(rec.builder.addTrial(0));
    EXPECT_TRUE(rec.builder.setSpectrumAxes(0, 2, 2, 3, 0.0, 4.9e8, freqs));
}

TEST(Builder, TakesAMovedVectorOnlyWhenItAcceptsIt) {
    SmallRecording rec;
    const auto raw = makeEpochs([](long long, double t) { return std::sin(60.0 * t); });
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 0, raw, kEpochs, kRate, kFirstMs));
    std::vector<double> samples = raw;
    samples[1] = 7.0;
    const double* memory = samples.data();
    EXPECT_FALSE(rec.builder.setChannelEpochs(0, 0, 1, std::move(samples), 2, kRate, kFirstMs));
    ASSERT_EQ(samples.size(), raw.size()); // refused: still the caller's
    EXPECT_EQ(samples[1], 7.0);
    EXPECT_TRUE(rec.trial().getChannel(1)->getRawData().empty());
    ASSERT_TRUE(
        rec.builder.setChannelEpochs(0, 0, 1, std::move(samples), kEpochs, kRate, kFirstMs));
    EXPECT_EQ(rec.trial().getChannel(1)->getRawData().data(), memory); // taken, not copied
    EXPECT_EQ(rec.trial().getChannel(1)->getRawData()[1], 7.0);
}

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

TEST(Builder, HeadFrameIsOrthonormalOrRefused) {
    CArrayMEDataSetzq data;
    CMEDataSetBuilder b(data);
    int s = 0;
    ASSERT_TRUE(b.addSession(&s));
    EXPECT_FALSE(data.getSessionData(s)->getHeadFrame().known);
    const double right[3] = {0.0, 0.0, 2.0};
    const double parallel[3] = {0.0, 0.0, -1.0};
    const double nan[3] = {NAN, 1.0, 0.0};
    EXPECT_FALSE(b.setHeadFrame(s, parallel, right));
    EXPECT_FALSE(b.setHeadFrame(s, nan, right));
    EXPECT_FALSE(b.setHeadFrame(s, right, nan));
    EXPECT_FALSE(data.getSessionData(s)->getHeadFrame().known) << "refusals change nothing";
    const double front[3] = {3.0, 0.0, 1.0}; // leans towards the right: made orthogonal
    ASSERT_TRUE(b.setHeadFrame(s, front, right));
    const CMEGData::HeadFrame& f = data.getSessionData(s)->getHeadFrame();
    EXPECT_TRUE(f.known);
    EXPECT_DOUBLE_EQ(f.front[0], 1.0);
    EXPECT_DOUBLE_EQ(f.front[2], 0.0);
    EXPECT_DOUBLE_EQ(f.right[2], 1.0);
}
