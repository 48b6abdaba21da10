// Session layer that computes the spectra of its trials (Morlet wavelets through FFTW; the
// definition is in CSpctmSettings.h).
#pragma once

#include "recording/CMEGData3Spctm.h"

#include <string>

class CMEGData4SpctmProcess : public CMEGData3Spctm {
public:
    // Recompute the spectra of every channel and class, and the group records, of one trial
    // (null: of every trial of the session). A trial without raw epochs keeps its spectra and
    // only gets its group records rebuilt. resetSelect true moves each selected point back to
    // the largest group RMS even where the host chose it. 1 on success; 0 when a trial could
    // not be computed (see getLastError), which then holds no spectra.
    int computTrialSpctmAllPro(CMDTrialzq* trial, bool resetSelect);

    // The group record of the class and component of the trial, computed first when it is
    // empty (or always with force). resetSelect as above; reloadRaw drops the spectra first
    // (reloadSpctmDataAll); allTrials computes every trial of the session, not just this one.
    // Null when the trial is null or class or component is out of range; the record stays
    // empty when nothing can be computed.
    CSumChnlSpctmDatazq* computTrialSpctm(CMDTrialzq* trial, bool force, bool resetSelect,
                                          bool reloadRaw, bool allTrials, int spectralClass,
                                          int component);

    // Why the last computation failed; empty after a success.
    const std::string& getLastError() const { return m_lastError; }

private:
    std::string m_lastError;
};
