// Source model: alpha, two central beta sources and a focal gamma burst, each a jittered
// oscillation under an envelope, seen by a sensor with a gain that falls off as a Gaussian of
// the angle between sensor and source directions. Noise: a sum of first-order low-pass
// processes whose corner frequencies are spread geometrically, which gives a 1/f spectrum.
#include "CSignalGenerator.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Source {
    CSignalGenerator::Vec direction; // unit vector after normalisation
    double widthRad;                 // angular spread of the gain
    double freqHz;
    double amplitude;
};

// x right, y front, z up.
const Source kSources[CSignalGenerator::kSourceCount] = {
    {{0.0, -0.9, 0.35}, 0.55, 10.0, 1.5},  // occipital alpha
    {{-0.65, 0.0, 0.75}, 0.40, 20.0, 0.8}, // left central beta
    {{0.65, 0.0, 0.75}, 0.40, 20.0, 0.8},  // right central beta
    {{0.35, -0.8, 0.45}, 0.22, 50.0, 0.9}, // focal gamma
};
constexpr double kNoiseSd = 1.0;

double smoothstep(double a, double b, double t) {
    const double x = std::clamp((t - a) / (b - a), 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

// Envelope of source s at t seconds after the stimulus; `shift` is the epoch's latency jitter.
double envelope(int s, double t, double shift) {
    t -= shift;
    switch (s) {
    case 0: // alpha desynchronisation
        return 1.0 - 0.7 * smoothstep(0.0, 0.25, t) * (1.0 - smoothstep(0.8, 1.1, t));
    case 1:
    case 2: // beta suppression, then rebound
        return 1.0 - 0.6 * smoothstep(0.05, 0.2, t) * (1.0 - smoothstep(0.35, 0.5, t)) +
               1.5 * std::exp(-(t - 0.65) * (t - 0.65) / (2.0 * 0.1 * 0.1));
    default: // gamma burst
        return std::exp(-(t - 0.2) * (t - 0.2) / (2.0 * 0.05 * 0.05));
    }
}

// SplitMix64: independent, reproducible streams from (seed, labels).
unsigned long long mix(unsigned long long x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

unsigned long long stream(unsigned long long seed, int a, int b, int c) {
    return mix(mix(mix(seed ^ mix(static_cast<unsigned long long>(a))) +
                   static_cast<unsigned long long>(b)) +
               static_cast<unsigned long long>(c));
}

// Standard normal numbers by Box-Muller, the same on every platform.
class Normal {
public:
    explicit Normal(unsigned long long seed) : m_engine(seed) {}
    double next() {
        if (m_has) {
            m_has = false;
            return m_spare;
        }
        const double u1 = (static_cast<double>(m_engine() >> 11) + 0.5) * 0x1.0p-53;
        const double u2 = static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
        const double r = std::sqrt(-2.0 * std::log(u1));
        m_spare = r * std::sin(kTwoPi * u2);
        m_has = true;
        return r * std::cos(kTwoPi * u2);
    }
    double uniform() { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 m_engine;
    double m_spare = 0.0;
    bool m_has = false;
};

double gain(const Source& s, const CSignalGenerator::Vec& dir) {
    const auto& d = s.direction;
    const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const double c = (d[0] * dir[0] + d[1] * dir[1] + d[2] * dir[2]) / len;
    const double angle = std::acos(std::clamp(c, -1.0, 1.0));
    return std::exp(-angle * angle / (2.0 * s.widthRad * s.widthRad));
}

} // namespace

CSignalGenerator::CSignalGenerator(unsigned long long seed, const Timing& timing)
    : m_seed(seed), m_timing(timing) {}

void CSignalGenerator::prepareTrial(int trial) {
    m_trial = trial;
    const size_t n = static_cast<size_t>(m_timing.samples);
    for (int s = 0; s < kSourceCount; ++s) {
        std::vector<double>& course = m_courses[static_cast<size_t>(s)];
        course.assign(n * static_cast<size_t>(m_timing.epochs), 0.0);
        for (int e = 0; e < m_timing.epochs; ++e) {
            Normal rng(stream(m_seed, trial, e, 1000 + s));
            const double phase = kTwoPi * rng.uniform();
            const double freq = kSources[s].freqHz * (1.0 + 0.04 * rng.next());
            const double amp = kSources[s].amplitude * std::max(0.3, 1.0 + 0.15 * rng.next());
            const double shift = 0.015 * rng.next();
            for (size_t i = 0; i < n; ++i) {
                const double t =
                    (m_timing.firstLatencyMs + 1000.0 * static_cast<double>(i) / m_timing.rateHz) /
                    1000.0;
                course[static_cast<size_t>(e) * n + i] =
                    amp * envelope(s, t, shift) * std::sin(kTwoPi * freq * t + phase);
            }
        }
    }
}

void CSignalGenerator::channelSamples(int channel, const Vec& direction, double unitScale,
                                      std::vector<double>& out) const {
    pinkNoise(stream(m_seed, m_trial, channel, 7), out);
    for (int s = 0; s < kSourceCount; ++s) {
        const double g = gain(kSources[s], direction);
        const std::vector<double>& course = m_courses[static_cast<size_t>(s)];
        for (size_t i = 0; i < out.size(); ++i)
            out[i] += g * course[i];
    }
    for (double& v : out)
        v *= unitScale;
}

void CSignalGenerator::pinkNoise(unsigned long long seed, std::vector<double>& out) const {
    constexpr int kPoles = 6;
    const double fs = m_timing.rateHz, lowHz = 0.5, highHz = fs / 4.0;
    double pole[kPoles], drive[kPoles], state[kPoles];
    for (int k = 0; k < kPoles; ++k) {
        // Each stage is flat at 1/f_k up to its corner f_k and falls beyond it.
        const double fk = lowHz * std::pow(highHz / lowHz, k / (kPoles - 1.0));
        pole[k] = std::exp(-kTwoPi * fk / fs);
        drive[k] = (1.0 - pole[k]) / std::sqrt(fk);
        state[k] = 0.0;
    }
    // All stages share one white input, so the variance has cross terms.
    double variance = 0.0;
    for (int j = 0; j < kPoles; ++j)
        for (int k = 0; k < kPoles; ++k)
            variance += drive[j] * drive[k] / (1.0 - pole[j] * pole[k]);
    const double norm = kNoiseSd / std::sqrt(variance);
    const size_t n = static_cast<size_t>(m_timing.epochs) * static_cast<size_t>(m_timing.samples);
    const size_t warmUp = static_cast<size_t>(4.0 * fs / lowHz / kTwoPi) + 1;
    out.resize(n);
    Normal rng(seed);
    for (size_t i = 0; i < warmUp + n; ++i) {
        const double w = rng.next();
        double sum = 0.0;
        for (int k = 0; k < kPoles; ++k) {
            state[k] = pole[k] * state[k] + drive[k] * w;
            sum += state[k];
        }
        if (i >= warmUp)
            out[i - warmUp] = sum * norm;
    }
}
