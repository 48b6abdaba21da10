// One MEG pick-up coil: its centre and the unit normal of its winding, in metres.
#pragma once

class CBscMagSns {
public:
    CBscMagSns() = default;
    // The normal is stored normalised; a zero or non-finite normal is kept as (0, 0, 0).
    // A null pointer counts as (0, 0, 0).
    CBscMagSns(const double pos[3], const double normal[3]);

    // Write the coil centre (metres) into xyz[0..2]; 0 when xyz is null.
    int getCoilPositionD(double* xyz) const;
    // Write the unit coil normal into nxyz[0..2]; 0 when nxyz is null.
    int getCoilOrientationD(double* nxyz) const;

private:
    double m_pos[3] = {0.0, 0.0, 0.0};
    double m_normal[3] = {0.0, 0.0, 0.0};
};
