// One EEG electrode.
#include "probes/CEEGelectrode.h"

#include <utility>

CEEGelectrode::CEEGelectrode(std::string label, const double pos[3]) : m_label(std::move(label)) {
    if (!pos)
        return;
    for (int k = 0; k < 3; ++k)
        m_pos[k] = pos[k];
}

int CEEGelectrode::getElectrodePositionD(double* xyz) const {
    if (!xyz)
        return 0;
    for (int k = 0; k < 3; ++k)
        xyz[k] = m_pos[k];
    return 1;
}
