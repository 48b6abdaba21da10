// Spectra as a file holds them, before they go into a data set.
#pragma once

#include <string>
#include <vector>

struct CSpectraSource {
    std::string format;              // "npy" or "mne-tfr-h5"
    std::vector<std::string> labels; // one per channel
    std::vector<std::string> units;  // one per channel; "" where the file gives none
    std::vector<double> freqsHz;
    std::vector<double> timesSec;
    bool complex = false;
    // Channel, then frequency, then time (time fastest); complex values as real, imaginary
    // pairs.
    std::vector<double> values;
};
