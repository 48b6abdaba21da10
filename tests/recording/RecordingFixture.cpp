// The tests' small recording.
#include "RecordingFixture.h"

#include <gtest/gtest.h>

namespace recording_test {

std::vector<double> makeEpochs(const std::function<double(long long, double)>& sample) {
    std::vector<double> v;
    for (long long e = 0; e < kEpochs; ++e) {
        for (long long i = 0; i < kSamples; ++i) {
            v.push_back(sample(e, (kFirstMs + 1000.0 * static_cast<double>(i) / kRate) / 1000.0));
        }
    }
    return v;
}

CMEGSensorzq megSensor(double x) {
    CMEGSensorzq s("MEG" + std::to_string(static_cast<int>(x * 100)), CMEGSensor::Magnetometer);
    const double pos[3] = {x, 0.0, 0.1};
    const double nrm[3] = {0.0, 0.0, 1.0};
    s.addCoil(CBscMagSnszq(pos, nrm));
    return s;
}

CSpctmSettings coarse() {
    CSpctmSettings s;
    s.freqsHz = {10.0, 14.0, 20.0, 30.0};
    s.timeStepMs = 20.0;
    return s;
}

CEEGelectrodezq eegElectrode() {
    const double pos[3] = {0.0, 0.09, 0.0};
    return CEEGelectrodezq("Cz", pos);
}

SmallRecording::SmallRecording() {
    EXPECT_TRUE(builder.addSession());
    EXPECT_TRUE(builder.addTrial(0));
    for (int c = 0; c < 3; ++c) {
        EXPECT_TRUE(builder.addMegChannel(0, u"", megSensor(0.01 * (c + 1))));
    }
    EXPECT_TRUE(builder.addEegChannel(0, u"", eegElectrode()));
}

void SmallRecording::computeWith(const std::function<double(long long, double)>& sample,
                                 const CSpctmSettings& settings) {
    ASSERT_TRUE(builder.setSpectrumSettings(0, settings));
    const std::vector<double> raw = makeEpochs(sample);
    for (int c = 0; c < kChannels; ++c) {
        ASSERT_TRUE(builder.setChannelEpochs(0, 0, c, raw, kEpochs, kRate, kFirstMs));
    }
    ASSERT_TRUE(builder.setWindows(0, 0, 300.0, 900.0, -900.0, -300.0));
    const auto r = builder.computeSpectra(0);
    ASSERT_TRUE(r) << r.message;
}

} // namespace recording_test
