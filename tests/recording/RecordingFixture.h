// A small recording for the tests: one session, one trial, three MEG channels and one EEG
// channel, epochs of 2 s at 250 Hz from -1000 ms, Control -900..-300 ms, Active 300..900 ms.
#pragma once

#include "recording/CMEDataSetBuilder.h"

#include <functional>
#include <vector>

namespace recording_test {

constexpr double kRate = 250.0;
constexpr double kFirstMs = -1000.0;
constexpr long long kSamples = 500;
constexpr long long kEpochs = 4;
constexpr int kChannels = 4; // 0..2 MEG, 3 EEG

// Epochs of one channel; sample(epoch, latency in s) gives each value.
std::vector<double> makeEpochs(const std::function<double(long long, double)>& sample);
CMEGSensorzq megSensor(double x);
CEEGelectrodezq eegElectrode();
// Four frequencies (10, 14, 20, 30 Hz) on a 20 ms grid: spectra that are quick to compute.
CSpctmSettings coarse();

// Builds the layout (channels without data) into `data`; the builder refers to it.
struct SmallRecording {
    CArrayMEDataSetzq data;
    CMEDataSetBuilder builder{data};

    SmallRecording();
    CMEGDatazq& session() { return *data.getSessionData(-1); }
    CMDTrialzq& trial() { return *session().getTrialzq(-1); }
    // Same raw epochs on every channel, windows set, spectra computed.
    void computeWith(const std::function<double(long long, double)>& sample,
                     const CSpctmSettings& settings = {});
};

} // namespace recording_test
