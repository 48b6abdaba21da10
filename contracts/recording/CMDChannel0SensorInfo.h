// Channel layer holding what the channel measures with: its label, its type and its MEG
// sensor or EEG electrode.
#pragma once

#include "probes/CBscMagSnszq.h"
#include "probes/CEEGelectrodezq.h"
#include "probes/CMEGSensorzq.h"

#include <optional>
#include <string>

class CMDChannel0SensorInfo {
public:
    // Channel types; the numbers are the views' channel types.
    enum ChannelType : int { NoSensor = -1, MegSensor = 0, EegElectrode = 1 };

    // The display label (UTF-16), shown in channel lists.
    std::u16string label;
    // Physical unit of the channel's signal, with its prefix ("fT", "fT/cm", "uV"). Giving
    // the channel a sensor sets the SI unit of its kind: "T" for magnetometers and axial
    // gradiometers, "T/m" for planar gradiometers, "V" for electrodes; a host whose samples
    // are in other units says so (CMEDataSetBuilder::setChannelUnit).
    std::u16string unit;

    int getChannelType() const { return m_type; }

    // Coil i of the channel's MEG sensor; null when out of range or not a MEG channel.
    CBscMagSnszq* getMEGCoilzq(int i);
    // The electrode (only index 0 exists); null when not an EEG channel.
    CEEGelectrodezq* getEegElectrode(int i);
    // The MEG sensor; null when not a MEG channel.
    CMEGSensorzq* getMEGSensorzq();
    // Position in metres: coil 0 of the sensor, or the electrode. 0 when xyz is null or the
    // channel has no sensor position.
    int getChannelPositionD(double* xyz) const;

    // Make the channel a MEG channel with a copy of the sensor (an EEG electrode is dropped)
    // and give it the sensor kind's unit.
    void setMEGSensor(const CMEGSensorzq& sensor);
    // Make the channel an EEG channel with a copy of the electrode (a MEG sensor is dropped)
    // and give it the unit "V".
    void setEegElectrode(const CEEGelectrodezq& electrode);

private:
    int m_type = NoSensor;
    std::optional<CMEGSensorzq> m_meg;
    std::optional<CEEGelectrodezq> m_eeg;
};
