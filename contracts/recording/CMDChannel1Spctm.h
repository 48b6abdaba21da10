// Channel layer holding the channel's raw epochs and its spectrum per spectral class.
#pragma once

#include "recording/CMDChannel0SensorInfo.h"
#include "recording/CSpctmChnlzq.h"

#include <utility>
#include <vector>

class CMDChannel1Spctm : public CMDChannel0SensorInfo {
public:
    // Spectrum of class 0 (Active), 1 (Control) or 2 (Result). With evenIfEmpty false, null
    // also when that spectrum holds no grid, so that "has a spectrum" is one test.
    CSpctmChnlzq* getSpctmChnl(bool evenIfEmpty, int spectralClass);

    // Raw samples, epoch after epoch; the trial gives epoch count, length and sampling rate.
    const std::vector<double>& getRawData() const { return m_raw; }
    void setRawData(std::vector<double> samples) { m_raw = std::move(samples); }

private:
    CSpctmChnlzq m_spctm[3];
    std::vector<double> m_raw;
};
