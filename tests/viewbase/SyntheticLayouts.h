// The default synthetic recording (Neuromag 306 MEG and BioSemi 64 EEG) without spectra, or
// with spectra for a few channels, as the sensor-scene tests use it.
#pragma once

#include "recording/CArrayMEDataSetzq.h"
#include "synthetic/CSyntheticRecording.h"

#include <memory>

inline std::unique_ptr<CArrayMEDataSetzq> makeLayouts(bool spectra = false) {
    CSyntheticRecording::Options o;
    o.computeSpectra = spectra;
    // The shortest epoch that holds the Control and Active windows (-1200 to 800 ms).
    o.epochs = 1;
    o.samplingRateHz = 250.0;
    o.samplesPerEpoch = 501;
    if (spectra) {
        o.megChannels = 12;
        o.eegChannels = 8;
    }
    return CSyntheticRecording(o).build();
}
