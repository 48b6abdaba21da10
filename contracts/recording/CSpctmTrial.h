// One trial's spectra of one spectral class: the time and frequency axes shared by all
// channels, one group record per data component and the selected time-frequency point.
#pragma once

#include "recording/CSumChnlSpctmDatazq.h"

#include <vector>

class CSpctmTrial {
public:
    long long getTrialSpctmTimePt() const { return m_nTime; }
    int getTrialSpctmFreqPt() const { return static_cast<int>(m_freqsHz.size()); }

    // Group record of component 0..2, null otherwise.
    CSumChnlSpctmDatazq* getSumChnlSpctmData(int component);

    // The selected point: time index, then frequency index. 0 (outputs untouched) when the
    // grid is empty: an empty trial has no selection.
    int getTrialSpctmSelectTimeFreqBB(long long& timeIndex, long long& freqIndex) const;
    // Host choice of the selected point, remembered as its latency and frequency: it survives
    // a recomputation (also one after clearKeepingHostChoice) whose grid still holds that
    // latency and frequency, unless the computation is asked to reset it. 0 when outside the
    // grid.
    int setTrialSpctmSelectTimeFreq(long long timeIndex, long long freqIndex);
    // Whether the selected point is the host's choice; false on an empty trial.
    bool isSelectSetByHost() const { return m_hostChoice && !isEmpty(); }
    // Select the point the host chose on `previous` (the trial this one replaces) where this
    // grid holds its latency (within 1e-6 ms) and frequency. 0 (nothing changes) when there
    // is no such choice or point.
    int takeHostChoice(const CSpctmTrial& previous);

    // Frequencies in Hz of two frequency indices. Indices beyond the grid extrapolate with the
    // spacing of the nearest two frequencies (1 Hz when there is only one). 0 when empty.
    int getTrialSpctmGivenFreqID4Hz(long long f0, long long f1, double& hz0, double& hz1) const;
    // Latencies in ms of two time indices; beyond the grid the time step continues. 0 when
    // empty.
    int getTrialSpctmTime2LatencyMsec(long long t0, long long t1, double& ms0, double& ms1) const;

    double getFreqHz(long long f) const;
    double getLatencyMs(long long t) const { return m_firstLatencyMs + m_stepMs * t; }
    double getTimeStepMs() const { return m_stepMs; }
    const std::vector<double>& getFreqsHz() const { return m_freqsHz; }

    // Set the axes and size the group records (contents zero); the selection becomes (0, 0),
    // not the host's. 0 on counts below 1, a non-positive or non-finite step, or no memory;
    // then nothing changes.
    int setSpctmAxes(long long nTime, double firstLatencyMs, double stepMs,
                     const std::vector<double>& freqsHz);
    // Back to empty (no axes, empty records, no selection, no host choice).
    void clear();
    // Back to empty like clear(), but the host's choice is remembered for takeHostChoice.
    void clearKeepingHostChoice();
    void swap(CSpctmTrial& other) noexcept;

protected:
    bool isEmpty() const { return m_nTime < 1 || m_freqsHz.empty(); }
    // Select a point of the trial's own choosing (the host's choice is forgotten).
    void selectOwnPoint(long long timeIndex, long long freqIndex);

private:
    long long m_selT = 0;
    long long m_selF = 0;
    bool m_hostChoice = false;
    double m_hostLatencyMs = 0.0;
    double m_hostFreqHz = 0.0;
    long long m_nTime = 0;
    double m_firstLatencyMs = 0.0;
    double m_stepMs = 1.0;
    std::vector<double> m_freqsHz;
    CSumChnlSpctmDatazq m_sum[3];
};
