// One channel that a spectrum computation left without usable spectra, or computed from only
// some of its epochs, and why. Hosts list these to the person; the display library shows what
// is there.
#pragma once

#include <cstdint>
#include <string>

struct CSpctmOutcome {
    enum Kind : std::uint8_t {
        NoEpochs,      // raw trial: the channel has no raw epochs, so no spectra
        NoUsableEpoch, // every epoch holds a non-finite or overflowing sample: spectra all NaN
        EpochsLeftOut, // some epochs held such samples; the spectra average the others
        NoSpectrum,    // handed-in trial: no spectrum given for a class that has axes
        NoFiniteValue  // the class's power holds no finite value
    };

    int trial = 0;
    int channel = 0;
    int spectralClass = -1; // 0..2, or -1 for every class
    Kind kind = NoEpochs;
    std::string label;  // the channel's label, UTF-8
    std::string reason; // one sentence for a person
};
