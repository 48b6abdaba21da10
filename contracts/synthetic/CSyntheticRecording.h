// A deterministic synthetic MEG/EEG recording: real sensor layouts, epochs of spatially
// structured oscillations over 1/f noise, and the spectra computed from them. It is the
// default data set of the demo and the tests.
//
// Activity, time in ms after the stimulus at 0 (each epoch draws its own phases and small
// frequency, amplitude and latency jitter from the seed):
// - occipital alpha near 10 Hz that desynchronises from 0 to about 800 ms;
// - central (both hemispheres) beta near 20 Hz, suppressed from 50 to 450 ms and rebounding
//   above its baseline around 650 ms;
// - a focal right occipito-parietal gamma burst near 50 Hz around 200 ms;
// - independent 1/f (pink) noise on every channel.
// Units (each channel's `unit`): magnetometers fT, planar gradiometers fT/cm, EEG electrodes
// µV.
#pragma once

#include "recording/CArrayMEDataSetzq.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CSyntheticRecording {
public:
    struct Options {
        unsigned long long seed = 20240917;
        // Where channels come from, in order: a built-in layout ("meg306-neuromag", "ctf274",
        // "eeg64-biosemi"), "eeg1010" for the 10-10 electrodes on a head sphere, or the path of
        // a layout file (any format CSensorLayout reads).
        std::vector<std::string> layouts = {"meg306-neuromag", "eeg64-biosemi"};
        // Channels kept of each type, spread evenly over the layouts; -1 keeps all.
        int megChannels = -1;
        int eegChannels = -1;
        int trials = 1;
        int epochs = 8;
        int samplesPerEpoch = 1200;
        double samplingRateHz = 500.0;
        double firstLatencyMs = -1200.0;
        double controlStartMs = -800.0; // pre-stimulus baseline
        double controlEndMs = 0.0;
        double activeStartMs = 0.0;
        double activeEndMs = 800.0;
        // Spectrum frequencies; empty takes the recording library's default.
        std::vector<double> freqsHz;
        double cycles = 7.0;
        double timeStepMs = 10.0;
        // false leaves the raw epochs without spectra.
        bool computeSpectra = true;
    };

    CSyntheticRecording() = default;
    explicit CSyntheticRecording(Options options) : m_options(std::move(options)) {}

    Options& options() { return m_options; }
    const Options& options() const { return m_options; }

    // A new data set with one session holding the recording; null with getError() saying why
    // (bad sizes, unreadable layouts, input the data set refuses).
    std::unique_ptr<CArrayMEDataSetzq> build();
    const std::string& getError() const { return m_error; }

private:
    Options m_options;
    std::string m_error;
};
