// Session layer that computes the spectra of its trials (Morlet wavelets through FFTW; the
// definition is in CSpctmSettings.h).
#pragma once

#include "recording/CMEGData3Spctm.h"
#include "recording/CSpctmOutcome.h"

#include <functional>
#include <string>
#include <vector>

class CMEGData4SpctmProcess : public CMEGData3Spctm {
public:
    // Told after each channel of a trial with raw epochs is transformed: done of total channels
    // (those with raw epochs, over every trial computed). Called on the computing threads, one
    // call at a time, with done rising by one from 1 to total; it must not throw.
    using ChannelProgress = std::function<void(long long done, long long total)>;

    // Recompute the spectra of every channel and class, and the group records, of one trial
    // (null: of every trial of the session). A trial of handed-in spectra keeps them and only
    // gets its group records rebuilt. keepHostChoice true (what the windows' "Update", "Check
    // Spectrum..." and "Raw Data" pass) keeps the host's selected point where the new grid
    // holds its latency and frequency; false moves every selected point to the largest group
    // RMS. All or nothing: every trial is checked (timing, windows,
    // settings, the memory of the session's spectra) and computed into new storage that
    // replaces the old spectra only when all succeeded; 1 then. 0 (see getLastError) leaves
    // every trial as it was. progress, when given, hears of each channel transformed.
    int computTrialSpctmAllPro(CMDTrialzq* trial, bool keepHostChoice,
                               const ChannelProgress& progress = {});

    // The group record of the class and component of the trial, computed first when the trial
    // has none in any class (or always with force): a class the trial has no spectra for, such
    // as Control without a Control window, stays empty without a recomputation per call.
    // resetSelect true drops the host's selected point (keepHostChoice false above); reloadRaw
    // drops the spectra first (reloadSpctmDataAll); allTrials computes every trial of the session,
    // not just this one. Null when the trial is null or class or component is out of range; the
    // record stays empty when nothing can be computed.
    CSumChnlSpctmDatazq* computTrialSpctm(CMDTrialzq* trial, bool force, bool resetSelect,
                                          bool reloadRaw, bool allTrials, int spectralClass,
                                          int component);

    // Why the last computation failed; empty after a success.
    const std::string& getLastError() const { return m_lastError; }
    // The channels the last successful computation left without usable spectra or computed
    // from fewer epochs, by trial and channel; empty after a failure.
    const std::vector<CSpctmOutcome>& getLastOutcomes() const { return m_lastOutcomes; }

private:
    std::string m_lastError;
    std::vector<CSpctmOutcome> m_lastOutcomes;
};
