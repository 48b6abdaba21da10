// The transform of a host's epoch arrays against a direct convolution written out here, and
// the limits it checks.
#include "recording/CEpochsMorlet.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using Output = CEpochsMorlet::Output;

// Epochs x channels x times in a Fortran-ordered array with one unused channel between two
// used ones: the transform must read through the strides.
struct Strided {
    long long epochs = 3, channels = 2, times = 160;
    std::vector<double> memory;
    Strided() : memory(static_cast<std::size_t>(epochs * (2 * channels) * times)) {
        std::mt19937 rng(7);
        std::normal_distribution<double> n;
        for (auto& v : memory)
            v = n(rng);
    }
    CEpochsMorlet::Input input() const {
        return {memory.data(), epochs, channels, times, 1, 2 * epochs, epochs * 2 * channels};
    }
    double at(long long e, long long c, long long t) const {
        const auto in = input();
        return memory[static_cast<std::size_t>(e * in.epochStride + c * in.channelStride +
                                               t * in.timeStride)];
    }
};

CEpochsMorlet::Settings settings() {
    CEpochsMorlet::Settings s;
    s.samplingRateHz = 100.0;
    s.freqsHz = {6.0, 11.0, 23.5};
    s.cycles = {3.0, 4.0, 6.0};
    return s; // zero mean by default, as MNE-Python's tfr_morlet
}

// "Same"-mode convolution: output t has the wavelet centred on sample t.
std::complex<double> direct(const Strided& x, const CEpochsMorlet::Settings& s, std::size_t j,
                            long long e, long long c, long long t) {
    const auto w = CEpochsMorlet::wavelet(s, j);
    const auto half = static_cast<long long>(w.size() - 1) / 2;
    std::complex<double> sum;
    for (long long k = 0; k < x.times; ++k) {
        const long long i = t - k + half;
        if (i >= 0 && i < static_cast<long long>(w.size()))
            sum += x.at(e, c, k) * w[static_cast<std::size_t>(i)];
    }
    return sum;
}

} // namespace

TEST(EpochsMorlet, EqualsTheDirectConvolutionInEveryOutput) {
    const Strided x;
    auto s = settings();
    s.decimStart = 3;
    s.decimStop = 158;
    s.decimStep = 7;
    const long long nT = CEpochsMorlet::decimatedTimes(s, x.times);
    ASSERT_EQ(nT, 23); // 3, 10, ..., 157
    const std::size_t perEpoch = static_cast<std::size_t>(x.channels * 3 * nT);
    std::vector<std::complex<double>> coefs(perEpoch * x.epochs);
    std::vector<double> power(perEpoch), itc(perEpoch), single(coefs.size());
    ASSERT_EQ(CEpochsMorlet::compute(s, x.input(), Output::Complex, {.coefs = coefs.data()}), "");
    ASSERT_EQ(CEpochsMorlet::compute(s, x.input(), Output::Power, {.power = single.data()}), "");
    s.threads = 2;
    ASSERT_EQ(CEpochsMorlet::compute(s, x.input(), Output::AvgPowerItc,
                                     {.power = power.data(), .itc = itc.data()}),
              "");
    for (long long c = 0; c < x.channels; ++c) {
        for (std::size_t j = 0; j < 3; ++j) {
            for (long long i = 0; i < nT; ++i) {
                const std::size_t at = static_cast<std::size_t>((c * 3 + j) * nT + i);
                double mean = 0.0;
                std::complex<double> phase;
                for (long long e = 0; e < x.epochs; ++e) {
                    const auto z = direct(x, s, j, e, c, s.decimStart + i * s.decimStep);
                    const std::size_t ae = at + perEpoch * e;
                    ASSERT_NEAR(std::abs(coefs[ae] - z), 0.0, 1e-12 * (1.0 + std::abs(z)));
                    EXPECT_NEAR(single[ae], std::norm(z), 1e-12 * (1.0 + std::norm(z)));
                    mean += std::norm(z) / x.epochs;
                    phase += z / std::abs(z) / static_cast<double>(x.epochs);
                }
                EXPECT_NEAR(power[at], mean, 1e-12 * (1.0 + mean));
                EXPECT_NEAR(itc[at], std::abs(phase), 1e-12);
            }
        }
    }
}

TEST(EpochsMorlet, WaveletsHaveMnesLengthNormAndMean) {
    auto s = settings();
    // 3 cycles at 6 Hz: sigma_t = 79.6 ms, samples while t < 5 sigma_t = 397.9 ms: 40 a side.
    const auto w = CEpochsMorlet::wavelet(s, 0);
    ASSERT_EQ(w.size(), 79u);
    double norm2 = 0.0;
    std::complex<double> sum;
    for (const auto& z : w) {
        norm2 += std::norm(z);
        sum += z;
    }
    EXPECT_NEAR(norm2, 2.0, 1e-12);
    EXPECT_LT(std::abs(sum), 1e-3 * std::sqrt(norm2));
    s.zeroMean = false;
    std::complex<double> raw;
    for (const auto& z : CEpochsMorlet::wavelet(s, 0))
        raw += z;
    EXPECT_GT(std::abs(raw), 10 * std::abs(sum));
}

TEST(EpochsMorlet, RefusesWhatItCannotComputeAtTheExactLimits) {
    const Strided x;
    const auto check = [&](const CEpochsMorlet::Settings& s, CEpochsMorlet::Input in) {
        return CEpochsMorlet::check(s, in);
    };
    auto s = settings();
    EXPECT_EQ(check(s, x.input()), "");
    s.freqsHz = {6.0, 50.0};
    s.cycles = {3.0};
    EXPECT_NE(check(s, x.input()).find("Nyquist"), std::string::npos);
    s.freqsHz = {6.0, std::nextafter(50.0, 0.0)};
    EXPECT_EQ(check(s, x.input()), "");
    s.cycles = {3.0, 4.0, 5.0};
    EXPECT_NE(check(s, x.input()).find("n_cycles"), std::string::npos);
    // 3 cycles at 6 Hz take 79 samples: epochs of 79 are long enough, of 78 not.
    s = settings();
    s.freqsHz = {6.0};
    s.cycles = {3.0};
    auto in = x.input();
    in.times = 79;
    EXPECT_EQ(check(s, in), "");
    in.times = 78;
    EXPECT_NE(check(s, in).find("longer than the epochs"), std::string::npos);
    in.times = 79;
    s.decimStart = 78;
    EXPECT_EQ(CEpochsMorlet::decimatedTimes(s, in.times), 1);
    s.decimStart = 79;
    EXPECT_NE(check(s, in).find("keeps no time point"), std::string::npos);
    s.decimStart = 0;
    s.decimStep = 0;
    EXPECT_NE(check(s, in).find("decimation step"), std::string::npos);
    s.decimStep = 1;
    std::vector<double> spoilt(x.memory);
    spoilt[static_cast<std::size_t>(2 * in.epochStride + 1 * in.channelStride +
                                    5 * in.timeStride)] = NAN;
    in.data = spoilt.data();
    EXPECT_EQ(check(s, in).rfind("sample 5 of channel 1 in epoch 2 is not finite", 0), 0u);
    in.data = nullptr;
    EXPECT_NE(check(s, in).find("at least one epoch"), std::string::npos);
    std::vector<double> untouched(4, 1.0);
    EXPECT_NE(CEpochsMorlet::compute(s, in, Output::AvgPower, {.power = untouched.data()}), "");
    EXPECT_EQ(untouched, std::vector<double>(4, 1.0));
}
