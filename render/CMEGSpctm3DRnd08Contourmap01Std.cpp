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

int CMEGSpctm3DRnd08Contourmap01Std::drawContourmapStdValue(double value, bool any,
                                                            CMMaterialzq* material, float* colour) {
    if (polarity == 0) {
        const std::uint32_t* palette = continuousPalette();
        if (!palette)
            return 0;
        writeEntry(palette, stdIndex(std::fabs(value), any, continuousSize()), material, colour);
        return 1;
    }
    const int pair = peakPair();
    const int entries = peakSize();
    const std::uint32_t* negative = getNegativePalette(pair);
    const std::uint32_t* positive = getPositivePalette(pair);
    if (!negative || !positive || entries < 1)
        return 0;
    // A mean of exactly 0 takes the negative palette.
    writeEntry(any && value > 0.0 ? positive : negative, stdIndex(std::fabs(value), any, entries),
               material, colour);
    return 1;
}

int CMEGSpctm3DRnd08Contourmap01Std::drawSpctmContourmap01AbsoluteValue(
    long long t0, long long f0, long long t1, long long f1, CSpctmChnlzq* chnl, int, int component,
    CMMaterialzq* material, float* colour) {
    if (!continuousPalette() || !clipWindow(chnl, component, t0, f0, t1, f1).grid)
        return 0;
    double mean = 0.0;
    const bool any = windowMean4Std(chnl, component, t0, f0, t1, f1, mean) != 0;
    return drawContourmapStdValue(mean, any, material, colour);
}

int CMEGSpctm3DRnd08Contourmap01Std::drawSpctmContourmap02PolarityValue(
    long long t0, long long f0, long long t1, long long f1, CSpctmChnlzq* chnl, int, int component,
    CMMaterialzq* material, float* colour) {
    if (!clipWindow(chnl, component, t0, f0, t1, f1).grid)
        return 0;
    double mean = 0.0;
    const bool any = windowMean4Std(chnl, component, t0, f0, t1, f1, mean) != 0;
    return drawContourmapStdValue(mean, any, material, colour);
}
