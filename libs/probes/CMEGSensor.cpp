// One MEG sensor with its coils.
#include "probes/CMEGSensor.h"

#include <utility>

CMEGSensor::CMEGSensor(std::string label, Kind kind) : m_label(std::move(label)), m_kind(kind) {}

int CMEGSensor::addCoil(const CBscMagSnszq& coil) {
    m_coils.push_back(coil);
    return 1;
}

int CMEGSensor::getCoilCount() const {
    return static_cast<int>(m_coils.size());
}

CBscMagSnszq* CMEGSensor::getCoil(int i) {
    return i >= 0 && i < getCoilCount() ? &m_coils[static_cast<size_t>(i)] : nullptr;
}

const CBscMagSnszq* CMEGSensor::getCoil(int i) const {
    return i >= 0 && i < getCoilCount() ? &m_coils[static_cast<size_t>(i)] : nullptr;
}
