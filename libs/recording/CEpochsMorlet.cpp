// Morlet transform of a host's epoch arrays: one real forward transform per epoch, then per
// frequency the product with the wavelet's spectrum and one inverse transform, long enough
// that the circular convolution equals the linear one.
#include "recording/CEpochsMorlet.h"

#include "FftwPlans.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <fftw3.h>
#include <numbers>
#include <sstream>
#include <thread>

namespace {

using Settings = CEpochsMorlet::Settings;
using Input = CEpochsMorlet::Input;
using Output = CEpochsMorlet::Output;
using Results = CEpochsMorlet::Results;

// MNE-Python samples its wavelets from -5 to 5 standard deviations of the Gaussian.
constexpr double kSigmas = 5.0;

std::string num(double v) {
    std::ostringstream s;
    s.precision(6);
    s << v;
    return s.str();
}

double cyclesAt(const Settings& s, std::size_t j) {
    return s.cycles.size() == 1 ? s.cycles[0] : s.cycles[j];
}

double sigmaT(const Settings& s, std::size_t j) {
    return cyclesAt(s, j) / (2.0 * std::numbers::pi * s.freqsHz[j]);
}

// Samples at t >= 0, as numpy's arange(0, 5 sigma_t, 1 / fs) counts them; the wavelet has
// twice as many less one. Only called once the settings are checked.
long long halfLength(const Settings& s, std::size_t j) {
    return static_cast<long long>(std::ceil(kSigmas * sigmaT(s, j) / (1.0 / s.samplingRateHz)));
}

long long waveletLength(const Settings& s, std::size_t j) {
    return 2 * halfLength(s, j) - 1;
}

std::string checkSettings(const Settings& s) {
    if (!std::isfinite(s.samplingRateHz) || s.samplingRateHz <= 0.0)
        return "the sampling rate must be a finite number above 0 Hz, not " + num(s.samplingRateHz);
    if (s.freqsHz.empty())
        return "no frequency given";
    const double nyquist = s.samplingRateHz / 2.0;
    for (std::size_t j = 0; j < s.freqsHz.size(); ++j) {
        const double f = s.freqsHz[j];
        if (!std::isfinite(f) || f <= 0.0)
            return "the frequencies must be finite and above 0 Hz (frequency " + std::to_string(j) +
                   " is " + num(f) + ")";
        if (f >= nyquist)
            return "frequency " + num(f) + " Hz is at or above the Nyquist frequency (" +
                   num(nyquist) + " Hz)";
    }
    if (s.cycles.size() != 1 && s.cycles.size() != s.freqsHz.size())
        return "n_cycles must be one number or one per frequency (" +
               std::to_string(s.freqsHz.size()) + " frequencies, " +
               std::to_string(s.cycles.size()) + " cycles)";
    for (std::size_t j = 0; j < s.cycles.size(); ++j) {
        if (!std::isfinite(s.cycles[j]) || s.cycles[j] <= 0.0 || s.cycles[j] > 1e6)
            return "the cycles must be finite numbers above 0 (cycles " + std::to_string(j) +
                   " is " + num(s.cycles[j]) + ")";
    }
    if (s.decimStep < 1)
        return "the decimation step must be at least 1, not " + std::to_string(s.decimStep);
    return {};
}

// The first sample that is not finite, named; empty when all are.
std::string checkSamples(const Input& in) {
    for (long long e = 0; e < in.epochs; ++e) {
        for (long long c = 0; c < in.channels; ++c) {
            const double* x = in.data + e * in.epochStride + c * in.channelStride;
            for (long long t = 0; t < in.times; ++t) {
                if (!std::isfinite(x[t * in.timeStride]))
                    return "sample " + std::to_string(t) + " of channel " + std::to_string(c) +
                           " in epoch " + std::to_string(e) + " is not finite (" +
                           num(x[t * in.timeStride]) + ")";
            }
        }
    }
    return {};
}

long long fftSize(const Settings& s, long long times) {
    long long longest = 0;
    for (std::size_t j = 0; j < s.freqsHz.size(); ++j)
        longest = std::max(longest, waveletLength(s, j));
    return fftw_plans::niceSize(times + longest - 1);
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};
template <typename T>
using FftwArray = std::unique_ptr<T[], FftwFree>;

template <typename T>
FftwArray<T> fftwArray(long long n) {
    FftwArray<T> a(static_cast<T*>(fftw_malloc(sizeof(T) * static_cast<std::size_t>(n))));
    if (!a)
        throw std::bad_alloc();
    return a;
}

// The wavelets' spectra (scaled by 1 / n, which the inverse transform leaves out) and the
// plans every thread executes on buffers of its own.
class Transform {
public:
    Transform(const Settings& s, long long times) : m_n(fftSize(s, times)) {
        const std::size_t nf = s.freqsHz.size();
        m_spectra = fftwArray<fftw_complex>(m_n * static_cast<long long>(nf));
        auto buffer = fftwArray<fftw_complex>(m_n);
        std::lock_guard<std::mutex> lock(fftw_plans::mutex());
        m_forwardW = fftw_plan_dft_1d(static_cast<int>(m_n), buffer.get(), m_spectra.get(),
                                      FFTW_FORWARD, FFTW_ESTIMATE);
        auto real = fftwArray<double>(m_n);
        m_forward =
            fftw_plan_dft_r2c_1d(static_cast<int>(m_n), real.get(), buffer.get(), FFTW_ESTIMATE);
        m_inverse = fftw_plan_dft_1d(static_cast<int>(m_n), buffer.get(), m_spectra.get(),
                                     FFTW_BACKWARD, FFTW_ESTIMATE);
        if (!m_forwardW || !m_forward || !m_inverse)
            throw std::bad_alloc();
        for (std::size_t j = 0; j < nf; ++j)
            addWavelet(s, j, buffer.get());
    }
    ~Transform() {
        std::lock_guard<std::mutex> lock(fftw_plans::mutex());
        for (fftw_plan p : {m_forwardW, m_forward, m_inverse})
            if (p)
                fftw_destroy_plan(p);
    }
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;

