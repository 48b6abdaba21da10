// The renderer that the facade instantiates: the choice between professional and standard
// drawings for the single-channel surface and the contour colour.
#pragma once

#include "render/CMEGSpctm3DRnd09File.h"

class CMEGSpctm3DRndzq : public CMEGSpctm3DRnd09File {
public:
    // standardMode nonzero: the standard drawing, else window or peak view by proDisplayMode.
    // Always 1: a failed drawing leaves the surface as it was.
    int showSpctmOneChl(COneSpctm3DVtx* vtx, CRect rect, int spectralClass, int component);
    // standardMode 0: professional colour, else standard colour. Always 0.
    int showSpctmContourMap(long long t0, long long f0, long long t1, long long f1,
                            CSpctmChnlzq* chnl, int spectralClass, int component,
                            CMMaterialzq* material, float* colour);
};
