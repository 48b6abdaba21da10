// Reading and epoching a 64-channel, 30-minute BDF+ recording at 2048 Hz with 200 events
// (written with EDFlib into a temporary folder at start-up), against a plain sequential read
// of the whole file through BioSig. Each measured run is a child process, so that its peak
// resident memory is its own; all run in the same iteration on the same file (then in the page
// cache). The epoching builds the data set only: no spectra are computed, so both runs measure
// reading. A third run fills new memory of the epochs' size in plain vectors, page by page as
// they are first written: what the epochs' memory costs where it is not prepared ahead (as the
// import does), which depends on the machine's page-fault cost rather than on reading.
//
// On the development VM (2 cores shared with other builds, medians of 3 runs): epoching took
// 3.8 s and 418 MiB against 1.6 s and 26 MiB for the sequential read (ratio 2.49) when every
// channel was copied into the data set; reading into the data set's own vectors, 1.55 s and
// 411 MiB against 1.5 s (ratio 0.85; docs/IO.md, Cost).
#include "io/CEpochImport.h"
#include "probes/CSensorLayout.h"

#include <benchmark/benchmark.h>
#include <biosig.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <edflib.h>
#include <filesystem>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kChannels = 64;
constexpr int kRate = 2048;
constexpr int kSeconds = 30 * 60;
constexpr int kEvents = 200;
constexpr double kEpochStartMs = -500.0, kEpochEndMs = 1500.0;

std::string g_path;

// Sinusoids of channel-dependent frequency over a slow drift, in uV.
void writeRecording(const std::string& path) {
    CSensorLayout layout;
    layout.loadEmbedded("eeg64-biosemi");
    const int h = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_BDFPLUS, kChannels);
    if (h < 0) {
        throw std::runtime_error("cannot write " + path);
    }
    for (int s = 0; s < kChannels; ++s) {
        edf_set_samplefrequency(h, s, kRate);
        edf_set_physical_maximum(h, s, 1000.0);
        edf_set_physical_minimum(h, s, -1000.0);
        edf_set_digital_maximum(h, s, 8388607);
        edf_set_digital_minimum(h, s, -8388608);
        edf_set_label(h, s, layout.getChannel(s)->label.c_str());
        edf_set_physical_dimension(h, s, "uV");
    }
    std::vector<double> buf(kRate);
    for (int sec = 0; sec < kSeconds; ++sec) {
        for (int s = 0; s < kChannels; ++s) {
            for (int i = 0; i < kRate; ++i) {
                const double t = sec + static_cast<double>(i) / kRate;
                buf[i] = 20.0 * std::sin(2.0 * std::numbers::pi * (8.0 + 0.25 * s) * t) +
                         5.0 * std::sin(0.01 * t);
            }
            edfwrite_physical_samples(h, buf.data());
        }
    }
    for (int e = 0; e < kEvents; ++e) {
        const double onset = 5.0 + e * (kSeconds - 10.0) / kEvents;
        edfwrite_annotation_utf8(h, std::llround(onset * 10000.0), -1, "stim");
    }
    edfclose_file(h);
}

// Every block of the file, in order, all channels: what a plain reader does.
void sequentialRead() {
    HDRTYPE* hdr = sopen(g_path.c_str(), "r", nullptr);
    double sum = 0.0;
    constexpr size_t kBlocks = 16;
    for (size_t b = 0; b < static_cast<size_t>(hdr->NRec); b += kBlocks) {
        hdr->AS.first = b; // BioSig 2.5 decodes relative to its cache start
        hdr->AS.length = 0;
        sread(nullptr, b, kBlocks, hdr);
        sum += hdr->data.block[0];
    }
    benchmark::DoNotOptimize(sum);
    sclose(hdr);
    destructHDR(hdr);
}

void epochImport() {
    CEpochImport::Options o;
    o.path = g_path;
    o.eventTexts = {"stim"};
    o.epochStartMs = kEpochStartMs;
    o.epochEndMs = kEpochEndMs;
    o.controlStartMs = -400.0;
    o.controlEndMs = -100.0;
    o.activeStartMs = 100.0;
    o.activeEndMs = 1200.0;
    o.montage.layouts = {"eeg64-biosemi"};
    CArrayMEDataSetzq data;
    if (!CEpochImport(o).build(data)) {
        std::_Exit(2);
    }
}

// New memory of the epochs' size in plain vectors, one channel at a time, first written page
// by page.
void fillEpochMemory() {
    const auto values =
        static_cast<std::size_t>(kEvents * ((kEpochEndMs - kEpochStartMs) * kRate / 1000.0 + 1.0));
    std::vector<std::vector<double>> channels;
    for (int c = 0; c < kChannels; ++c) {
        channels.emplace_back(values, 1.0);
    }
    benchmark::DoNotOptimize(channels.back().data());
}

struct Run {
    double seconds;
    double peakMiB;
};

// Run `work` in a child process: its wall time and peak resident memory.
Run inChild(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        work();
        std::_Exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the measured read failed");
    }
    return {s, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

void BM_EpochsAgainstSequentialRead(benchmark::State& state) {
    double epochs = 0.0, sequential = 0.0, fill = 0.0, epochPeak = 0.0, sequentialPeak = 0.0;
    for (auto _ : state) {
        const Run seq = inChild(sequentialRead);
        const Run ep = inChild(epochImport);
        fill += inChild(fillEpochMemory).seconds;
        state.SetIterationTime(ep.seconds);
        epochs += ep.seconds;
        sequential += seq.seconds;
        epochPeak = std::max(epochPeak, ep.peakMiB);
        sequentialPeak = std::max(sequentialPeak, seq.peakMiB);
    }
    const double n = static_cast<double>(state.iterations());
    const double samples = (kEpochEndMs - kEpochStartMs) * kRate / 1000.0 + 1.0;
    state.counters["epochs_s"] = epochs / n;
    state.counters["sequential_s"] = sequential / n;
    state.counters["time_ratio"] = epochs / sequential;
    state.counters["fill_epoch_memory_s"] = fill / n;
    state.counters["epochs_peak_MiB"] = epochPeak;
    state.counters["sequential_peak_MiB"] = sequentialPeak;
    // What the epochs themselves take: the bound the peak is held against.
    state.counters["epoch_data_MiB"] = 8.0 * kChannels * kEvents * samples / (1 << 20);
}

BENCHMARK(BM_EpochsAgainstSequentialRead)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const auto dir =
        std::filesystem::temp_directory_path() / ("velmora-io-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    g_path = (dir / "long.bdf").string();
    writeRecording(g_path);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);
    return 0;
}