    long long size() const { return m_n; }
    const fftw_complex* spectrum(std::size_t j) const {
        return m_spectra.get() + static_cast<long long>(j) * m_n;
    }
    // Output sample t of frequency j sits at t + offset(j) of the linear convolution.
    long long offset(std::size_t j) const { return m_offsets[j]; }
    fftw_plan forward() const { return m_forward; }
    fftw_plan inverse() const { return m_inverse; }

private:
    void addWavelet(const Settings& s, std::size_t j, fftw_complex* buffer) {
        const auto w = CEpochsMorlet::wavelet(s, j);
        std::fill_n(&buffer[0][0], 2 * m_n, 0.0);
        for (std::size_t k = 0; k < w.size(); ++k) {
            buffer[k][0] = w[k].real() / static_cast<double>(m_n);
            buffer[k][1] = w[k].imag() / static_cast<double>(m_n);
        }
        fftw_execute_dft(m_forwardW, buffer, m_spectra.get() + static_cast<long long>(j) * m_n);
        m_offsets.push_back((static_cast<long long>(w.size()) - 1) / 2);
    }

    long long m_n;
    FftwArray<fftw_complex> m_spectra;
    std::vector<long long> m_offsets;
    fftw_plan m_forwardW = nullptr, m_forward = nullptr, m_inverse = nullptr;
};

// One thread's share: whole channels, taken one at a time.
class ChannelWorker {
public:
    ChannelWorker(const Transform& t, const Settings& s, const Input& in, Output out,
                  const Results& r)
        : m_t(t), m_s(s), m_in(in), m_out(out), m_r(r),
          m_nT(CEpochsMorlet::decimatedTimes(s, in.times)), m_real(fftwArray<double>(t.size())),
          m_half(fftwArray<fftw_complex>(t.size())), m_product(fftwArray<fftw_complex>(t.size())),
          m_conv(fftwArray<fftw_complex>(t.size())) {
        if (out == Output::AvgPowerItc)
            m_plf.assign(static_cast<std::size_t>(s.freqsHz.size() * m_nT), {0.0, 0.0});
    }

