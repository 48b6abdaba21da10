// The instantiated MEG sensor class of the probe library.
#pragma once

#include "probes/CMEGSensor.h"

class CMEGSensorzq : public CMEGSensor {
public:
    using CMEGSensor::CMEGSensor;
};
