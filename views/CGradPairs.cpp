// Pairs of planar gradiometers at one place.
#include "views/CGradPairs.h"

#include "recording/CMDTrialzq.h"

#include <cmath>

namespace {

bool planarPosition(CMDChannelzq* ch, double p[3]) {
    CMEGSensorzq* sensor = ch ? ch->getMEGSensorzq() : nullptr;
    CBscMagSnszq* coil = ch ? ch->getMEGCoilzq(0) : nullptr;
    return sensor && coil && sensor->getKind() == CMEGSensor::PlanarGradiometer &&
           coil->getCoilPositionD(p) && std::isfinite(p[0] + p[1] + p[2]);
}

} // namespace

void CGradPairs::update(CMDTrialzq* trial) {
    const int count = trial ? trial->getTotalChannel() : 0;
    m_partner.assign(static_cast<size_t>(count), -1);
    std::vector<int> planar;
    std::vector<double> pos;
    for (int i = 0; i < count; ++i) {
        double p[3];
        if (!planarPosition(trial->getChannel(i), p))
            continue;
        planar.push_back(i);
        pos.insert(pos.end(), p, p + 3);
    }
    for (size_t a = 0; a < planar.size(); ++a) {
        if (m_partner[static_cast<size_t>(planar[a])] >= 0)
            continue;
        for (size_t b = a + 1; b < planar.size(); ++b) {
            const double* p = &pos[3 * a];
            const double* q = &pos[3 * b];
            if (m_partner[static_cast<size_t>(planar[b])] < 0 &&
                std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]) <= kSamePlace) {
                m_partner[static_cast<size_t>(planar[a])] = planar[b];
                m_partner[static_cast<size_t>(planar[b])] = planar[a];
                break;
            }
        }
    }
}

int CGradPairs::partnerOf(int i) const {
    return i >= 0 && static_cast<size_t>(i) < m_partner.size() ? m_partner[static_cast<size_t>(i)]
                                                               : -1;
}

double CGradPairs::combine(double a, double b, int component) {
    if (component == 2)
        return (a + b) / 2;
    return std::sqrt((a * a + b * b) / 2);
}