    void channel(long long c) {
        const long long perChannel = static_cast<long long>(m_s.freqsHz.size()) * m_nT;
        const bool average = m_out == Output::AvgPower || m_out == Output::AvgPowerItc;
        if (average)
            std::fill_n(m_r.power + c * perChannel, perChannel, 0.0);
        std::fill(m_plf.begin(), m_plf.end(), std::complex<double>());
        for (long long e = 0; e < m_in.epochs; ++e) {
            transformEpoch(e, c);
            const long long at = average ? c * perChannel : (e * m_in.channels + c) * perChannel;
            for (std::size_t j = 0; j < m_s.freqsHz.size(); ++j)
                convolve(j, at + static_cast<long long>(j) * m_nT);
        }
        if (average)
            finishAverage(c * perChannel, perChannel);
    }

private:
    void transformEpoch(long long e, long long c) {
        const double* x = m_in.data + e * m_in.epochStride + c * m_in.channelStride;
        for (long long t = 0; t < m_in.times; ++t)
            m_real[t] = x[t * m_in.timeStride];
        std::fill(m_real.get() + m_in.times, m_real.get() + m_t.size(), 0.0);
        fftw_execute_dft_r2c(m_t.forward(), m_real.get(), m_half.get());
    }

    // The convolution with wavelet j, its kept samples stored from `at` of the outputs.
    void convolve(std::size_t j, long long at) {
        multiply(m_t.spectrum(j));
        fftw_execute_dft(m_t.inverse(), m_product.get(), m_conv.get());
        const fftw_complex* z = m_conv.get() + m_t.offset(j) + m_s.decimStart;
        const long long step = m_s.decimStep;
        switch (m_out) {
        case Output::Complex:
            for (long long i = 0; i < m_nT; ++i)
                m_r.coefs[at + i] = {z[i * step][0], z[i * step][1]};
            break;
        case Output::Power:
            for (long long i = 0; i < m_nT; ++i)
                m_r.power[at + i] = norm(z[i * step]);
            break;
        case Output::AvgPower:
            for (long long i = 0; i < m_nT; ++i)
                m_r.power[at + i] += norm(z[i * step]);
            break;
        case Output::AvgPowerItc:
            accumulateItc(z, at, static_cast<long long>(j) * m_nT);
            break;
        }
    }

    static double norm(const fftw_complex& z) { return z[0] * z[0] + z[1] * z[1]; }

    // The epoch's spectrum times the wavelet's. The real epoch's spectrum is Hermitian: its
    // upper half mirrors the lower one the forward transform gives.
    void multiply(const fftw_complex* w) {
        const long long n = m_t.size();
        for (long long k = 0; k <= n / 2; ++k) {
            const double xr = m_half[k][0], xi = m_half[k][1];
            m_product[k][0] = xr * w[k][0] - xi * w[k][1];
            m_product[k][1] = xr * w[k][1] + xi * w[k][0];
        }
        for (long long k = n / 2 + 1; k < n; ++k) {
            const double xr = m_half[n - k][0], xi = -m_half[n - k][1];
            m_product[k][0] = xr * w[k][0] - xi * w[k][1];
            m_product[k][1] = xr * w[k][1] + xi * w[k][0];
        }
    }

    void accumulateItc(const fftw_complex* z, long long at, long long plfAt) {
        for (long long i = 0; i < m_nT; ++i) {
            const fftw_complex& c = z[i * m_s.decimStep];
            const double p = norm(c);
            m_r.power[at + i] += p;
            // As MNE-Python: a zero coefficient has no phase and makes the coherence NaN. The
            // square root of the power is the magnitude unless the squares overflowed.
            const double inverse =
                1.0 /
                (std::isfinite(p) ? std::sqrt(p) : std::abs(std::complex<double>(c[0], c[1])));
            m_plf[static_cast<std::size_t>(plfAt + i)] +=
                std::complex<double>(c[0] * inverse, c[1] * inverse);
        }
    }

    void finishAverage(long long at, long long count) {
        const auto epochs = static_cast<double>(m_in.epochs);
        for (long long i = 0; i < count; ++i) {
            m_r.power[at + i] /= epochs;
            if (m_out == Output::AvgPowerItc)
                m_r.itc[at + i] = std::abs(m_plf[static_cast<std::size_t>(i)]) / epochs;
        }
    }

