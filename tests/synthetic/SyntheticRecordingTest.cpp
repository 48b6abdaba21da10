// The synthetic recording: reproducible, sized as asked, refusing nonsense, and carrying the
// alpha desynchronisation it promises.
#include "synthetic/CSyntheticRecording.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

CSyntheticRecording::Options small() {
    CSyntheticRecording::Options o;
    o.megChannels = 12;
    o.eegChannels = 6;
    o.epochs = 2;
    o.computeSpectra = false;
    return o;
}

CMDTrialzq* firstTrial(CArrayMEDataSetzq& data) {
    CMEGDatazq* session = data.getSessionData(0);
    return session ? session->getTrialzq(0) : nullptr;
}

TEST(SyntheticRecording, SameSeedSameSamples) {
    CSyntheticRecording a(small()), b(small());
    auto o = small();
    o.seed += 1;
    CSyntheticRecording c(o);
    auto da = a.build(), db = b.build(), dc = c.build();
    ASSERT_TRUE(da && db && dc) << a.getError();
    CMDTrialzq* ta = firstTrial(*da);
    CMDTrialzq* tb = firstTrial(*db);
    CMDTrialzq* tc = firstTrial(*dc);
    ASSERT_EQ(ta->getTotalChannel(), 18);
    for (int ch = 0; ch < ta->getTotalChannel(); ++ch) {
        const auto& raw = ta->getChannel(ch)->getRawData();
        ASSERT_EQ(raw.size(), 2u * 1200u);
        EXPECT_EQ(raw, tb->getChannel(ch)->getRawData());
        EXPECT_NE(raw, tc->getChannel(ch)->getRawData());
    }
}

TEST(SyntheticRecording, SizesAndLayoutsAreSettable) {
    auto o = small();
    o.layouts = {"ctf274", "eeg1010"};
    o.megChannels = 30;
    o.eegChannels = -1;
    o.trials = 2;
    o.epochs = 3;
    o.samplesPerEpoch = 900;
    o.samplingRateHz = 300.0;
    o.firstLatencyMs = -1000.0;
    o.freqsHz = {8.0, 12.0, 40.0};
    o.computeSpectra = true;
    CSyntheticRecording recording(o);
    auto data = recording.build();
    ASSERT_TRUE(data) << recording.getError();
    CMEGDatazq* session = data->getSessionData(0);
    ASSERT_EQ(session->getTrialCount(), 2);
    CMDTrialzq* trial = session->getTrialzq(1);
    EXPECT_EQ(trial->getTotalChannel(), 30 + 87);
    EXPECT_EQ(trial->getEpochCount(), 3);
    EXPECT_EQ(trial->getEpochLength(), 900);
    EXPECT_EQ(trial->getChannel(0)->getChannelType(), CMDChannel0SensorInfo::MegSensor);
    EXPECT_EQ(trial->getChannel(30)->getChannelType(), CMDChannel0SensorInfo::EegElectrode);
    // The units the samples are generated in.
    EXPECT_EQ(trial->getChannel(0)->unit, u"fT");
    EXPECT_EQ(trial->getChannel(30)->unit, u"\u00B5V");
    long long nTime = 0, nFreq = 0;
    CSpctmChnlzq* spectrum = trial->getChannel(5)->getSpctmChnl(false, 0);
    ASSERT_NE(spectrum, nullptr);
    EXPECT_NE(spectrum->getSpctmDataPtr(2, &nTime, &nFreq), nullptr);
    EXPECT_EQ(nFreq, 3);
}

// Mean power at frequency index f over all time points of a class, averaged over the
// channels behind the head (y < -0.06 m).
double occipitalPower(CMDTrialzq* trial, int spectralClass, int f) {
    double sum = 0.0;
    int n = 0;
    for (int ch = 0; ch < trial->getTotalChannel(); ++ch) {
        CMDChannelzq* channel = trial->getChannel(ch);
        double pos[3];
        CSpctmChnlzq* spectrum = channel->getSpctmChnl(false, spectralClass);
        if (!channel->getChannelPositionD(pos) || pos[1] > -0.06 || !spectrum)
            continue;
        long long nTime = 0, nFreq = 0;
        const double* grid = spectrum->getSpctmDataPtr(2, &nTime, &nFreq);
        for (long long t = 0; grid && t < nTime; ++t, ++n)
            sum += grid[t * nFreq + f];
    }
    return n ? sum / n : 0.0;
}

TEST(SyntheticRecording, OccipitalAlphaDesynchronisesInTheActiveWindow) {
    CSyntheticRecording::Options o;
    o.epochs = 4;
    o.freqsHz = {6.0, 10.0, 20.0};
    CSyntheticRecording recording(o);
    auto data = recording.build();
    ASSERT_TRUE(data) << recording.getError();
    CMDTrialzq* trial = firstTrial(*data);
    const double active = occipitalPower(trial, 0, 1), control = occipitalPower(trial, 1, 1);
    EXPECT_GT(active, 0.0);
    EXPECT_GT(control, 2.0 * active);
}

struct BadCase {
    const char* what;
    void (*spoil)(CSyntheticRecording::Options&);
    const char* message;
};

class SyntheticRefusal : public testing::TestWithParam<BadCase> {};

TEST_P(SyntheticRefusal, SaysWhy) {
    auto o = small();
    GetParam().spoil(o);
    CSyntheticRecording recording(o);
    EXPECT_EQ(recording.build(), nullptr);
    EXPECT_NE(recording.getError().find(GetParam().message), std::string::npos)
        << recording.getError();
}

INSTANTIATE_TEST_SUITE_P(
    Options, SyntheticRefusal,
    testing::Values(
        BadCase{"epochs", [](auto& o) { o.epochs = 0; }, "epochs"},
        BadCase{"trials", [](auto& o) { o.trials = -3; }, "trials"},
        BadCase{"samples", [](auto& o) { o.samplesPerEpoch = 5; }, "samples per epoch"},
        BadCase{"rate", [](auto& o) { o.samplingRateHz = std::nan(""); }, "sampling rate"},
        BadCase{"window", [](auto& o) { o.activeEndMs = 5000.0; }, "windows"},
        BadCase{"channels", [](auto& o) { o.megChannels = 400; }, "asked for 400 MEG"},
        BadCase{"none", [](auto& o) { o.megChannels = o.eegChannels = 0; }, "no channels"},
        BadCase{"huge",
                [](auto& o) {
                    o.epochs = 100000;
                    o.samplesPerEpoch = 10000000;
                },
                "exceeds"},
        BadCase{"layout", [](auto& o) { o.layouts = {"/nonexistent.elc"}; }, "cannot open"},
        BadCase{"frequency", [](auto& o) { o.freqsHz = {-4.0}; }, "frequency"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
