// Rebuild of a 2000 x 200 spectrogram surface by every drawing, against a memcpy of the same
// vertex bytes (counter "ratio", best run against best copy), with the heap allocations of a
// same-size redraw ("allocs").
#include <benchmark/benchmark.h>

// GCC pairs the replaced operator new below with std::free wrongly; the pair is consistent.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include "geometry/COneSpctm3DVtx.h"
#include "recording/CMEDataSetBuilder.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

std::atomic<long long> g_allocations{0};

constexpr long long kTime = 2000;
constexpr long long kFreq = 200;

CArrayMEDataSetzq& dataSet() {
    static CArrayMEDataSetzq data;
    static bool built = false;
    if (!built) {
        built = true;
        CMEDataSetBuilder b(data);
        int s = 0;
        int t = 0;
        b.addSession(&s);
        b.addTrial(s, &t);
        const double pos[3] = {0.0, 0.0, 0.1};
        const double normal[3] = {0.0, 0.0, 1.0};
        CMEGSensorzq sensor("MEG0111", CMEGSensor::Magnetometer);
        sensor.addCoil(CBscMagSnszq(pos, normal));
        b.addMegChannel(s, u"", sensor);
        std::vector<double> freqs(kFreq);
        for (long long f = 0; f < kFreq; ++f)
            freqs[f] = 1.0 + 0.5 * static_cast<double>(f);
        b.setSpectrumAxes(s, t, 0, kTime, 0.0, 1.0, freqs);
        std::vector<double> re(kTime * kFreq), im(kTime * kFreq, 0.0), pw(kTime * kFreq);
        for (long long i = 0; i < kTime * kFreq; ++i) {
            re[i] = std::sin(0.001 * static_cast<double>(i)) * 1.5;
            pw[i] = re[i] * re[i];
        }
        b.setChannelSpectrum(s, t, 0, 0, re, im, pw);
        b.computeSpectra(s);
    }
    return data;
}

// Seconds per memcpy of `bytes`, the best of several runs.
double memcpySeconds(size_t bytes) {
    std::vector<char> src(bytes, 1), dst(bytes);
    double best = 1e9;
    for (int k = 0; k < 15; ++k) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    return best;
}

enum Kind { Polarity, Absolute, Window, Peak };

void BM_Rebuild(benchmark::State& state) {
    const Kind kind = static_cast<Kind>(state.range(0));
    CMEGSpctm3DRndzq r;
    r.setDrawMEGData(&dataSet());
    r.standardMode = kind == Polarity || kind == Absolute;
    r.polarity = kind == Polarity;
    r.proDisplayMode = kind == Peak ? 2 : 0;
    r.normalDetail = static_cast<int>(state.range(1));
    COneSpctm3DVtx vtx;
    r.showSpctmOneChl(&vtx, CRect(), 0, 0); // sizes the strips once
    const size_t bytes = static_cast<size_t>(vtx.combined.m_nVtx) * sizeof(D3DVTX_PNCd);
    const double copy = memcpySeconds(bytes);
    double best = 1e9;
    long long allocations = 0;
    for (auto _ : state) {
        const long long before = g_allocations.load();
        const D3DVTX_PNCd* joined = vtx.combined.m_pVtx;
        const D3DVTX_PNCd* firstStrip = vtx.strips[0].m_pVtx;
        const auto t0 = std::chrono::steady_clock::now();
        r.showSpctmOneChl(&vtx, CRect(), 0, 0);
        const auto t1 = std::chrono::steady_clock::now();
        // Vertex arrays come from calloc: a moved array counts as an allocation too.
        allocations += g_allocations.load() - before + (joined != vtx.combined.m_pVtx) +
                       (firstStrip != vtx.strips[0].m_pVtx);
        const double seconds = std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(seconds);
        best = std::min(best, seconds);
    }
    const double iterations = static_cast<double>(state.iterations());
    // Best against best: the shared build machine's load inflates averages unevenly.
    state.counters["ratio"] = best / copy;
    state.counters["allocs"] = static_cast<double>(allocations) / iterations;
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

} // namespace

BENCHMARK(BM_Rebuild)
    ->ArgNames({"kind", "detail"})
    ->Args({Polarity, 0})
    ->Args({Polarity, 1})
    ->Args({Polarity, 2})
    ->Args({Absolute, 0})
    ->Args({Absolute, 1})
    ->Args({Absolute, 2})
    ->Args({Window, 1})
    ->Args({Peak, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Counts every heap allocation of the process, so a redraw can show that it makes none.
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

BENCHMARK_MAIN();
