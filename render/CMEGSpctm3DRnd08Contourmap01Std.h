// Renderer layer of the contour map's standard colours: the window's mean magnitude (absolute)
// or signed mean (polarity) over the standard view range.
#pragma once

#include "render/CMEGSpctm3DRnd08Contourmap.h"

class CMEGSpctm3DRnd08Contourmap01Std : public CMEGSpctm3DRnd08Contourmap {
public:
    // polarity 0: absolute-value colour, else polarity colour; the window as in the
    // professional entry, with the same "No MEG data? \n" message.
    int drawSpctmContourmapStd(long long t0, long long f0, long long t1, long long f1,
                               CSpctmChnlzq* chnl, int spectralClass, int component,
                               CMMaterialzq* material, float* colour);
    // The standard drawing's colour of a window value already reduced (a mean of magnitudes
    // for the absolute drawing, a signed mean for the polarity drawing), such as the combined
    // value of a gradiometer pair; any false: the colour of an empty window. The result as
    // that drawing's; no message.
    int drawContourmapStdValue(double value, bool any, CMMaterialzq* material, float* colour);

protected:
    int drawSpctmContourmap01AbsoluteValue(long long t0, long long f0, long long t1, long long f1,
                                           CSpctmChnlzq* chnl, int spectralClass, int component,
                                           CMMaterialzq* material, float* colour);
    int drawSpctmContourmap02PolarityValue(long long t0, long long f0, long long t1, long long f1,
                                           CSpctmChnlzq* chnl, int spectralClass, int component,
                                           CMMaterialzq* material, float* colour);

private:
    // Palette index of a mean magnitude over the standard view range for a palette of entries.
    int stdIndex(double magnitude, bool any, int entries) const;
};
