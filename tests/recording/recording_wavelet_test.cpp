// The computed spectra against the wavelet as documented, built here in the time domain:
// cycles per frequency, zero mean, both normalisations.
#include "RecordingFixture.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

using namespace recording_test;

namespace {

using Complex = std::complex<double>;
constexpr double kPi = std::numbers::pi;

// The sampled wavelet w[j], j = -half..half, far beyond where the Gaussian matters.
std::vector<Complex> wavelet(double f, double n, double rate, const CSpctmSettings& s,
                             long long& half) {
    const double sigma = n / (2.0 * kPi * f);
    const double c = s.zeroMean ? std::exp(-0.5 * n * n) : 0.0;
    half = static_cast<long long>(std::ceil(10.0 * sigma * rate));
    std::vector<Complex> w;
    for (long long j = -half; j <= half; ++j) {
        const double t = static_cast<double>(j) / rate;
        w.push_back((std::polar(1.0, 2.0 * kPi * f * t) - c) *
                    std::exp(-t * t / (2.0 * sigma * sigma)));
    }
    double scale = 2.0 / (rate * sigma * std::sqrt(2.0 * kPi) * (1.0 - c * c));
    if (s.normalisation == CSpctmSettings::WaveletL2) {
        // The norm over MNE-Python's sample times 0, 1/fs, ... below 5 sigma_t, mirrored.
        const auto last = static_cast<long long>(std::ceil(5.0 * sigma * rate)) - 1;
        double sumSq = 0.0;
        for (long long j = -last; j <= last; ++j) {
            sumSq += std::norm(w[static_cast<std::size_t>(j + half)]);
        }
        scale = 1.0 / std::sqrt(0.5 * sumSq);
    }
    for (Complex& v : w) {
        v *= scale;
    }
    return w;
}

// Largest difference of the Active class of channel 0 from the direct convolution of every
// epoch, relative to the largest power at the same frequency.
double worstDifference(SmallRecording& rec, const std::vector<double>& raw,
                       const CSpctmSettings& s) {
    const CSpctmTrialzq& axes = *rec.trial().getSpctmTrial(false, 0);
    long long nT = 0, nF = 0;
    const CSpctmChnl& sp = *rec.trial().getChannel(0)->getSpctmChnl(false, 0);
    const double* re = sp.getSpctmDataPtr(0, &nT, &nF);
    const double* im = sp.getSpctmDataPtr(1, nullptr, nullptr);
    const double* pw = sp.getSpctmDataPtr(2, nullptr, nullptr);
    double worst = 0.0;
    for (long long f = 0; f < nF; ++f) {
        long long half = 0;
        const auto w = wavelet(s.freqsHz[f], s.cyclesAt(f), kRate, s, half);
        std::vector<Complex> mean(nT);
        std::vector<double> power(nT);
        for (long long t = 0; t < nT; ++t) {
            const auto at = std::llround((axes.getLatencyMs(t) - kFirstMs) * kRate / 1000.0);
            for (long long e = 0; e < kEpochs; ++e) {
                Complex y = 0.0;
                for (long long p = std::max(0LL, at - half); p <= std::min(kSamples - 1, at + half);
                     ++p) {
                    y += raw[e * kSamples + p] * w[at - p + half];
                }
                mean[t] += y / double(kEpochs);
                power[t] += std::norm(y) / double(kEpochs);
            }
        }
        const double peak = *std::max_element(power.begin(), power.end());
        for (long long t = 0; t < nT; ++t) {
            const long long i = t * nF + f;
            worst = std::max({worst, std::abs(Complex(re[i], im[i]) - mean[t]) / std::sqrt(peak),
                              std::fabs(pw[i] - power[t]) / peak});
        }
    }
    return worst;
}

TEST(MorletWavelet, EqualsTheDirectConvolutionAtEveryCycleCount) {
    std::mt19937 rng(11);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<double> raw;
    for (long long i = 0; i < kEpochs * kSamples; ++i) {
        raw.push_back(noise(rng) + 3.0 * std::sin(0.2 * static_cast<double>(i)));
    }
    auto sample = [&](long long e, double t) {
        return raw[e * kSamples + std::llround((1000.0 * t - kFirstMs) * kRate / 1000.0)];
    };
    CSpctmSettings s;
    // The longest wavelet reaches past both epoch ends; 110 Hz lies 15 Hz below Nyquist.
    s.freqsHz = {6.0, 23.0, 41.0, 77.0, 110.0};
    s.timeStepMs = 12.0;
    s.cyclesPerFreq = {7.0, 5.0, 3.0, 2.0, 1.0};
    {
        SmallRecording rec;
        rec.computeWith(sample, s);
        EXPECT_LT(worstDifference(rec, raw, s), 1e-6);
    }
    s.cyclesPerFreq = {1.0, 2.0, 3.0, 5.0, 7.0};
    s.zeroMean = true;
    s.normalisation = CSpctmSettings::WaveletL2;
    {
        SmallRecording rec;
        rec.computeWith(sample, s);
        EXPECT_LT(worstDifference(rec, raw, s), 1e-6);
    }
}

// Power of a unit sinusoid at 10 Hz in the middle of 2 s epochs at 500 Hz; the epochs' phases
// step by a quarter period so that what the wavelet passes of -10 Hz averages out.
double unitSinePower(const CSpctmSettings& s) {
    constexpr double rate = 500.0;
    constexpr long long n = 1000;
    std::vector<double> raw;
    for (long long e = 0; e < kEpochs; ++e) {
        for (long long i = 0; i < n; ++i) {
            const double t = -1.0 + static_cast<double>(i) / rate;
            raw.push_back(std::cos(2.0 * kPi * 10.0 * t + 0.5 * kPi * static_cast<double>(e)));
        }
    }
    SmallRecording rec;
    EXPECT_TRUE(rec.builder.setSpectrumSettings(0, s));
    for (int c = 0; c < kChannels; ++c) {
        EXPECT_TRUE(rec.builder.setChannelEpochs(0, 0, c, raw, kEpochs, rate, -1000.0));
    }
    EXPECT_TRUE(rec.builder.setWindows(0, 0, 0.0, 0.0, -900.0, -300.0));
    EXPECT_TRUE(rec.builder.computeSpectra(0));
    return rec.trial().getChannel(0)->getSpctmChnl(false, 0)->getSpctmDataPtr(2, nullptr,
                                                                              nullptr)[0];
}

TEST(MorletWavelet, UnitSinusoidPowerFollowsTheNormalisation) {
    CSpctmSettings s;
    s.freqsHz = {10.0};
    s.timeStepMs = 2.0;
    const double sigma = 7.0 / (20.0 * kPi);
    EXPECT_NEAR(unitSinePower(s), 1.0, 1e-7);
    s.normalisation = CSpctmSettings::WaveletL2;
    EXPECT_NEAR(unitSinePower(s), 500.0 * sigma * std::sqrt(kPi), 1e-4);
    EXPECT_NEAR(unitSinePower(s), 98.7332, 1e-4);
    // Zero mean at 3 cycles: c = exp(-4.5) shows in the fifth digit.
    s.cycles = 3.0;
    s.zeroMean = true;
    const double c = std::exp(-4.5);
    const double expected = 500.0 * (3.0 / (20.0 * kPi)) * std::sqrt(kPi) * (1.0 - c * c) *
                            (1.0 - c * c) / (1.0 - 2.0 * std::pow(c, 1.5) + c * c);
    EXPECT_NEAR(unitSinePower(s), expected, 1e-6 * expected);
    s.normalisation = CSpctmSettings::SinusoidPower;
    EXPECT_NEAR(unitSinePower(s), 1.0, 1e-7);
    // n = f / 2 is 5 cycles at 10 Hz.
    s.cyclesDivisor = 2.0;
    s.normalisation = CSpctmSettings::WaveletL2;
    s.zeroMean = false;
    EXPECT_NEAR(unitSinePower(s), 500.0 * (5.0 / (20.0 * kPi)) * std::sqrt(kPi), 1e-4);
    // A list given as well wins over the divisor, even one that alone would be refused (0.1
    // cycles at 10 Hz).
    s.cyclesPerFreq = {3.0};
    s.cyclesDivisor = 100.0;
    EXPECT_NEAR(unitSinePower(s), 500.0 * (3.0 / (20.0 * kPi)) * std::sqrt(kPi), 1e-4);
}

} // namespace
