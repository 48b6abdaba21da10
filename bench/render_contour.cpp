// Contour colour: one standard query per sensor for 306 sensors over a 31 x 31 window,
// against a bare summation of the same values (counter "ratio").
#include "recording/CMEDataSetBuilder.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <vector>

namespace {

constexpr int kSensors = 306;
constexpr long long kTime = 200;
constexpr long long kFreq = 40;
constexpr long long kWin = 31;

struct Fixture {
    CArrayMEDataSetzq data;
    std::vector<CSpctmChnlzq> spectra;
    Fixture() : spectra(kSensors) {
        CMEDataSetBuilder b(data);
        int s = 0;
        b.addSession(&s);
        b.addTrial(s, nullptr);
        for (int c = 0; c < kSensors; ++c) {
            spectra[c].resize(kTime, kFreq);
            double* g = spectra[c].getSpctmDataPtr(0, nullptr, nullptr);
            for (long long i = 0; i < kTime * kFreq; ++i)
                g[i] = std::sin(0.01 * static_cast<double>(i + c));
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The same values summed with no renderer in between, seconds per round of all sensors.
double bareSeconds(std::vector<CSpctmChnlzq>& spectra, long long t0, long long f0) {
    double best = 1e9;
    for (int k = 0; k < 50; ++k) {
        const auto a = std::chrono::steady_clock::now();
        for (CSpctmChnlzq& s : spectra) {
            const double* g = s.getSpctmDataPtr(0, nullptr, nullptr);
            double sum = 0.0;
            for (long long t = t0; t < t0 + kWin; ++t)
                for (long long f = f0; f < f0 + kWin; ++f)
                    sum += g[t * kFreq + f];
            benchmark::DoNotOptimize(sum);
        }
        const auto b = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(b - a).count());
    }
    return best;
}

void BM_ContourColour(benchmark::State& state) {
    Fixture& fx = fixture();
    CMEGSpctm3DRndzq r;
    r.setDrawMEGData(&fx.data);
    r.polarity = static_cast<int>(state.range(0));
    const long long t0 = 50;
    const long long f0 = 4;
    const double bare = bareSeconds(fx.spectra, t0, f0);
    float colour[4];
    double best = 1e9;
    for (auto _ : state) {
        const auto a = std::chrono::steady_clock::now();
        for (CSpctmChnlzq& s : fx.spectra)
            r.drawSpctmContourmapStd(t0, f0, t0 + kWin - 1, f0 + kWin - 1, &s, 0, 0, nullptr,
                                     colour);
        const auto b = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(b - a).count();
        state.SetIterationTime(seconds);
        best = std::min(best, seconds);
        benchmark::DoNotOptimize(colour);
    }
    // Best against best: the shared build machine's load inflates averages unevenly.
    state.counters["ratio"] = best / bare;
}

} // namespace

BENCHMARK(BM_ContourColour)
    ->ArgName("polarity")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
