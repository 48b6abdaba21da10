// The instantiated coil class of the probe library.
#pragma once

#include "probes/CBscMagSns.h"

class CBscMagSnszq : public CBscMagSns {
public:
    using CBscMagSns::CBscMagSns;
};
