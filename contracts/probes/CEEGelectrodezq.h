// The instantiated EEG electrode class of the probe library.
#pragma once

#include "probes/CEEGelectrode.h"

class CEEGelectrodezq : public CEEGelectrode {
public:
    using CEEGelectrode::CEEGelectrode;
};
