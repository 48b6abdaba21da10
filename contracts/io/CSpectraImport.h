// Spectra computed elsewhere made into a data set: one session with one trial holding the
// placed channels and their spectra as one spectral class, handed in through
// CMEDataSetBuilder::setSpectrumAxes and setChannelSpectrum, group records computed.
//
// Sources (docs/IO.md gives the layouts):
// - a folder with power.npy (channels x frequencies x times; float32, float64, complex64 or
//   complex128; C or Fortran order), freqs.npy (Hz), times.npy (s), ch_names.txt;
// - an MNE-Python *-tfr.h5 file (AverageTFR.save).
// Real values are power: the real and imaginary components are then unknown and hold NaN.
// Complex values are coefficients: real and imaginary parts as given, power |z|^2. Times must
// be evenly spaced and frequencies increasing. A failed build leaves the target as it was.
#pragma once

#include "io/CIoProgress.h"
#include "io/CIoResult.h"
#include "io/CMontageOptions.h"
#include "recording/CArrayMEDataSetzq.h"

#include <string>
#include <vector>

class CSpectraImport {
public:
    struct Options {
        std::string path; // the folder of .npy arrays, or the -tfr.h5 file
        // Of an -tfr.h5 file holding several: the condition (its comment); empty takes the
        // first.
        std::string condition;
        // Which class the spectra fill: 0 Active, 1 Control, 2 Result (for spectra already
        // contrasted with a baseline, such as MNE's apply_baseline).
        int spectralClass = 0;
        CMontageOptions montage;
        CIoProgress::Callback progress;
    };

    struct Report {
        std::string format;                  // "npy" or "mne-tfr-h5"
        std::vector<std::string> conditions; // of an -tfr.h5 file
        bool complex = false;
        long long timePoints = 0;
        long long frequencies = 0;
        double firstLatencyMs = 0.0;
        double stepMs = 0.0;
        std::vector<std::string> channels;        // the data set's channels, in order
        std::vector<std::string> droppedChannels; // no position (with dropUnplaced)
    };

    CSpectraImport() = default;
    explicit CSpectraImport(Options options) : m_options(std::move(options)) {}

    Options& options() { return m_options; }
    const Options& options() const { return m_options; }

    // Replace the target's contents with the new data set; on failure the target is unchanged
    // and the message names the file and the problem.
    CIoResult build(CArrayMEDataSetzq& target);
    const Report& report() const { return m_report; }

private:
    Options m_options;
    Report m_report;
};
