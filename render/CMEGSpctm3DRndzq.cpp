// The instantiated renderer: choice between professional and standard drawings.
#include "render/CMEGSpctm3DRndzq.h"

int CMEGSpctm3DRndzq::showSpctmOneChl(COneSpctm3DVtx* vtx, CRect rect, int spectralClass,
                                      int component) {
    if (standardMode)
        drawOneSpctmColumnStd(vtx, rect, spectralClass, component);
    else
        drawOneSpctmColumn(vtx, rect, spectralClass, component);
    return 1;
}

int CMEGSpctm3DRndzq::showSpctmContourMap(long long t0, long long f0, long long t1, long long f1,
                                          CSpctmChnlzq* chnl, int spectralClass, int component,
                                          CMMaterialzq* material, float* colour) {
    if (standardMode == 0)
        drawSpctmContourmapPro(t0, f0, t1, f1, chnl, spectralClass, component, material, colour);
    else
        drawSpctmContourmapStd(t0, f0, t1, f1, chnl, spectralClass, component, material, colour);
    return 0;
}
