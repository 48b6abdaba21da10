// Default spectrum settings, their validation and the units of spectra.
#include "recording/CSpctmSettings.h"

#include <cmath>

namespace {

std::string num(double v) {
    if (!std::isfinite(v)) {
        return std::isnan(v) ? "NaN" : (v > 0 ? "infinity" : "-infinity");
    }
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    return s.back() == '.' ? s.substr(0, s.size() - 1) : s;
}

std::string hz(double v) {
    return num(v) + " Hz";
}

} // namespace

std::vector<double> CSpctmSettings::defaultFreqsHz() {
    std::vector<double> freqs;
    for (int f = 4; f <= 62; f += 2) {
        freqs.push_back(f);
    }
    return freqs;
}

double CSpctmSettings::cyclesAt(std::size_t j) const {
    if (!cyclesPerFreq.empty()) {
        return cyclesPerFreq[j];
    }
    return cyclesDivisor > 0.0 ? freqsHz[j] / cyclesDivisor : cycles;
}

std::string CSpctmSettings::checkFreqsHz(std::span<const double> freqsHz, double rate) {
    if (freqsHz.empty()) {
        return "no frequency given";
    }
    for (std::size_t i = 0; i < freqsHz.size(); ++i) {
        const double f = freqsHz[i];
        if (!std::isfinite(f) || f <= 0.0) {
            return "every frequency must be a finite number above 0 Hz";
        }
        if (i > 0 && f <= freqsHz[i - 1]) {
            return "frequencies must be strictly increasing (" + hz(freqsHz[i - 1]) + " then " +
                   hz(f) + ")";
        }
        if (rate > 0.0 && f >= rate / 2.0) {
            return "frequency " + hz(f) + " is not below the Nyquist frequency " + hz(rate / 2.0);
        }
    }
    return {};
}

std::string CSpctmSettings::checkCycles() const {
    const std::string range = " between " + num(kMinCycles) + " and " + num(kMaxCycles);
    if (!std::isfinite(cycles) || cycles < kMinCycles || cycles > kMaxCycles) {
        return "cycles must lie" + range;
    }
    if (!cyclesPerFreq.empty() && cyclesPerFreq.size() != freqsHz.size()) {
        return "the cycles per frequency list has " + std::to_string(cyclesPerFreq.size()) +
               " values for " + std::to_string(freqsHz.size()) + " frequencies";
    }
    if (cyclesPerFreq.empty() && !(cyclesDivisor >= 0.0 && std::isfinite(cyclesDivisor))) {
        return "the cycles divisor must be a finite number above 0 (0: not used)";
    }
    for (std::size_t j = 0; j < freqsHz.size(); ++j) {
        const double n = cyclesAt(j);
        if (!std::isfinite(n) || n < kMinCycles || n > kMaxCycles) {
            return "the cycles at " + hz(freqsHz[j]) + " (" + num(n) + ") must lie" + range;
        }
    }
    return {};
}

std::string CSpctmSettings::check(double rate) const {
    std::string error = checkFreqsHz(freqsHz, rate);
    if (!error.empty()) {
        return "spectrum settings: " + error;
    }
    error = checkCycles();
    if (!error.empty()) {
        return "spectrum settings: " + error;
    }
    if (normalisation < SinusoidPower || normalisation > WaveletL2) {
        return "spectrum settings: unknown normalisation " + std::to_string(normalisation) +
               " (0 sinusoid power, 1 wavelet L2 norm)";
    }
    if (!std::isfinite(timeStepMs) || timeStepMs <= 0.0) {
        return "spectrum settings: the time step must be a finite number of ms above 0";
    }
    if (resultMode < Difference || resultMode > ZScore) {
        return "spectrum settings: unknown Result mode " + std::to_string(resultMode) +
               " (0 difference, 1 ratio, 2 decibel, 3 percent change, 4 z-score)";
    }
    if (threads < 0) {
        return "spectrum settings: the thread count must not be negative";
    }
    return {};
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
