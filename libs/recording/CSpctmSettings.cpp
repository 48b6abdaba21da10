// Default spectrum settings and the units of spectra.
#include "recording/CSpctmSettings.h"

std::vector<double> CSpctmSettings::defaultFreqsHz() {
    std::vector<double> freqs;
    for (int f = 4; f <= 62; f += 2) {
        freqs.push_back(f);
    }
    return freqs;
}

namespace {

std::u16string squared(const std::u16string& unit) {
    if (unit.empty()) {
        return unit;
    }
    const bool compound = unit.find_first_of(u"/*. ") != std::u16string::npos;
    return (compound ? u"(" + unit + u")" : unit) + u"\u00B2";
}

} // namespace

std::u16string CSpctmSettings::getSpctmUnit(const std::u16string& signalUnit, int spectralClass,
                                            int component) const {
    if (spectralClass < 0 || spectralClass > 2 || component < 0 || component > 2) {
        return {};
    }
    if (component < 2) {
        return signalUnit;
    }
    if (spectralClass < 2) {
        return squared(signalUnit);
    }
    switch (resultMode) {
    case Ratio:
        return {};
    case Decibel:
        return u"dB";
    case PercentChange:
        return u"%";
    case ZScore:
        return u"z";
    default:
        return squared(signalUnit);
    }
}
