// Morlet time-frequency transform of epochs held in a host's arrays, with MNE-Python's wavelets
// and conventions, so that a script can swap MNE's tfr_morlet for it and get the same numbers:
//   - the wavelet of frequency f with n cycles is sampled at t_j = j / fs for |t_j| < 5 sigma_t,
//     sigma_t = n / (2 pi f): W_j = (exp(2 pi i f t_j) - z c) exp(-t_j^2 / (2 sigma_t^2)),
//     c = exp(-n^2 / 2), z = 1 with zeroMean, then scaled to the L2 norm sqrt(2);
//   - each epoch is convolved with it ("same" mode: the wavelet centred on the output sample,
//     the epoch zero outside);
//   - power |W * x|^2, inter-trial coherence |mean over epochs of (W * x) / |W * x||;
//   - decimation keeps samples start, start + step, ... below stop of the convolved epoch.
// Unlike the data set's transform (CSpctmSettings), the wavelet is cut at 5 sigma_t as MNE cuts
// it; the results differ from the data set's by up to about 1e-5 of the peak.
#pragma once

#include <complex>
#include <string>
#include <vector>

class CEpochsMorlet {
public:
    enum class Output {
        Power,      // per epoch: epochs x channels x frequencies x times
        Complex,    // per epoch, the coefficients: epochs x channels x frequencies x times
        AvgPower,   // over epochs: channels x frequencies x times
        AvgPowerItc // AvgPower, and the inter-trial coherence in the same layout
    };

    struct Settings {
        double samplingRateHz = 0.0;
        std::vector<double> freqsHz;
        // One count for every frequency, or one per frequency.
        std::vector<double> cycles = {7.0};
        bool zeroMean = true;
        // Samples kept of the convolved epoch: start, start + step, ... below stop.
        long long decimStart = 0;
        long long decimStop = -1; // -1: the epoch's length
        long long decimStep = 1;
        int threads = 1; // 0: one per processor core
    };

    // Sample (e, c, t) is data[e * epochStride + c * channelStride + t * timeStride]: a
    // host's array is read where it lies, whatever its memory order.
    struct Input {
        const double* data = nullptr;
        long long epochs = 0, channels = 0, times = 0;
        long long epochStride = 0, channelStride = 0, timeStride = 0;
    };

    // Where the results go, each in the layout Output names (C order); the ones the output
    // does not fill may be null.
    struct Results {
        double* power = nullptr;
        double* itc = nullptr;
        std::complex<double>* coefs = nullptr;
    };

    // Largest wavelet spectra held at once, in bytes (frequencies x transform length).
    static constexpr long long kMaxWaveletBytes = 4LL << 30;

    // Why these settings cannot be used on this input: one line; empty when they can. Checks
    // the rate, frequencies (above 0, below the Nyquist frequency), cycles, the decimation,
    // that no wavelet is longer than an epoch, the transform's memory, and that every sample
    // is finite.
    static std::string check(const Settings& settings, const Input& input);
    // Time points kept by the decimation of an epoch of `times` samples (0 when none).
    static long long decimatedTimes(const Settings& settings, long long times);
    // The sampled wavelet of frequency index j (the rule above).
    static std::vector<std::complex<double>> wavelet(const Settings& settings, std::size_t j);

    // Transforms the input into the results; the message of check(), or of a failure to get
    // memory, when it cannot (results then untouched or partly written). Releases nothing
    // it does not own; safe to call from several threads at once.
    static std::string compute(const Settings& settings, const Input& input, Output output,
                               const Results& results);
};
