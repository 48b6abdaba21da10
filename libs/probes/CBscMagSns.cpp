// One MEG pick-up coil.
#include "probes/CBscMagSns.h"

#include <cmath>

CBscMagSns::CBscMagSns(const double pos[3], const double normal[3]) {
    if (pos) {
        for (int k = 0; k < 3; ++k)
            m_pos[k] = pos[k];
    }
    if (!normal)
        return;
    const double len =
        std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    if (!std::isfinite(len) || len <= 0.0)
        return;
    for (int k = 0; k < 3; ++k)
        m_normal[k] = normal[k] / len;
}

int CBscMagSns::getCoilPositionD(double* xyz) const {
    if (!xyz)
        return 0;
    for (int k = 0; k < 3; ++k)
        xyz[k] = m_pos[k];
    return 1;
}

int CBscMagSns::getCoilOrientationD(double* nxyz) const {
    if (!nxyz)
        return 0;
    for (int k = 0; k < 3; ++k)
        nxyz[k] = m_normal[k];
    return 1;
}
