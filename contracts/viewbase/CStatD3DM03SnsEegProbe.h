// EEG probe layer: every electrode of the current trial in the plain sensor material, with
// the mark on the current channel.
#pragma once

#include "viewbase/CStatD3DM03Sns.h"

class CStatD3DM03SnsEegProbe : public CStatD3DM03Sns {
public:
    // Draws the EEG electrodes of the session's current trial by the shape selector; call
    // between the engine's frame begin and end. 0 without engine, session or trial.
    int drawEegEltAll();
};
