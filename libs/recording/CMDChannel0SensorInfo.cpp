// The sensor side of a channel.
#include "recording/CMDChannel0SensorInfo.h"

CBscMagSnszq* CMDChannel0SensorInfo::getMEGCoilzq(int i) {
    return m_meg ? m_meg->getCoil(i) : nullptr;
}

CEEGelectrodezq* CMDChannel0SensorInfo::getEegElectrode(int i) {
    return m_eeg && i == 0 ? &*m_eeg : nullptr;
}

CMEGSensorzq* CMDChannel0SensorInfo::getMEGSensorzq() {
    return m_meg ? &*m_meg : nullptr;
}

int CMDChannel0SensorInfo::getChannelPositionD(double* xyz) const {
    if (!xyz) {
        return 0;
    }
    if (m_meg) {
        const CBscMagSnszq* coil = m_meg->getCoil(0);
        return coil ? coil->getCoilPositionD(xyz) : 0;
    }
    return m_eeg ? m_eeg->getElectrodePositionD(xyz) : 0;
}

void CMDChannel0SensorInfo::setMEGSensor(const CMEGSensorzq& sensor) {
    m_eeg.reset();
    m_meg = sensor;
    m_type = MegSensor;
    unit = sensor.getKind() == CMEGSensor::PlanarGradiometer ? u"T/m" : u"T";
}

void CMDChannel0SensorInfo::setEegElectrode(const CEEGelectrodezq& electrode) {
    m_meg.reset();
    m_eeg = electrode;
    m_type = EegElectrode;
    unit = u"V";
}
