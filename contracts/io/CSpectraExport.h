// The computed spectra of a data set saved for MNE-Python: the power of each spectral class
// that holds spectra (Active, Control, Result) of the current trial, one class per
// condition or folder named active, control and result (docs/IO.md gives the layouts).
//
// - A path ending in "-tfr.h5" or "_tfr.h5" becomes one MNE-Python time-frequency file in the
//   layout AverageTFR.save writes (h5io's), which mne.time_frequency.read_tfrs opens as a list
//   of AverageTFR, one per class, with the channels' names, types and positions, times in
//   seconds and frequencies in Hz.
// - Any other path becomes a folder holding a NumPy folder per class (path/active/power.npy,
//   freqs.npy, times.npy, ch_names.txt), as CSpectraImport reads them.
// Power keeps the data set's units (the square of the channel's unit). Everything is written
// under a temporary name next to the path and renamed at the end, so a failed or interrupted
// write never leaves a file or folder under the path; an existing path is not replaced.
#pragma once

#include "io/CIoResult.h"
#include "recording/CArrayMEDataSetzq.h"

#include <string>
#include <vector>

class CSpectraExport {
public:
    struct Report {
        std::string format;               // "npy" or "mne-tfr-h5"
        std::vector<std::string> classes; // written, in order: "active", "control", "result"
    };

    // Whether the path names an MNE-Python time-frequency file (ends in -tfr.h5 or _tfr.h5).
    static bool isMneTfrPath(const std::string& path);

    // Write the spectra of the data set's current trial to path; on failure nothing exists
    // under path and the message names it and the problem.
    CIoResult write(CArrayMEDataSetzq& data, const std::string& path);
    const Report& report() const { return m_report; }

private:
    Report m_report;
};
