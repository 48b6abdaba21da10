// Time to build the default synthetic recording with its spectra (goal: under 2 s).
#include "synthetic/CSyntheticRecording.h"

#include <benchmark/benchmark.h>

static void BM_SyntheticDefault(benchmark::State& state) {
    const bool spectra = state.range(0) != 0;
    for (auto _ : state) {
        CSyntheticRecording recording;
        recording.options().computeSpectra = spectra;
        auto data = recording.build();
        if (!data)
            state.SkipWithError(recording.getError().c_str());
        benchmark::DoNotOptimize(data);
    }
    state.SetLabel(spectra ? "with spectra" : "epochs only");
}
BENCHMARK(BM_SyntheticDefault)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
