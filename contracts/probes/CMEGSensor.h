// One MEG sensor (one channel): a label, the kind of sensor and its pick-up coils.
#pragma once

#include "probes/CBscMagSnszq.h"

#include <string>
#include <vector>

class CMEGSensor {
public:
    enum Kind { Magnetometer = 0, PlanarGradiometer = 1, AxialGradiometer = 2 };

    CMEGSensor(std::string label, Kind kind);

    const std::string& getLabel() const { return m_label; }
    Kind getKind() const { return m_kind; }

    // Append a copy of the coil; returns 1. Pointers from getCoil stay valid until the next add.
    int addCoil(const CBscMagSnszq& coil);
    int getCoilCount() const;
    // The i-th coil, null when i is out of range.
    CBscMagSnszq* getCoil(int i);
    const CBscMagSnszq* getCoil(int i) const;

private:
    std::string m_label;
    Kind m_kind;
    std::vector<CBscMagSnszq> m_coils;
};
