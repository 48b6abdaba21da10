// Settings of the time-frequency computation of one session.
#pragma once

#include <span>
#include <string>
#include <vector>

// Spectra are complex Morlet wavelet coefficients, the convolution of each epoch (zero outside
// it) with the sampled wavelet of every centre frequency f with n cycles (see cyclesAt):
//     w[j] = A * (exp(2*pi*i*f*t_j) - z*c) * exp(-t_j^2 / (2*sigma_t^2)),  t_j = j / fs,
//     sigma_t = n / (2*pi*f),  c = exp(-n^2 / 2),  z = 1 with zeroMean, else 0,
// over every integer j (the Gaussian is computed to 1.6e-8 of its peak: the result is the linear
// convolution, never a circular one). Its spectrum is the Gaussian band
// exp(-(nu - f)^2 / (2*sigma_f^2)), sigma_f = f / n, less z*c times the same band at 0 Hz, so
// a real signal's mirrored frequency -f passes with the relative gain exp(-2*n^2) (zero mean:
// (exp(-2*n^2) - c^2) / (1 - c^2)), in size below 2e-8 from 3 cycles on (zero mean: 5).
// The normalisation fixes A:
// - SinusoidPower: A = 2 / (fs * sigma_t * sqrt(2*pi) * (1 - z*c^2)), the gain 1 at f, so that
//   a sinusoid of amplitude a gives coefficients of magnitude a and power a^2 whatever f, n and
//   fs: power stays in the signal's unit squared and frequencies compare directly.
// - WaveletL2: w scaled to the L2 norm sqrt(2) over its samples from -5*sigma_t to 5*sigma_t,
//   as MNE-Python's morlet() does; a unit sinusoid then gives the power
//   fs * sigma_t * sqrt(pi) * (1 - z*c^2)^2 / (1 - 2*z*c^(3/2) + z*c^2).
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
    // Scale of the wavelets (see above).
    enum Normalisation : int {
        SinusoidPower = 0, // a sinusoid of amplitude a gives power a^2
        WaveletL2 = 1      // wavelets of L2 norm sqrt(2), MNE-Python's convention
    };
    static constexpr double kMinCycles = 1.0;
    static constexpr double kMaxCycles = 1000.0;

    // Centre frequencies in Hz, strictly increasing, each above 0 and below the Nyquist
    // frequency; default 4 to 62 Hz in steps of 2 Hz.
    std::vector<double> freqsHz = defaultFreqsHz();
    // Cycles n of the wavelets (time resolution against frequency resolution), each between
    // kMinCycles and kMaxCycles. The first rule given wins: cyclesPerFreq, one count per
    // frequency; cyclesDivisor c > 0, n = f / c (c = 2 gives n = f / 2); cycles for every
    // frequency.
    std::vector<double> cyclesPerFreq;
    double cyclesDivisor = 0.0;
    double cycles = 7.0;
    // Subtract the constant that makes each wavelet's mean zero (matters below 5 cycles).
    bool zeroMean = false;
    Normalisation normalisation = SinusoidPower;
    // Time step of the spectrum grid in ms, rounded to whole samples (at least one sample).
    double timeStepMs = 10.0;
    ResultMode resultMode = Decibel;
    // Worker threads; 0 uses one per processor core.
    int threads = 0;

    static std::vector<double> defaultFreqsHz();
    // Cycles of the wavelet at frequency index j, by the rule above; j must be valid.
    double cyclesAt(std::size_t j) const;

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

private:
    std::string checkCycles() const;
};
