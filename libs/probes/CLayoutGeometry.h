// Plausibility of a layout's geometry, judged in the file's own numbers before they become
// metres; it also settles the unit when the file states none.
//
// Positions are head coordinates, so the origin lies inside the head and every sensor lies a
// comparable distance from it. Refused, with the numbers in the message:
// - all positions (0, 0, 0), or one sensor at the origin;
// - mixed units: a sensor 5 times nearer to the origin or farther from it than the median
//   sensor (m, cm and mm are 10 or more times apart; the sensors of a real head lie within a
//   factor of 2 of the median);
// - a head radius outside 5 to 30 cm: the mean distance of the sensors from the centre of the
//   sphere fitted through them, or from the origin when they do not spread in all three
//   directions (a row, a small patch: no sphere can be fitted). A stated unit giving such a
//   radius is refused with the unit that would fit (a file stating m for values in mm); with
//   no unit stated, numbers that none of m, cm and mm make a head are refused (inches);
// - coincident sensors: an electrode less than 1 mm from another sensor, or a fourth MEG
//   channel within 1 mm of three others.
// Up to three MEG channels at one place are one sensor unit (a magnetometer with two planar
// gradiometers, a triaxial magnetometer) and are accepted: refusing them would refuse every
// Neuromag layout. Nothing is only warned about; each rule is wide enough for real layouts.
#pragma once

#include "probes/CSensorLayout.h"

#include <string>
#include <vector>

class CLayoutGeometry {
public:
    using Channel = CSensorLayout::Channel;
    using Unit = CSensorLayout::Unit;

    // `lines` holds each channel's line number, for the messages; both outlive the object.
    CLayoutGeometry(const std::vector<Channel>& channels, const std::vector<int>& lines);

    // Settles `unit`: kept when stated (`statedBy` names who stated it), else the one of m, cm
    // and mm that makes a plausible head. false with error() when the geometry is implausible.
    bool check(Unit& unit, const std::string& statedBy);
    const std::string& error() const { return m_error; }

    // Metres per unit of `unit` (1 for Auto).
    static double metresPer(Unit unit);

private:
    bool checkNotAllZero();
    bool checkUnitsAgree();
    void findCentre();
    bool settleUnit(Unit& unit, const std::string& statedBy);
    bool checkApart(double scale);
    bool fail(const std::string& message);
    // A message about one channel, led by its line and label.
    bool failAt(size_t channel, const std::string& message);

    const std::vector<Channel>& m_channels;
    const std::vector<int>& m_lines;
    double m_centre[3] = {0.0, 0.0, 0.0};
    double m_radius = 0.0;
    std::string m_error;
};
