// The demo's windows: the facade opens the single-channel window, the contour map and the
// parameters window of one spectral class; they run interactively or are painted headlessly
// into PNG files, and the contour map's animation can be swept into pictures or a movie.
#pragma once

#include <limits>
#include <ostream>
#include <string>

class CArrayMEDataSetzq;
class CVelmoraFacezq;

struct DemoWindowOptions {
    // sensorKind before a choice: magnetometers when the MEG sensors are of several kinds.
    static constexpr int kDefaultSensors = -2;

    std::string snapshotDir;          // empty: interactive
    bool eeg = false;                 // the EEG contour map instead of the MEG one
    int sensorKind = kDefaultSensors; // MEG sensors of the map: -1 all, 0 mag, 1 grad, 2 axial
    int spectralClass = 0;            // 0 Active, 1 Control, 2 Result
    int sweepTicks = 0;               // animation ticks to sweep headlessly (0: none)
    std::string movieFile;            // the sweep also goes into this movie
    std::string channel; // the single-channel window's channel; empty: the strongest of the map
    // The contour map's window in ms and Hz, inclusive; NaN: the whole epoch on the alpha band.
    double tminMs = std::numeric_limits<double>::quiet_NaN();
    double tmaxMs = std::numeric_limits<double>::quiet_NaN();
    double fminHz = std::numeric_limits<double>::quiet_NaN();
    double fmaxHz = std::numeric_limits<double>::quiet_NaN();
};

// Opens the single-channel window, the contour map and the parameters window of the class
// through face, on the alpha band; false, with the reason on log, when one cannot be opened.
// Needs the application object (AfxWinInit).
bool openDemoWindows(CVelmoraFacezq& face, CArrayMEDataSetzq& data,
                     const DemoWindowOptions& options, std::ostream& log);

// Interactive on a display: returns when the user has closed the last window. Headless (a
// snapshot folder given, or no display that can be opened; then into "snapshots"): writes the
// snapshots (and the sweep) and returns. The exit status.
int runDemoWindows(CArrayMEDataSetzq& data, const DemoWindowOptions& options, std::ostream& log);
