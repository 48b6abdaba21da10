// Sensor layer: every MEG sensor of the current trial in the plain sensor material, with the
// mark on the current channel.
#pragma once

#include "viewbase/CStatD3DM02Coils.h"

class CStatD3DM03Sns : public CStatD3DM02Coils {
public:
    // Draws the MEG sensors of the session's current trial with glyphs of the session's sizes;
    // call between the engine's frame begin and end. 0 without engine, session or trial.
    int drawMegSnsAll();

protected:
    // Draws every shown sensor of one channel type (MEG coils or EEG electrodes) in the plain
    // sensor material, and the mark on the current channel. Needs engine, session and trial.
    void drawSensorsOfType(int chnType);
};
