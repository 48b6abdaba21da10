// Base layer of the shared spectral renderer: data binding, cursor stepping and range fits.
#include "render/CMEGSpctm3DRnd.h"

#include "recording/CArrayMEDataSetzq.h"
#include "recording/CSpctmChnlzq.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Visits the window [t0, t1] x [f0, f1] of the channel's grid, clipped to the grid. Returns
// false, visiting nothing, when the grid is missing or no point lies inside.
template <typename Visit>
bool visitWindow(CSpctmChnlzq* chnl, int component, long long t0, long long f0, long long t1,
                 long long f1, Visit visit) {
    if (!chnl || t0 > t1)
        return false;
    long long nTime = 0;
    long long nFreq = 0;
    const double* grid = chnl->getSpctmDataPtr(component, &nTime, &nFreq);
    if (!grid)
        return false;
    const long long tBegin = std::max(t0, 0LL);
    const long long tEnd = std::min(t1, nTime - 1);
    const long long fBegin = std::max(f0, 0LL);
    const long long fEnd = std::min(f1, nFreq - 1);
    if (tBegin > tEnd || fBegin > fEnd)
        return false;
    for (long long t = tBegin; t <= tEnd; ++t)
        for (long long f = fBegin; f <= fEnd; ++f)
            visit(grid[t * nFreq + f]);
    return true;
}

} // namespace

long long CMEGSpctm3DRnd::addSaturated(long long a, long long b) {
    long long sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<long long>::max() : std::numeric_limits<long long>::min();
}

long long CMEGSpctm3DRnd::subSaturated(long long a, long long b) {
    long long diff = 0;
    if (!__builtin_sub_overflow(a, b, &diff))
        return diff;
    return b < 0 ? std::numeric_limits<long long>::max() : std::numeric_limits<long long>::min();
}

CMEGSpctm3DRnd::CMEGSpctm3DRnd() = default;

CMEGSpctm3DRnd::~CMEGSpctm3DRnd() {
    dataSet = nullptr;
    session = nullptr;
    trial = nullptr;
}

void CMEGSpctm3DRnd::releaseData() {
    dataSet = nullptr;
    session = nullptr;
    trial = nullptr;
}

int CMEGSpctm3DRnd::fetch() {
    if (dataSet)
        session = dataSet->getSessionData(-1);
    if (!session)
        return 0;
    trial = session->getTrialzq(-1);
    return trial ? 1 : 0;
}

int CMEGSpctm3DRnd::setDrawMEGData(CArrayMEDataSetzq* data) {
    dataSet = data;
    return fetch();
}

int CMEGSpctm3DRnd::updateMEGData() {
    return fetch();
}

int CMEGSpctm3DRnd::trialSpctmCounts(int spectralClass, long long& nTime, long long& nFreq) {
    CSpctmTrialzq* st = trial->getSpctmTrial(false, spectralClass);
    if (!st)
        return 0;
    nTime = st->getTrialSpctmTimePt();
    nFreq = st->getTrialSpctmFreqPt();
    return nTime >= 1 && nFreq >= 1 ? 1 : 0;
}

int CMEGSpctm3DRnd::animateSpctm(long long stepTime, long long stepFreq, int spectralClass) {
    if (!fetch() || stepTime < 1 || stepFreq < 1)
        return 0;
    long long nTime = 0;
    long long nFreq = 0;
    if (!trialSpctmCounts(spectralClass, nTime, nFreq))
        return 0;
    timePos = addSaturated(timePos, stepTime);
    if (timePos < nTime)
        return 1;
    timePos = 0;
    freqPos = addSaturated(freqPos, stepFreq);
    if (freqPos >= nFreq)
        freqPos = 0;
    return 1;
}

int CMEGSpctm3DRnd::mouseMoveSpctm(int dTime, int dFreq, int spectralClass) {
    if (!fetch())
        return 0;
    // Written as comparisons so that INT_MIN needs no negation.
    if (dTime > -1 && dTime < 1 && dFreq > -1 && dFreq < 1)
        return 0;
    long long nTime = 0;
    long long nFreq = 0;
    if (!trialSpctmCounts(spectralClass, nTime, nFreq))
        return 0;
    timePos = std::clamp(addSaturated(timePos, dTime), 0LL, nTime - 1);
    freqPos = std::clamp(addSaturated(freqPos, dFreq), 0LL, nFreq - 1);
    return 1;
}

int CMEGSpctm3DRnd::autoFitStdViewRng4CrntShowPro(CSpctmChnlzq* chnl, int component, long long t0,
                                                  long long f0, long long t1, long long f1) {
    double lo = 0.0;
    double hi = 0.0;
    bool first = true;
    const bool any = visitWindow(chnl, component, t0, f0, t1, f1, [&](double v) {
        const double a = std::fabs(v);
        if (first) {
            lo = hi = a;
            first = false;
        } else {
            lo = std::min(lo, a);
            hi = std::max(hi, a);
        }
    });
    if (!any)
        return 0;
    proLowerLimit = lo;
    proUpperLimit = hi;
    stdLower = lo;
    stdUpper = lo + (hi - lo) * 0.5;
    return 1;
}

int CMEGSpctm3DRnd::autoFitStdViewRng4CrntShowStd(CSpctmChnlzq* chnl, int component, long long t0,
                                                  long long f0, long long t1, long long f1) {
    double mean = 0.0;
    if (!windowMean4Std(chnl, component, t0, f0, t1, f1, mean))
        return 0;
    proLowerLimit = mean;
    return 1;
}

int CMEGSpctm3DRnd::windowMean4Std(CSpctmChnlzq* chnl, int component, long long t0, long long f0,
                                   long long t1, long long f1, double& mean) const {
    double sum = 0.0;
    long long count = 0;
    const bool absolute = polarity == 0;
    const bool any = visitWindow(chnl, component, t0, f0, t1, f1, [&](double v) {
        sum += absolute ? std::fabs(v) : v;
        ++count;
    });
    if (!any)
        return 0;
    mean = sum / static_cast<double>(count);
    return 1;
}

int CMEGSpctm3DRnd::continuousSize() const {
    return colorCount == 256 || colorCount == 512 || colorCount == 768 ? colorCount : 1024;
}

const std::uint32_t* CMEGSpctm3DRnd::continuousPalette() const {
    return getContinuousPalette(continuousSize());
}

int CMEGSpctm3DRnd::peakPair() const {
    return colorScaleChoice(colorCount);
}

int CMEGSpctm3DRnd::colorScaleChoice(int colorCount) {
    switch (colorCount) {
    case 256:
        return 0;
    case 512:
        return 1;
    case 768:
        return 2;
    default:
        return 3;
    }
}

int CMEGSpctm3DRnd::peakSize() const {
    return getPeakPaletteSize(peakPair());
}
