// Tick marks of an axis or colour bar: round values 1, 2 or 5 times a power of ten apart, as
// many as fit, and their labels with no more decimals than the step needs.
#pragma once

#include "win/CString.h"

#include <vector>

class CAxisTicks {
public:
    // The smallest step of 1, 2 or 5 times a power of ten that cuts span into at most
    // maxIntervals parts (at least one); 0 for a span that is not positive and finite.
    static double niceStep(double span, int maxIntervals);
    // The multiples of that step inside [lo, hi] (either order), ascending; the one value of
    // a zero-width range; nothing for non-finite bounds. *step (when given) gets the step, 0
    // for a zero-width range.
    static std::vector<double> choose(double lo, double hi, int maxIntervals,
                                      double* step = nullptr);
    // As choose, refining the step (doubling maxIntervals, up to 64) until at least two ticks
    // lie in a range of nonzero width: a short range between round values still gets ticks.
    static std::vector<double> chooseAtLeastTwo(double lo, double hi, int maxIntervals,
                                                double* step = nullptr);
    // The value as a tick label for ticks step apart: "0" for zero, fixed decimals for steps
    // from 1e-4 and values below 1e6, else six significant digits with an exponent.
    static CString label(double value, double step);
};
