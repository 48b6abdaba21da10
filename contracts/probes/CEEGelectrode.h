// One EEG electrode: a label and its position on the scalp, in metres.
#pragma once

#include <string>

class CEEGelectrode {
public:
    CEEGelectrode() = default;
    // A null pos counts as (0, 0, 0).
    CEEGelectrode(std::string label, const double pos[3]);

    // Write the electrode position (metres) into xyz[0..2]; 0 when xyz is null.
    int getElectrodePositionD(double* xyz) const;
    const std::string& getLabel() const { return m_label; }

private:
    std::string m_label;
    double m_pos[3] = {0.0, 0.0, 0.0};
};
