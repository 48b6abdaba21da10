// The SI prefix that shows values of a given size in a few digits: "V²" for values near 1e-9
// becomes "µV²" (1000 µV²), "fT/cm" for 1e4 becomes "pT/cm", "(fT/cm)²" keeps its parentheses.
// A unit it does not know ("mmHg", "dB", "%", or none) keeps its name; values far from 1 then
// get a power of ten in front of it ("×10⁻⁹ mmHg").
#pragma once

#include "win/CString.h"

class CUnitPrefix {
public:
    struct Scaled {
        CString unit;      // the unit the values are shown in
        double factor = 1; // shown value = value / factor
    };
    // The unit to show values of `unit` whose largest size is `magnitude` in; the unit as given
    // (factor 1) for a magnitude that is not positive and finite.
    static Scaled fit(const CString& unit, double magnitude);
};
