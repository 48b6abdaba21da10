// Base layer of the shared spectral renderer: the display parameters that every window reads
// and writes, the binding to the host's data, the time-frequency cursor and the range fits.
#pragma once

#include "palette/CADRindex2Colorzq.h"

#include <cstdint>

class CArrayMEDataSetzq;
class CMEGDatazq;
class CMDTrialzq;
class CSpctmChnlzq;

class CMEGSpctm3DRnd : public CADRindex2Colorzq {
public:
    CMEGSpctm3DRnd();
    ~CMEGSpctm3DRnd();

    // Binds the data set (null too) and fetches; 1 when a current trial exists.
    int setDrawMEGData(CArrayMEDataSetzq* data);
    int updateMEGData();
    // Forgets the data set, session and trial (unlike a null binding, which keeps the session).
    void releaseData();
    // One raster-scan step of the cursor over the class's time-frequency plane; 0 when a
    // step is below 1 or the data is missing (the animation timer stops on 0).
    int animateSpctm(long long stepTime, long long stepFreq, int spectralClass);
    // Moves the cursor by a drag, clamped to the grid; 0 for a zero drag or missing data.
    int mouseMoveSpctm(int dTime, int dFreq, int spectralClass);
    // Over |value| inside the window [t0, t1] x [f0, f1] of the channel's grid: the peak limits
    // take the extremes, the standard range the minimum and the midpoint.
    int autoFitStdViewRng4CrntShowPro(CSpctmChnlzq* chnl, int component, long long t0, long long f0,
                                      long long t1, long long f1);
    // The window's mean (of |value| when polarity is 0, else signed) into proLowerLimit.
    int autoFitStdViewRng4CrntShowStd(CSpctmChnlzq* chnl, int component, long long t0, long long f0,
                                      long long t1, long long f1);
    // The same window mean into mean, leaving every parameter alone; 0 when the window holds
    // no point of the grid.
    int windowMean4Std(CSpctmChnlzq* chnl, int component, long long t0, long long f0, long long t1,
                       long long f1, double& mean) const;

    // 256, 512 and 768 select palettes of that length; any other value behaves as 1024.
    int colorCount = 765;
    int normalDetail = 1; // 0 Basic, 1 Standard, 2 Professional
    long long timePos = 0;
    long long freqPos = 0;
    int proDisplayMode = 0; // 0, 1 window view; any other value peak view
    double proUpper = 1.0;
    double proLower = -1.0;
    double proUpperLimit = 2.0;
    double proLowerLimit = -2.0;
    CArrayMEDataSetzq* dataSet = nullptr; // not owned
    CMEGDatazq* session = nullptr;        // not owned, refreshed by every fetch
    CMDTrialzq* trial = nullptr;          // not owned, refreshed by every fetch
    int standardMode = 1;
    int polarity = 1;
    double stdUpper = 1.0;
    double stdLower = 0.0;
    double scaleTime = 1.0;
    double scaleFreq = 0.1;
    double scaleValue = 1.0;

    // Cursor arithmetic: a + b and a - b, saturated at the limits of 64-bit integers, so that
    // nonsense steps never wrap a window round to the other end of the grid.
    static long long addSaturated(long long a, long long b);
    static long long subSaturated(long long a, long long b);
    // 0, 1, 2 for the colour-scale lengths 256, 512, 768; 3 for every other length.
    static int colorScaleChoice(int colorCount);

protected:
    // Current session and trial of the bound data set; with no data set the stored session
    // stays in use. 1 when a trial exists.
    int fetch();
    // Time and frequency counts of the class's spectrum trial after a fetch; 0 when missing.
    int trialSpctmCounts(int spectralClass, long long& nTime, long long& nFreq);

    // Continuous palette chosen by colorCount and its length K.
    int continuousSize() const;
    const std::uint32_t* continuousPalette() const;
    // Peak palette pair chosen by colorCount and the length K' of each of its palettes.
    int peakPair() const;
    int peakSize() const;
};
