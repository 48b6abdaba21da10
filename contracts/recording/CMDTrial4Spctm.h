// Trial layer holding the spectrum trials, the Active and Control windows, and the range
// queries the displays use to fit their colour scales.
#pragma once

#include "recording/CMDTrial.h"
#include "recording/CSpctmTrialzq.h"

// Range queries skip non-finite values (NaN, infinity). They write minimum, maximum and, as
// the third output, the mean of the values visited; any output may be null. They return 0 and
// write nothing when the class, component or display choice is out of range, or when no finite
// value is found.
class CMDTrial4Spctm : public CMDTrial {
public:
    // Spectrum trial of class 0..2. With evenIfEmpty false, null also when it has no axes.
    CSpctmTrialzq* getSpctmTrial(bool evenIfEmpty, int spectralClass);

    // Range over the channels' own grids of the class and component. flag nonzero: every
    // channel; flag 0: only the channels of the current channel's type (MEG or EEG), whose
    // units differ from the other type's by orders of magnitude.
    int getSpctmRangeAllChann(double* minimum, double* maximum, double* mean, int flag,
                              int spectralClass, int component);
    // Range of the grid the channel shows under display choice 0..6 (0: the channel's own
    // spectrum, channel -1 the current one; 1..6: the group grids). wholeGrid true: the whole
    // grid; false: only the row of the trial's selected frequency. The Abs variant ranges over
    // magnitudes, the other over signed values.
    int getSpctmRange4OneChnlShowAbs(int showSource, int channel, double* minimum, double* maximum,
                                     double* mean, bool wholeGrid, int spectralClass,
                                     int component);
    int getSpctmRange4OneChnlShow(int showSource, int channel, double* minimum, double* maximum,
                                  double* mean, bool wholeGrid, int spectralClass, int component);
    // Make sure the current channel has a spectrum of the class: if it has none, the first
    // channel that has one becomes current. The index of the current channel afterwards, -1
    // when no channel has one (or the component is out of range).
    int findSpctmChnl4Show(int spectralClass, int component);

    // Drop the computed spectra so that the next computation starts again from the raw epochs;
    // the host's choices of selected point are remembered for it. A trial of handed-in
    // spectra keeps them. Returns 1.
    int reloadSpctmDataAll();

    // Active and Control windows as latency ranges in ms (inclusive). A trial with only an
    // Active window has plain power there and no Control or Result spectra.
    bool hasSpctmWindows() const { return m_hasWindows; }
    bool hasControlWindow() const { return m_hasWindows && m_hasControl; }
    double getWindowStartMs(int spectralClass) const;
    double getWindowEndMs(int spectralClass) const;
    void setSpctmWindows(double activeStartMs, double activeEndMs, double controlStartMs,
                         double controlEndMs);
    void setSpctmActiveWindow(double startMs, double endMs);

    // Whether the trial's spectra are handed in by the host (not computed here); such a trial
    // takes no raw epochs.
    bool isSpctmFromHost() const { return m_fromHost; }
    void setSpctmFromHost(bool fromHost) { m_fromHost = fromHost; }

private:
    int rangeOfShown(int showSource, int channel, double* minimum, double* maximum, double* mean,
                     bool wholeGrid, bool magnitude, int spectralClass, int component);

    CSpctmTrialzq m_spctm[3];
    bool m_hasWindows = false;
    bool m_hasControl = false;
    bool m_fromHost = false;
    double m_win[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
};
