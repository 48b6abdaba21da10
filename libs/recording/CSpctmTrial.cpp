// Axes, group records and selected point of one spectrum trial.
#include "recording/CSpctmTrial.h"

#include <cmath>
#include <stdexcept>

CSumChnlSpctmDatazq* CSpctmTrial::getSumChnlSpctmData(int component) {
    return component >= 0 && component < 3 ? &m_sum[component] : nullptr;
}

int CSpctmTrial::getTrialSpctmSelectTimeFreqBB(long long& timeIndex, long long& freqIndex) const {
    if (m_nTime < 1 || m_freqsHz.empty()) {
        return 0;
    }
    timeIndex = m_selT;
    freqIndex = m_selF;
    return 1;
}

int CSpctmTrial::setTrialSpctmSelectTimeFreq(long long timeIndex, long long freqIndex) {
    if (timeIndex < 0 || timeIndex >= m_nTime || freqIndex < 0 ||
        freqIndex >= getTrialSpctmFreqPt()) {
        return 0;
    }
    m_selT = timeIndex;
    m_selF = freqIndex;
    m_selectByHost = true;
    return 1;
}

double CSpctmTrial::getFreqHz(long long f) const {
    const auto n = static_cast<long long>(m_freqsHz.size());
    if (n == 0) {
        return 0.0;
    }
    if (f >= 0 && f < n) {
        return m_freqsHz[static_cast<std::size_t>(f)];
    }
    if (n == 1) {
        return m_freqsHz[0] + static_cast<double>(f);
    }
    // Continue the spacing of the two frequencies at the nearer end.
    const long long a = f < 0 ? 0 : n - 2;
    const double step = m_freqsHz[a + 1] - m_freqsHz[a];
    return m_freqsHz[a] + step * static_cast<double>(f - a);
}

int CSpctmTrial::getTrialSpctmGivenFreqID4Hz(long long f0, long long f1, double& hz0,
                                             double& hz1) const {
    if (m_nTime < 1 || m_freqsHz.empty()) {
        return 0;
    }
    hz0 = getFreqHz(f0);
    hz1 = getFreqHz(f1);
    return 1;
}

int CSpctmTrial::getTrialSpctmTime2LatencyMsec(long long t0, long long t1, double& ms0,
                                               double& ms1) const {
    if (m_nTime < 1 || m_freqsHz.empty()) {
        return 0;
    }
    ms0 = getLatencyMs(t0);
    ms1 = getLatencyMs(t1);
    return 1;
}

int CSpctmTrial::setSpctmAxes(long long nTime, double firstLatencyMs, double stepMs,
                              const std::vector<double>& freqsHz) {
    clear();
    if (nTime < 1 || freqsHz.empty() || !(stepMs > 0.0) || !std::isfinite(stepMs) ||
        !std::isfinite(firstLatencyMs)) {
        return 0;
    }
    const auto nFreq = static_cast<long long>(freqsHz.size());
    for (auto& sum : m_sum) {
        if (!sum.resize(nTime, nFreq)) {
            clear();
            return 0;
        }
    }
    try {
        m_freqsHz = freqsHz;
    } catch (const std::exception&) {
        clear();
        return 0;
    }
    m_nTime = nTime;
    m_firstLatencyMs = firstLatencyMs;
    m_stepMs = stepMs;
    return 1;
}

void CSpctmTrial::clear() {
    for (auto& sum : m_sum) {
        sum.clear();
    }
    std::vector<double>().swap(m_freqsHz);
    m_nTime = 0;
    m_firstLatencyMs = 0.0;
    m_stepMs = 1.0;
    m_selT = 0;
    m_selF = 0;
}
