// Fan preparation layer: sizes the fan data of a channel type for the session's channels.
#pragma once

#include "viewbase/CStatD3DM03SnsEegProbe.h"

class CStatD3DM03SnsOptimize : public CStatD3DM03SnsEegProbe {
public:
    // Fits the sensor sphere and makes room in the MEG (EEG) fan data for one fan per channel
    // of the session's current trial (null: the view's session); the fans are left empty for
    // the view to build. 0 without session, trial or memory.
    int triMegSnsFan11initx(CMEGDatazq* session);
    int triEegEltFan11initx(CMEGDatazq* session);

protected:
    int fanInit(CMEGDatazq* session, int chnType);
};
