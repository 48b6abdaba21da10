// The facade the host instantiates: the last layer, carrying the host's command channel.
#pragma once

#include "facade/CVelmoraFace07DlgEeg.h"

class CVelmoraFacezq : public CVelmoraFace07DlgEeg {
public:
    // Code 4 sets the data component (value) in every open single-channel window: both
    // copies and the component combo box, without a repaint. Every code returns 1.
    int sendMessageX(int code, int value) override;
};
