// Settings of the time-frequency computation of one session.
#pragma once

#include <span>
#include <string>
#include <vector>

// Spectra are complex Morlet wavelet coefficients. For centre frequency f and n cycles the
// wavelet is
//     psi_f(t) = A * exp(2*pi*i*f*t) * exp(-t^2 / (2*sigma_t^2)),  sigma_t = n / (2*pi*f),
// applied as an analytic filter: its spectrum is 2 * exp(-(nu - f)^2 / (2*sigma_f^2)) with
// sigma_f = f / n for nu > 0 and zero for nu <= 0. This fixes A so that a sinusoid of
// amplitude a at frequency f gives coefficients of magnitude a and power a^2, whatever f,
// n and the sampling rate: power stays in the signal's unit squared and frequencies compare
// directly. (Unit-energy wavelets would instead scale a sinusoid's power with 1/f.)
//
// Class 2 (Result) contrasts Active against Control per channel, Active time point and
// frequency, with the Control window as baseline: P_A(t, f) against the mean P_C(f) of the
// Control window's power at f (and its standard deviation S_C(f) for the z-score). Decibel is
// the default: it is the usual baseline normalisation of MEG/EEG time-frequency power, is
// symmetric for decreases and increases (halving -3 dB, doubling +3 dB, so desynchronisation
// and rebound look alike), removes the 1/f fall of power so all frequencies share one colour
// scale, and is 0 where nothing changes, which suits the signed palettes. The real and
// imaginary components of Result are always the difference from the Control mean (ratios of
// signed values mean nothing). A point whose baseline makes the contrast undefined (zero or
// non-finite denominator) holds NaN.
class CSpctmSettings {
public:
    // A fixed underlying type, so that a host's out-of-range value is defined and refused.
    enum ResultMode : int {
        Difference = 0,    // P_A - P_C
        Ratio = 1,         // P_A / P_C
        Decibel = 2,       // 10 * log10(P_A / P_C)
        PercentChange = 3, // 100 * (P_A - P_C) / P_C
        ZScore = 4         // (P_A - P_C) / S_C
    };

    // Centre frequencies in Hz, strictly increasing, each above 0 and below the Nyquist
    // frequency; default 4 to 62 Hz in steps of 2 Hz.
    std::vector<double> freqsHz = defaultFreqsHz();
    // Cycles n of every wavelet (time resolution against frequency resolution); at least 1.
    double cycles = 7.0;
    // Time step of the spectrum grid in ms, rounded to whole samples (at least one sample).
    double timeStepMs = 10.0;
    ResultMode resultMode = Decibel;
    // Worker threads; 0 uses one per processor core.
    int threads = 0;

    static std::vector<double> defaultFreqsHz();

    // Why a frequency list cannot be used: empty, a value not finite or not above 0 Hz, not
    // strictly increasing, or (when samplingRateHz > 0) one at or above the Nyquist frequency.
    // Empty when it can. The one rule for settings and for the axes of handed-in spectra.
    static std::string checkFreqsHz(std::span<const double> freqsHz, double samplingRateHz);
    // Why these settings cannot be used at this sampling rate (0: not known yet); empty when
    // they can.
    std::string check(double samplingRateHz) const;
    // Unit of the values of a spectral class and data component for a channel whose signal
    // is in signalUnit: real and imaginary parts keep it, power is its square ("fT²",
    // "(fT/cm)²"), and Result power takes the contrast's unit: the square for a difference,
    // "" for a ratio, "dB", "%", "z". Empty for a class or component outside 0..2.
    std::u16string getSpctmUnit(const std::u16string& signalUnit, int spectralClass,
                                int component) const;
};
