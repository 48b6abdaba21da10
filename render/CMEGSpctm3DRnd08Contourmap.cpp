// Renderer layer of the contour map's professional colours.
#include "render/CMEGSpctm3DRnd08Contourmap.h"

#include "engine/CMMaterialzq.h"
#include "recording/CSpctmChnlzq.h"
#include "render/CRndMessage.h"
#include "render/CRndPaletteIndex.h"

#include <algorithm>
#include <cmath>

namespace {

double nonZero(double span, double replacement) {
    return span == 0.0 ? replacement : span;
}

// Calls visit for every value of the clipped window, row by row, frequencies ascending.
template <typename Window, typename Visit>
void forEachValue(const Window& w, Visit visit) {
    for (long long t = w.tBegin; t < w.tEnd; ++t) {
        const double* row = w.grid + t * w.nFreq;
        for (long long f = w.fBegin; f < w.fEnd; ++f)
            visit(row[f]);
    }
}

} // namespace

CMEGSpctm3DRnd08Contourmap::WindowGrid
CMEGSpctm3DRnd08Contourmap::clipWindow(CSpctmChnlzq* chnl, int component, long long t0,
                                       long long f0, long long t1, long long f1) {
    WindowGrid w;
    if (!chnl)
        return w;
    long long nTime = 0;
    long long nFreq = 0;
    w.grid = chnl->getSpctmDataPtr(component, &nTime, &nFreq);
    if (!w.grid)
        return w;
    w.nFreq = nFreq;
    if (t0 > t1 || f0 > f1)
        return w;
    w.tBegin = std::max(t0, 0LL);
    w.tEnd = std::min(t1, nTime - 1) + 1;
    w.fBegin = std::max(f0, 0LL);
    w.fEnd = std::min(f1, nFreq - 1) + 1;
    return w;
}

int CMEGSpctm3DRnd08Contourmap::checkSessionTrial() {
    if (fetch())
        return 1;
    CRndMessage::show(u"No MEG data? \n");
    return 0;
}

void CMEGSpctm3DRnd08Contourmap::writeEntry(const std::uint32_t* palette, int index,
                                            CMMaterialzq* material, float* colour) {
    const std::uint32_t value = palette[index];
    if (material)
        material->initMaterialColorDAS(value);
    if (colour)
        color2Float4(value, colour);
}

int CMEGSpctm3DRnd08Contourmap::drawSpctmContourmapPro(long long t0, long long f0, long long t1,
                                                       long long f1, CSpctmChnlzq* chnl,
                                                       int spectralClass, int component,
                                                       CMMaterialzq* material, float* colour) {
    if (!checkSessionTrial())
        return 0;
    if (proDisplayMode == 0 || proDisplayMode == 1)
        return drawSpctmContourmapWinView(t0, f0, t1, f1, chnl, spectralClass, component, material,
                                          colour);
    return drawSpctmContourmapPeakView(t0, f0, t1, f1, chnl, spectralClass, component, material,
                                       colour);
}

int CMEGSpctm3DRnd08Contourmap::drawSpctmContourmapWinView(long long t0, long long f0, long long t1,
                                                           long long f1, CSpctmChnlzq* chnl, int,
                                                           int component, CMMaterialzq* material,
                                                           float* colour) {
    const int entries = continuousSize();
    const std::uint32_t* palette = continuousPalette();
    const WindowGrid w = clipWindow(chnl, component, t0, f0, t1, f1);
    if (!palette || !w.grid)
        return 0;
    const double lower = proLower;
    const double upper = proUpper;
    const double scale = entries / nonZero(upper - lower, 1.0);
    const int outside = proDisplayMode == 1 ? entries / 2 - 1 : -1;
    double sum = 0.0;
    long long count = 0;
    forEachValue(w, [&](double v) {
        int index;
        if (outside >= 0 && (v <= lower || v >= upper))
            index = outside;
        else if (v <= lower)
            index = 0;
        else if (v >= upper)
            index = entries - 1;
        else
            index = CRndPaletteIndex::entry((v - lower) * scale, entries);
        sum += index;
        ++count;
    });
    if (count == 0) {
        if (colour) {
            colour[0] = colour[1] = colour[2] = 0.0f;
            colour[3] = 1.0f;
        }
        return 0;
    }
    writeEntry(palette, CRndPaletteIndex::entry(sum / static_cast<double>(count), entries),
               material, colour);
    return 1;
}

int CMEGSpctm3DRnd08Contourmap::drawSpctmContourmapPeakView(long long t0, long long f0,
                                                            long long t1, long long f1,
                                                            CSpctmChnlzq* chnl, int, int component,
                                                            CMMaterialzq* material, float* colour) {
    const int pair = peakPair();
    const int entries = peakSize();
    const std::uint32_t* negative = getNegativePalette(pair);
    const std::uint32_t* positive = getPositivePalette(pair);
    const WindowGrid w = clipWindow(chnl, component, t0, f0, t1, f1);
    if (!negative || !positive || entries < 1 || !w.grid)
        return 0;
    const double upScale = entries / nonZero(std::fabs(proUpperLimit - proUpper), 1e-7);
    const double lowScale = entries / nonZero(std::fabs(proLowerLimit - proLower), 1e-7);
    const double lower = proLower;
    const double upper = proUpper;
    double lowSum = 0.0;
    double upSum = 0.0;
    long long lowCount = 0;
    long long upCount = 0;
    forEachValue(w, [&](double v) {
        if (v < lower && v < 0.0) {
            lowSum += CRndPaletteIndex::entry(std::fabs((v - lower) * lowScale), entries);
            ++lowCount;
        } else if (v > upper && v > 0.0) {
            upSum += CRndPaletteIndex::entry(std::fabs((v - upper) * upScale), entries);
            ++upCount;
        } else {
            ++lowCount;
        }
    });
    // A class without members has no mean and loses every comparison.
    const int lowMean = lowCount ? CRndPaletteIndex::entry(lowSum / lowCount, entries) : -1;
    const int upMean = upCount ? CRndPaletteIndex::entry(upSum / upCount, entries) : -1;
    if (upMean > lowMean)
        writeEntry(positive, upMean, material, colour);
    else
        writeEntry(negative, std::max(lowMean, 0), material, colour);
    return 1;
}
