// Sensor scene costs: one frame of the Neuromag 306 helmet (coil plates, direction rods,
// mark) or the BioSemi 64 cap at 640 x 480 with read-back, and one pick among the sensors.
// Run with QT_QPA_PLATFORM=offscreen when there is no display.
#include "recording/CArrayMEDataSetzq.h"
#include "synthetic/CSyntheticRecording.h"
#include "viewbase/CStatD3DMzq.h"
#include "win/CWinTestDriver.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Scene {
    std::unique_ptr<CArrayMEDataSetzq> data;
    CWnd frame;
    CStatD3DMzq view;
    bool ready = false;

    explicit Scene(int chnType) {
        CSyntheticRecording::Options o;
        o.computeSpectra = false;
        o.epochs = 1;
        o.samplingRateHz = 250.0;
        o.samplesPerEpoch = 501;
        data = CSyntheticRecording(o).build();
        ready = data && CWinTestDriver::EnsureApplication() &&
                frame.Create(nullptr, u"bench", WS_OVERLAPPED, CRect(0, 0, 660, 500), nullptr, 0) &&
                view.Create(u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 480), &frame, 1) &&
                view.snsSrc3Dinit(&frame);
        if (ready) {
            view.m_chnType = chnType;
            view.setCbfGetMEGData(data.get());
            view.autofitSensorCenter(nullptr);
            view.m_markOn = 1;
        }
    }
};

void BM_SensorFrame(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    if (!scene.ready) {
        state.SkipWithError("no window platform or GL context");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.view.rendSns3DScene());
    }
}
BENCHMARK(BM_SensorFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Pick(benchmark::State& state) {
    Scene scene(0);
    if (!scene.ready) {
        state.SkipWithError("no window platform or GL context");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.view.pick3DSnsr02(CPoint(320, 240)));
    }
}
BENCHMARK(BM_Pick)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
