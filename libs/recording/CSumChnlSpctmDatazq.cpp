// Storage of the six group grids.
#include "recording/CSumChnlSpctmDatazq.h"

#include <limits>
#include <stdexcept>
#include <utility>

int CSumChnlSpctmDatazq::resize(long long nTimePoints, long long nFreqPoints) {
    clear();
    constexpr long long kMax = std::numeric_limits<long long>::max() / 6 / 8;
    if (nTimePoints < 1 || nFreqPoints < 1 || nTimePoints > kMax / nFreqPoints) {
        return 0;
    }
    const long long n = nTimePoints * nFreqPoints;
    try {
        m_store.assign(static_cast<std::size_t>(n) * 6, 0.0);
    } catch (const std::exception&) {
        return 0;
    }
    nTime = nTimePoints;
    nFreq = nFreqPoints;
    double* base = m_store.data();
    double** grids[6] = {&pMin, &pMean, &pMax, &pAvgPos, &pAvgNeg, &pRms};
    for (int i = 0; i < 6; ++i) {
        *grids[i] = base + i * n;
    }
    return 1;
}

void CSumChnlSpctmDatazq::clear() {
    std::vector<double>().swap(m_store);
    nTime = 0;
    nFreq = 0;
    pMin = pMean = pMax = pAvgPos = pAvgNeg = pRms = nullptr;
}

void CSumChnlSpctmDatazq::swap(CSumChnlSpctmDatazq& other) noexcept {
    m_store.swap(other.m_store);
    std::swap(nTime, other.nTime);
    std::swap(nFreq, other.nFreq);
    std::swap(pMin, other.pMin);
    std::swap(pMean, other.pMean);
    std::swap(pMax, other.pMax);
    std::swap(pAvgPos, other.pAvgPos);
    std::swap(pAvgNeg, other.pAvgNeg);
    std::swap(pRms, other.pRms);
}

double* CSumChnlSpctmDatazq::getGrid4Show(int showSource) const {
    if (nTime < 1 || nFreq < 1) {
        return nullptr;
    }
    switch (showSource) {
    case 1:
        return pMean;
    case 2:
        return pMin;
    case 3:
        return pMax;
    case 4:
        return pAvgPos;
    case 5:
        return pAvgNeg;
    case 6:
        return pRms;
    default:
        return nullptr;
    }
}
