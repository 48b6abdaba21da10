// Session base: the session's trials, the current trial, its selection and the display
// settings that the contour-map views read.
#pragma once

#include "recording/CMDTrialzq.h"

#include <memory>
#include <vector>

class CMEGData {
public:
    // Display settings, read and written directly by the views. Sizes are in metres, like
    // the sensor positions.
    int megSnsShown = 1;          // MEG sensors drawn while nonzero
    int eegEltShown = 1;          // EEG electrodes drawn while nonzero
    int snsColored = 1;           // nonzero: sensors take their spectral colour
    int snsDrawMode = 0;          // handed unchanged to the sensor glyph drawing
    double megCoilSize = 0.008;   // coil glyph; the mark glyph is 6 times this
    double dirGlyphSize1 = 0.02;  // direction glyph length
    double dirGlyphSize2 = 0.002; // direction glyph width
    double eegEltSize = 0.006;    // electrode cube edge or sphere size

    // Where the head's front (nose) and right ear lie in the sensors' coordinates, when the
    // layouts say so: unit vectors, front orthogonal to right. Views mark nose and ears only
    // when known.
    struct HeadFrame {
        bool known = false;
        double front[3] = {0.0, 1.0, 0.0};
        double right[3] = {1.0, 0.0, 0.0};
    };
    const HeadFrame& getHeadFrame() const { return m_headFrame; }
    void setHeadFrame(const HeadFrame& frame) { m_headFrame = frame; }

    int getTrialCount() const { return static_cast<int>(m_trials.size()); }
    // Trial i, or the current trial for -1; null when out of range.
    CMDTrialzq* getTrialzq(int index);
    CMDTrialzq* getCurrentTrialPt() { return getTrialzq(-1); }
    // 1 and the trial becomes current; 0 (nothing changes) when out of range.
    int setCurrentTrial(int index);
    // Append an empty trial; null when memory runs out.
    CMDTrialzq* addTrial();
    // Drop the last trial (undoes an addTrial that could not be completed).
    void removeLastTrial();

    // The selection: the current trial index, then a stamp that changes whenever the current
    // trial, its channels or its spectra change (views compare it to decide on rebuilding;
    // passing one variable for both leaves the stamp there). Returns 1.
    int getSelect(long long& trialIndex, long long& stamp) const;
    // Record that the session's data changed (new stamp).
    void markChanged() { ++m_stamp; }

private:
    std::vector<std::unique_ptr<CMDTrialzq>> m_trials;
    int m_current = 0;
    long long m_stamp = 1;
    HeadFrame m_headFrame;
};
