// Renderer layer of the contour map's professional colours: one channel's values inside a
// time-frequency window reduced to one palette entry (window view or peak view).
#pragma once

#include "render/CMEGSpctm3DRnd07MColumns.h"

#include <cstdint>

class CMMaterialzq;
class CSpctmChnlzq;

class CMEGSpctm3DRnd08Contourmap : public CMEGSpctm3DRnd07MColumns {
public:
    // Window [t0, t1] x [f0, f1] (inclusive, points outside the grid skipped). The colour goes
    // to the material and to colour (four floats), whichever is given. Without session or
    // trial the user is told "No MEG data? \n" and 0 is returned.
    int drawSpctmContourmapPro(long long t0, long long f0, long long t1, long long f1,
                               CSpctmChnlzq* chnl, int spectralClass, int component,
                               CMMaterialzq* material, float* colour);

protected:
    int drawSpctmContourmapWinView(long long t0, long long f0, long long t1, long long f1,
                                   CSpctmChnlzq* chnl, int spectralClass, int component,
                                   CMMaterialzq* material, float* colour);
    int drawSpctmContourmapPeakView(long long t0, long long f0, long long t1, long long f1,
                                    CSpctmChnlzq* chnl, int spectralClass, int component,
                                    CMMaterialzq* material, float* colour);

    // The part of a window that lies inside a grid; empty when nothing does.
    struct WindowGrid {
        const double* grid = nullptr;
        long long nFreq = 0;
        long long tBegin = 0, tEnd = 0; // rows tBegin..tEnd-1
        long long fBegin = 0, fEnd = 0; // columns fBegin..fEnd-1
        bool empty() const { return tBegin >= tEnd || fBegin >= fEnd; }
    };
    // The component's grid of the spectrum clipped to the window; grid null when missing.
    static WindowGrid clipWindow(CSpctmChnlzq* chnl, int component, long long t0, long long f0,
                                 long long t1, long long f1);
    // The fetch of every contour entry, telling the user when it fails.
    int checkSessionTrial();
    // Hands a palette entry to the material and the colour vector.
    static void writeEntry(const std::uint32_t* palette, int index, CMMaterialzq* material,
                           float* colour);
};
