// Spectrum computation time per channel, and its ratio to the bare FFTW transforms of the same
// work (one forward transform per epoch and channel, one inverse per frequency), measured in
// the same run on the same thread count. The MNE case repeats a comparison with MNE-Python's
// tfr_morlet (2.9 s on one thread): 57 frequencies 4..60 Hz with n = f / 2, 8 ms steps, power
// over the whole epoch. Peak RSS is the process's, so run one case per process to read it.
#include "CMorletTransform.h"
#include "CSpctmBudget.h"
#include "recording/CMEDataSetBuilder.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <sys/resource.h>

namespace {

struct Size {
    int channels;
    long long epochs;
    long long samples;
    double rate;
    int nFreq;
    bool mne; // the MNE comparison's settings and whole-epoch window
};

// One session with one trial of noisy 10 Hz activity; epochs are centred on latency 0, the
// Control window is their first 40 %, the Active window their second half.
void build(CArrayMEDataSetzq& data, const Size& z, int threads) {
    CMEDataSetBuilder b(data);
    b.addSession();
    b.addTrial(0);
    CSpctmSettings s;
    s.freqsHz.clear();
    for (int f = 0; f < z.nFreq; ++f) {
        s.freqsHz.push_back(z.mne ? 4.0 + f : 2.0 + 2.0 * f);
    }
    if (z.mne) {
        s.cyclesDivisor = 2.0;
        s.timeStepMs = 8.0;
    }
    s.threads = threads;
    b.setSpectrumSettings(0, s);
    const double durMs = 1000.0 * static_cast<double>(z.samples - 1) / z.rate;
    const double firstMs = -std::floor(durMs / 2.0);
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<double> raw(static_cast<std::size_t>(z.epochs * z.samples));
    for (int c = 0; c < z.channels; ++c) {
        const double pos[3] = {0.001 * c, 0.0, 0.1}, nrm[3] = {0.0, 0.0, 1.0};
        CMEGSensorzq sensor("M" + std::to_string(c), CMEGSensor::Magnetometer);
        sensor.addCoil(CBscMagSnszq(pos, nrm));
        b.addMegChannel(0, u"", sensor);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const double t = static_cast<double>(i % z.samples) / z.rate;
            raw[i] = noise(rng) + std::sin(2.0 * std::numbers::pi * 10.0 * t);
        }
        b.setChannelEpochs(0, 0, c, raw, z.epochs, z.rate, firstMs);
    }
    if (z.mne) {
        b.setActiveWindow(0, 0, firstMs, firstMs + durMs);
    } else {
        b.setWindows(0, 0, 0.0, firstMs + durMs, firstMs, firstMs + 0.4 * durMs);
    }
}

// Thread CPU time, so that other load on the machine does not distort the ratio.
double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

// A size in /proc/self/status, in MiB.
double statusMib(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string word;
    while (in >> word) {
        if (word == key) {
            double kb = 0.0;
            in >> kb;
            return kb / 1024.0;
        }
    }
    return 0.0;
}

double peakRssMib() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return static_cast<double>(use.ru_maxrss) / 1024.0;
}

double bareSeconds(const CMEGDatazq& session, const CMDTrialzq& trial, const Size& z) {
    std::string error;
    auto t = CMorletTransform::create(trial.getSamplingRate(), trial.getFirstLatencyMs(),
                                      trial.getEpochLength(), session.getSpctmSettings(), error);
    CMorletTransform::Workspace ws(*t);
    const double start = cpuSeconds();
    for (long long i = 0; i < z.channels * z.epochs; ++i) {
        t->bareTransforms(ws);
    }
    return cpuSeconds() - start;
}

void BM_Spectrum(benchmark::State& state) {
    const Size z{static_cast<int>(state.range(0)),
                 state.range(1),
                 state.range(2),
                 static_cast<double>(state.range(3)),
                 static_cast<int>(state.range(4)),
                 state.range(6) != 0};
    const int threads = static_cast<int>(state.range(5));
    CArrayMEDataSetzq data;
    build(data, z, threads);
    CMEGDatazq& session = *data.getSessionData(-1);
    CMDTrialzq& trial = *session.getTrialzq(-1);
    // Memory of the first computation, before the repeats hold old and new spectra at once:
    // the peak resident size is reset (Linux) and read after it.
    std::ofstream("/proc/self/clear_refs") << "5";
    const double rssBefore = statusMib("VmRSS:");
    if (!session.computTrialSpctmAllPro(&trial, true)) {
        state.SkipWithError(session.getLastError().c_str());
        return;
    }
    state.counters["first_rss_growth_mib"] = statusMib("VmHWM:") - rssBefore;
    state.counters["output_mib"] =
        CSpctmBudget::shapeOf(trial, session.getSpctmSettings()).bytes() / 1048576.0;
    double full = 0.0, fullCpu = 0.0, bare = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        if (!session.computTrialSpctmAllPro(&trial, true)) {
            state.SkipWithError(session.getLastError().c_str());
            return;
        }
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        fullCpu += cpuSeconds() - cpuStart;
        state.SetIterationTime(s);
        full += s;
        bare += bareSeconds(session, trial, z);
    }
    const double n = static_cast<double>(state.iterations()) * z.channels;
    state.counters["ms_per_channel"] = 1e3 * full / n;
    state.counters["bare_ms_per_channel"] = 1e3 * bare / n;
    // With one thread all work runs on this thread, so its CPU times compare directly.
    state.counters["ratio_to_bare"] = threads == 1 ? fullCpu / bare : 0.0;
    state.counters["cpu_ms_per_channel"] = threads == 1 ? 1e3 * fullCpu / n : 0.0;
    state.counters["ms_total"] = 1e3 * full / static_cast<double>(state.iterations());
    state.counters["peak_rss_mib"] = peakRssMib();
}

// channels, epochs, samples, rate, frequencies, threads (0: all cores; the ratio is taken with
// one thread, as the bare transforms run on one), MNE comparison.
BENCHMARK(BM_Spectrum)
    ->ArgNames({"ch", "ep", "smp", "hz", "nf", "thr", "mne"})
    ->Args({64, 40, 1000, 500, 57, 1, 1})
    ->Args({64, 40, 1000, 500, 57, 2, 1})
    ->Args({306, 40, 2000, 1000, 60, 1, 0})
    ->Args({306, 40, 2000, 1000, 60, 0, 0})
    ->Args({370, 20, 500, 500, 30, 1, 0})
    ->Args({370, 20, 500, 500, 30, 0, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

} // namespace

BENCHMARK_MAIN();
