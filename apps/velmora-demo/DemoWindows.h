// The demo's windows: the facade opens the single-channel window, the contour map and the
// parameters window of one spectral class; they run interactively or are painted headlessly
// into PNG files, and the contour map's animation can be swept into pictures or a movie.
#pragma once

#include <ostream>
#include <string>

class CArrayMEDataSetzq;

struct DemoWindowOptions {
    std::string snapshotDir; // empty: interactive
    bool eeg = false;        // the EEG contour map instead of the MEG one
    int spectralClass = 0;   // 0 Active, 1 Control, 2 Result
    int sweepTicks = 0;      // animation ticks to sweep headlessly (0: none)
    std::string movieFile;   // the sweep also goes into this movie
};

// Interactive: returns when the last window closes. Otherwise writes the snapshots (and the
// sweep) and returns. The exit status.
int runDemoWindows(CArrayMEDataSetzq& data, const DemoWindowOptions& options, std::ostream& log);
