// Axes, group records and selected point of one spectrum trial.
#include "recording/CSpctmTrial.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

CSumChnlSpctmDatazq* CSpctmTrial::getSumChnlSpctmData(int component) {
    return component >= 0 && component < 3 ? &m_sum[component] : nullptr;
}

int CSpctmTrial::getTrialSpctmSelectTimeFreqBB(long long& timeIndex, long long& freqIndex) const {
    if (isEmpty()) {
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
    m_hostChoice = true;
    m_hostLatencyMs = getLatencyMs(timeIndex);
    m_hostFreqHz = m_freqsHz[static_cast<std::size_t>(freqIndex)];
    return 1;
}

int CSpctmTrial::takeHostChoice(const CSpctmTrial& previous) {
    if (!previous.m_hostChoice || isEmpty()) {
        return 0;
    }
    const double t = std::round((previous.m_hostLatencyMs - m_firstLatencyMs) / m_stepMs);
    const auto f = std::find(m_freqsHz.begin(), m_freqsHz.end(), previous.m_hostFreqHz);
    if (!(t >= 0.0 && t < static_cast<double>(m_nTime)) || f == m_freqsHz.end() ||
        std::fabs(getLatencyMs(static_cast<long long>(t)) - previous.m_hostLatencyMs) > 1e-6) {
        return 0;
    }
    m_selT = static_cast<long long>(t);
    m_selF = f - m_freqsHz.begin();
    m_hostChoice = true;
    m_hostLatencyMs = previous.m_hostLatencyMs;
    m_hostFreqHz = previous.m_hostFreqHz;
    return 1;
}

void CSpctmTrial::selectOwnPoint(long long timeIndex, long long freqIndex) {
    m_selT = timeIndex;
    m_selF = freqIndex;
    m_hostChoice = false;
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
    if (isEmpty()) {
        return 0;
    }
    hz0 = getFreqHz(f0);
    hz1 = getFreqHz(f1);
    return 1;
}

int CSpctmTrial::getTrialSpctmTime2LatencyMsec(long long t0, long long t1, double& ms0,
                                               double& ms1) const {
    if (isEmpty()) {
        return 0;
    }
    ms0 = getLatencyMs(t0);
    ms1 = getLatencyMs(t1);
    return 1;
}

int CSpctmTrial::setSpctmAxes(long long nTime, double firstLatencyMs, double stepMs,
                              const std::vector<double>& freqsHz) {
    if (nTime < 1 || freqsHz.empty() || !(stepMs > 0.0) || !std::isfinite(stepMs) ||
        !std::isfinite(firstLatencyMs)) {
        return 0;
    }
    const auto nFreq = static_cast<long long>(freqsHz.size());
    CSumChnlSpctmDatazq sums[3];
    std::vector<double> freqs;
    try {
        freqs = freqsHz;
    } catch (const std::exception&) {
        return 0;
    }
    for (auto& sum : sums) {
        if (!sum.resize(nTime, nFreq)) {
            return 0;
        }
    }
    for (int k = 0; k < 3; ++k) {
        m_sum[k].swap(sums[k]);
    }
    m_freqsHz.swap(freqs);
    m_nTime = nTime;
    m_firstLatencyMs = firstLatencyMs;
    m_stepMs = stepMs;
    selectOwnPoint(0, 0);
    return 1;
}

void CSpctmTrial::clear() {
    clearKeepingHostChoice();
    m_hostChoice = false;
}

void CSpctmTrial::clearKeepingHostChoice() {
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

void CSpctmTrial::swap(CSpctmTrial& other) noexcept {
    std::swap(m_selT, other.m_selT);
    std::swap(m_selF, other.m_selF);
    std::swap(m_hostChoice, other.m_hostChoice);
    std::swap(m_hostLatencyMs, other.m_hostLatencyMs);
    std::swap(m_hostFreqHz, other.m_hostFreqHz);
    std::swap(m_nTime, other.m_nTime);
    std::swap(m_firstLatencyMs, other.m_firstLatencyMs);
    std::swap(m_stepMs, other.m_stepMs);
    m_freqsHz.swap(other.m_freqsHz);
    for (int k = 0; k < 3; ++k) {
        m_sum[k].swap(other.m_sum[k]);
    }
}
