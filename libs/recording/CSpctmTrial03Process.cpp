// Group records over channels and the default selected point.
#include "recording/CSpctmTrial03Process.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Running statistics of one grid point over channels.
struct PointStats {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    double sum = 0.0, sumSq = 0.0, sumPos = 0.0, sumNeg = 0.0;
    long long n = 0, nPos = 0, nNeg = 0;

    void add(double v) {
        if (!std::isfinite(v)) {
            return;
        }
        min = v < min ? v : min;
        max = v > max ? v : max;
        sum += v;
        sumSq += v * v;
        if (v > 0.0) {
            sumPos += v;
            ++nPos;
        } else if (v < 0.0) {
            sumNeg += v;
            ++nNeg;
        }
        ++n;
    }
};

void writePoint(CSumChnlSpctmDatazq& rec, long long i, const PointStats& s) {
    if (s.n == 0) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        rec.pMin[i] = rec.pMean[i] = rec.pMax[i] = nan;
        rec.pAvgPos[i] = rec.pAvgNeg[i] = rec.pRms[i] = nan;
        return;
    }
    const auto n = static_cast<double>(s.n);
    rec.pMin[i] = s.min;
    rec.pMax[i] = s.max;
    rec.pMean[i] = s.sum / n;
    rec.pAvgPos[i] = s.nPos ? s.sumPos / static_cast<double>(s.nPos) : 0.0;
    rec.pAvgNeg[i] = s.nNeg ? s.sumNeg / static_cast<double>(s.nNeg) : 0.0;
    rec.pRms[i] = std::sqrt(s.sumSq / n);
}

} // namespace

int CSpctmTrial03Process::updateSumChnlSpctm(const CSpctmChnl* const* spectra, int count) {
    const long long nTime = getTrialSpctmTimePt();
    const long long nFreq = getTrialSpctmFreqPt();
    if (nTime < 1 || nFreq < 1) {
        return 0;
    }
    std::vector<const CSpctmChnl*> used;
    for (int c = 0; spectra && c < count; ++c) {
        const CSpctmChnl* s = spectra[c];
        if (s && s->getTimeCount() == nTime && s->getFreqCount() == nFreq) {
            used.push_back(s);
        }
    }
    const long long n = nTime * nFreq;
    // Blocks of points, each channel's part read in order: reading every channel at one point
    // at a time strides across all their grids at once.
    constexpr long long kBlock = 1024;
    std::vector<PointStats> stats(static_cast<std::size_t>(std::min(n, kBlock)));
    for (int comp = 0; comp < 3; ++comp) {
        CSumChnlSpctmDatazq& rec = *getSumChnlSpctmData(comp);
        for (long long first = 0; first < n; first += kBlock) {
            const long long count = std::min(kBlock, n - first);
            std::fill_n(stats.begin(), count, PointStats());
            for (const CSpctmChnl* s : used) {
                const double* g = s->getSpctmDataPtr(comp, nullptr, nullptr) + first;
                for (long long i = 0; i < count; ++i) {
                    stats[static_cast<std::size_t>(i)].add(g[i]);
                }
            }
            for (long long i = 0; i < count; ++i) {
                writePoint(rec, first + i, stats[static_cast<std::size_t>(i)]);
            }
        }
    }
    return 1;
}

int CSpctmTrial03Process::selectMaxRmsPoint(bool keepHostChoice) {
    if (keepHostChoice && isSelectSetByHost()) {
        return 1;
    }
    const CSumChnlSpctmDatazq* rec = getSumChnlSpctmData(2);
    if (rec->nTime < 1 || rec->nFreq < 1) {
        return 0;
    }
    long long best = -1;
    const long long n = rec->nTime * rec->nFreq;
    for (long long i = 0; i < n; ++i) {
        const double v = rec->pRms[i];
        if (std::isfinite(v) && (best < 0 || v > rec->pRms[best])) {
            best = i;
        }
    }
    if (best < 0) {
        return 0;
    }
    selectOwnPoint(best / rec->nFreq, best % rec->nFreq);
    return 1;
}

void CSpctmTrial03Process::swap(CSpctmTrial03Process& other) noexcept {
    CSpctmTrial::swap(other);
    std::swap(m_accum, other.m_accum);
}
