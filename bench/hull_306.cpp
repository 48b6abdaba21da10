// Hull of the 306 Neuromag sensor positions (102 places): de-duplication plus Qhull.
#include "envelope/ConvexHull3Dzq.h"
#include "probes/CSensorLayout.h"

#include <benchmark/benchmark.h>

static std::vector<R3> neuromagPoints() {
    CSensorLayout layout;
    layout.loadEmbedded("meg306-neuromag");
    std::vector<R3> pts;
    for (int i = 0; i < layout.getChannelCount(); ++i) {
        const double* p = layout.getChannel(i)->pos;
        pts.push_back(
            {i, static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]), i});
    }
    return pts;
}

static void BM_Hull306(benchmark::State& state) {
    const std::vector<R3> pts = neuromagPoints();
    std::vector<int> outx;
    std::vector<R3> unique;
    std::vector<Tri> tris;
    for (auto _ : state) {
        ConvexHull3Dzq hull;
        hull.de_duplicateR3(pts, outx, unique);
        if (!hull.NewtonApple_hull_3D(unique, tris))
            state.SkipWithError(hull.getLastError().c_str());
        benchmark::DoNotOptimize(tris.data());
    }
    state.counters["unique"] = static_cast<double>(unique.size());
    state.counters["triangles"] = static_cast<double>(tris.size());
}
BENCHMARK(BM_Hull306)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
