// Basic layer: the sensor sphere and the colour of a channel by its measured value.
#pragma once

#include "viewbase/CStatD3DM00MEGData.h"

class CStatD3DM01Basic : public CStatD3DM00MEGData {
public:
    // Least-squares sphere through the MEG sensor positions (coil 0) or the electrodes of the
    // session's current trial (null: the view's session): fills the sensor sphere. 0 for
    // fewer than 4 sensors or a flat set (the sphere keeps its values).
    int findMegSnsSphere(CMEGDatazq* session);
    int findEegEltSphere(CMEGDatazq* session);
    // Colour (RGBA 0..1) of channel index by its value (mean power of its Active spectrum)
    // within the fitted colour range, on a blue-green-red scale. 0 when the channel has no
    // value or the range is not fitted.
    int getD3DColor4ChnVStd(CMEGDatazq* session, CMDTrialzq* trial, int index, float color[4]);

    // Colour of t in 0..1 on the blue-cyan-green-yellow-red scale.
    static void valueRatio2Color(double t, float color[4]);

protected:
    int fitSnsSphere(CMEGDatazq* session, int chnType);
};
