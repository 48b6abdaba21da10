// Session layer holding the spectrum settings and the latency look-up of spectrum indices.
#pragma once

#include "recording/CMEGData.h"
#include "recording/CSpctmSettings.h"

class CMEGData3Spctm : public CMEGData {
public:
    // Latencies in ms of time indices t0 and t1 of the current trial's spectrum of the class
    // (indices beyond the grid extrapolate along the time axis). The component is accepted for
    // symmetry with the other queries: all components share one time axis. 0 (outputs
    // untouched) when there is no current trial or no spectrum of the class, or the component
    // is out of range.
    int getTrialSpctmGivenTime2LatencyMsec(long long t0, long long t1, double& ms0, double& ms1,
                                           int spectralClass, int component);

    const CSpctmSettings& getSpctmSettings() const { return m_settings; }
    // Stored as given; the computation refuses settings it cannot use (the builder explains).
    void setSpctmSettings(const CSpctmSettings& settings) { m_settings = settings; }

private:
    CSpctmSettings m_settings;
};
