// Renderer layer of the contour map's standard colours.
#include "render/CMEGSpctm3DRnd08Contourmap01Std.h"

#include "render/CRndPaletteIndex.h"

#include <cmath>

int CMEGSpctm3DRnd08Contourmap01Std::drawSpctmContourmapStd(long long t0, long long f0,
                                                            long long t1, long long f1,
                                                            CSpctmChnlzq* chnl, int spectralClass,
                                                            int component, CMMaterialzq* material,
                                                            float* colour) {
    if (!checkSessionTrial())
        return 0;
    if (polarity == 0)
        return drawSpctmContourmap01AbsoluteValue(t0, f0, t1, f1, chnl, spectralClass, component,
                                                  material, colour);
    return drawSpctmContourmap02PolarityValue(t0, f0, t1, f1, chnl, spectralClass, component,
                                              material, colour);
}

int CMEGSpctm3DRnd08Contourmap01Std::stdIndex(double magnitude, bool any, int entries) const {
    if (!any || magnitude <= stdLower)
        return 0;
    if (magnitude >= stdUpper)
        return entries - 1;
    const double span = stdUpper - stdLower;
    const double scale = entries / (span == 0.0 ? 1e-7 : span);
    return CRndPaletteIndex::entry((magnitude - stdLower) * scale, entries);
}

int CMEGSpctm3DRnd08Contourmap01Std::drawSpctmContourmap01AbsoluteValue(
    long long t0, long long f0, long long t1, long long f1, CSpctmChnlzq* chnl, int, int component,
    CMMaterialzq* material, float* colour) {
    const int entries = continuousSize();
    const std::uint32_t* palette = continuousPalette();
    const WindowGrid w = clipWindow(chnl, component, t0, f0, t1, f1);
    if (!palette || !w.grid)
        return 0;
    double sum = 0.0;
    long long count = 0;
    for (long long t = w.tBegin; !w.empty() && t < w.tEnd; ++t) {
        const double* row = w.grid + t * w.nFreq;
        for (long long f = w.fBegin; f < w.fEnd; ++f)
            sum += std::fabs(row[f]);
        count += w.fEnd - w.fBegin;
    }
    const double mean = count ? sum / static_cast<double>(count) : 0.0;
    writeEntry(palette, stdIndex(mean, count > 0, entries), material, colour);
    return 1;
}

int CMEGSpctm3DRnd08Contourmap01Std::drawSpctmContourmap02PolarityValue(
    long long t0, long long f0, long long t1, long long f1, CSpctmChnlzq* chnl, int, int component,
    CMMaterialzq* material, float* colour) {
    const int pair = peakPair();
    const int entries = peakSize();
    const std::uint32_t* negative = getNegativePalette(pair);
    const std::uint32_t* positive = getPositivePalette(pair);
    const WindowGrid w = clipWindow(chnl, component, t0, f0, t1, f1);
    if (!negative || !positive || entries < 1 || !w.grid)
        return 0;
    double sum = 0.0;
    long long count = 0;
    for (long long t = w.tBegin; !w.empty() && t < w.tEnd; ++t) {
        const double* row = w.grid + t * w.nFreq;
        for (long long f = w.fBegin; f < w.fEnd; ++f)
            sum += row[f];
        count += w.fEnd - w.fBegin;
    }
    const double mean = count ? sum / static_cast<double>(count) : 0.0;
    const int index = stdIndex(std::fabs(mean), count > 0, entries);
    // A mean of exactly 0 takes the negative palette.
    writeEntry(mean > 0.0 ? positive : negative, index, material, colour);
    return 1;
}
