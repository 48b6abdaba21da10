// Round tick values and their labels.
#include "views/CAxisTicks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Ticks of a range of more than this many steps are not worth listing.
constexpr double kMaxTicks = 1000.0;

} // namespace

double CAxisTicks::niceStep(double span, int maxIntervals) {
    if (!(span > 0.0) || !std::isfinite(span))
        return 0.0;
    const double raw = span / std::max(maxIntervals, 1);
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        // A hair of tolerance keeps 10 / 5 at step 2 despite rounding in log10 and pow.
        if (m * decade >= raw * (1.0 - 1e-9))
            return m * decade;
    }
    return 10.0 * decade;
}

std::vector<double> CAxisTicks::choose(double lo, double hi, int maxIntervals, double* step) {
    if (step)
        *step = 0.0;
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return {};
    if (lo > hi)
        std::swap(lo, hi);
    if (lo == hi)
        return {lo};
    const double s = niceStep(hi - lo, maxIntervals);
    if (!(s > 0.0) || !std::isfinite(s))
        return {};
    if (step)
        *step = s;
    // Ends that lie within rounding of a multiple still get their tick.
    const double slack = s * 1e-9;
    const double first = std::ceil((lo - slack) / s);
    const double last = std::floor((hi + slack) / s);
    std::vector<double> ticks;
    for (double k = first; k <= last && ticks.size() < kMaxTicks; k += 1.0) {
        const double v = k * s;
        ticks.push_back(v == 0.0 ? 0.0 : v);
    }
    return ticks;
}

std::vector<double> CAxisTicks::chooseAtLeastTwo(double lo, double hi, int maxIntervals,
                                                 double* step) {
    int intervals = std::max(maxIntervals, 1);
    std::vector<double> ticks = choose(lo, hi, intervals, step);
    while (ticks.size() < 2 && lo != hi && intervals < 64) {
        intervals *= 2;
        ticks = choose(lo, hi, intervals, step);
    }
    return ticks;
}

CString CAxisTicks::label(double value, double step) {
    const double a = std::fabs(value);
    if (a < std::fabs(step) * 1e-9 || a == 0.0)
        return CString(u"0");
    char text[64];
    if (step >= 1e-4 && a < 1e6) {
        const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
    } else {
        std::snprintf(text, sizeof text, "%.6g", value);
    }
    return CString::FromUtf8(text);
}
