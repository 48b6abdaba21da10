// Spectrum trial layer that derives the group records and the default selected point from the
// channels' spectra.
#pragma once

#include "recording/CSpctmChnl.h"
#include "recording/CSpctmTrial.h"

class CSpctmTrial03Process : public CSpctmTrial {
public:
    // Nonzero when the spectra are averages over epochs (computed from raw epochs, or handed
    // in by a host that says so).
    int isAccumSpctm() const { return m_accum; }
    void setAccumSpctm(int accumulated) { m_accum = accumulated; }

    // Recompute the three group records from the channel spectra (null or empty entries and
    // spectra of another size are left out). Non-finite values are skipped point by point.
    // 0 when the axes are empty.
    int updateSumChnlSpctm(const CSpctmChnl* const* spectra, int count);
    // Move the selected point to the largest finite group RMS of the power component, unless
    // the host chose it and keepHostChoice is true. 0 when there is no finite value.
    int selectMaxRmsPoint(bool keepHostChoice);
    // Exchange contents (axes, records, selection, accumulation flag) with another trial.
    void swap(CSpctmTrial03Process& other) noexcept;

private:
    int m_accum = 0;
};