    const Transform& m_t;
    const Settings& m_s;
    const Input& m_in;
    Output m_out;
    const Results& m_r;
    long long m_nT;
    FftwArray<double> m_real;
    FftwArray<fftw_complex> m_half, m_product, m_conv;
    std::vector<std::complex<double>> m_plf;
};

int threadCount(const Settings& s, long long channels) {
    const long long wanted =
        s.threads > 0 ? s.threads : std::max(1u, std::thread::hardware_concurrency());
    return static_cast<int>(std::clamp<long long>(wanted, 1, channels));
}

} // namespace

long long CEpochsMorlet::decimatedTimes(const Settings& s, long long times) {
    const long long stop = s.decimStop < 0 ? times : std::min(s.decimStop, times);
    const long long start = std::max(0LL, s.decimStart);
    if (s.decimStep < 1 || start >= stop)
        return 0;
    return (stop - start + s.decimStep - 1) / s.decimStep;
}

std::vector<std::complex<double>> CEpochsMorlet::wavelet(const Settings& s, std::size_t j) {
    const double f = s.freqsHz[j];
    const double sigma = sigmaT(s, j);
    const long long half = halfLength(s, j);
    const double step = 1.0 / s.samplingRateHz;
    const double offset =
        s.zeroMean ? std::exp(-2.0 * std::pow(std::numbers::pi * f * sigma, 2)) : 0.0;
    std::vector<std::complex<double>> w(static_cast<std::size_t>(2 * half - 1));
    double norm2 = 0.0;
    for (long long k = 1 - half; k < half; ++k) {
        const double t = static_cast<double>(k) * step;
        const double phase = 2.0 * std::numbers::pi * f * t;
        const std::complex<double> z =
            (std::complex<double>(std::cos(phase), std::sin(phase)) - offset) *
            std::exp(-t * t / (2.0 * sigma * sigma));
        w[static_cast<std::size_t>(k + half - 1)] = z;
        norm2 += std::norm(z);
    }
    const double scale = 1.0 / (std::sqrt(0.5) * std::sqrt(norm2));
    for (auto& z : w)
        z *= scale;
    return w;
}

std::string CEpochsMorlet::check(const Settings& s, const Input& in) {
    if (std::string e = checkSettings(s); !e.empty())
        return e;
    if (!in.data || in.epochs < 1 || in.channels < 1 || in.times < 1)
        return "the data must hold at least one epoch, one channel and one sample (" +
               std::to_string(in.epochs) + " x " + std::to_string(in.channels) + " x " +
               std::to_string(in.times) + ")";
    if (decimatedTimes(s, in.times) == 0)
        return "the decimation keeps no time point of the " + std::to_string(in.times) + " samples";
    for (std::size_t j = 0; j < s.freqsHz.size(); ++j) {
        if (waveletLength(s, j) > in.times)
            return "the wavelet of " + num(s.freqsHz[j]) + " Hz (" +
                   std::to_string(waveletLength(s, j)) + " samples) is longer than the epochs (" +
                   std::to_string(in.times) +
                   " samples): use longer epochs, fewer cycles or higher frequencies";
    }
    const double bytes = static_cast<double>(fftSize(s, in.times)) *
                         static_cast<double>(s.freqsHz.size()) * sizeof(fftw_complex);
    if (bytes > static_cast<double>(kMaxWaveletBytes))
        return "the wavelets' spectra would take " + num(bytes / (1 << 30)) +
               " GiB: use fewer frequencies or shorter epochs";
    return checkSamples(in);
}

std::string CEpochsMorlet::compute(const Settings& s, const Input& in, Output out,
                                   const Results& r) {
    if (std::string e = check(s, in); !e.empty())
        return e;
    try {
        const Transform transform(s, in.times);
        std::vector<std::unique_ptr<ChannelWorker>> workers;
        for (int i = 0; i < threadCount(s, in.channels); ++i)
            workers.push_back(std::make_unique<ChannelWorker>(transform, s, in, out, r));
        std::atomic<long long> next{0};
        const auto work = [&](ChannelWorker& w) {
            for (long long c = next++; c < in.channels; c = next++)
                w.channel(c);
        };
        std::vector<std::jthread> threads;
        for (std::size_t i = 1; i < workers.size(); ++i)
            threads.emplace_back(work, std::ref(*workers[i]));
        work(*workers[0]);
    } catch (const std::bad_alloc&) {
        return "out of memory for the transform";
    } catch (const std::system_error&) {
        return "no thread could be started for the transform";
    }
    return {};
}
