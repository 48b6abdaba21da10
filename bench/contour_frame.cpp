// The contour map of the Neuromag 306 layout at 600 x 600, headless: a frame while the window
// moves (hull rebuilt each time), a frame without rebuild, the hull build alone and the colour
// fit over the shown sensors, and an animation tick that also writes its picture (the map with
// its colour bar and caption, as the sweep's frames) as a PNG.
// Goals: a moving window at 100 frames/s or more, 75 ticks/s with a PNG each, the hull build
// under 1 ms.
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "engine/CM3Dzq.h"
#include "engine/CMFramePng.h"
#include "facade/CVelmoraFacezq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "synthetic/CSyntheticRecording.h"
#include "win/AfxApi.h"
#include "win/CWinTestDriver.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

int noCallback(int, int) {
    return 0;
}

struct ContourWindow {
    std::unique_ptr<CArrayMEDataSetzq> data = CSyntheticRecording().build();
    CVelmoraFacezq face;
    CStatContourMapSpctm3Dzq* view = nullptr;

    ContourWindow() {
        if (!data || !face.show3DContMapSpctmMegAct(data.get(), noCallback, nullptr))
            return;
        CDlgContourMapSpctm3Dzq* dlg = face.m_pDlgContourAct;
        view = &dlg->m_view;
        view->MoveWindow(0, 0, 600, 600, FALSE);
        CWinTestDriver::ProcessEvents();
        paint();
    }
    void paint() {
        view->Invalidate(FALSE);
        view->UpdateWindow();
    }
};

// Not a static object: the windows must go before Qt's own statics do (see docs/HOST.md).
std::unique_ptr<ContourWindow> g_window;

ContourWindow* window() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    CWinTestDriver::EnsureApplication();
    if (!g_window)
        g_window = std::make_unique<ContourWindow>();
    return g_window->view && g_window->view->m_pM3D ? g_window.get() : nullptr;
}

void BM_FrameMovingWindow(benchmark::State& state) {
    ContourWindow* w = window();
    if (!w) {
        state.SkipWithError("no contour window or 3D device");
        return;
    }
    for (auto _ : state) {
        w->face.m_pRnd->animateSpctm(1, 1, 0);
        w->paint();
    }
}
BENCHMARK(BM_FrameMovingWindow)->Unit(benchmark::kMillisecond);

void BM_TickWithPng(benchmark::State& state) {
    ContourWindow* w = window();
    if (!w) {
        state.SkipWithError("no contour window or 3D device");
        return;
    }
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/velmora-bench-tick.png";
    std::vector<std::uint32_t> picture;
    for (auto _ : state) {
        w->face.m_pRnd->animateSpctm(1, 1, 0);
        w->paint();
        int width = 0, height = 0;
        AfxGetWindowImage(w->view, picture, width, height);
        benchmark::DoNotOptimize(
            CMFramePng::write(path, picture.data(), width, height, CMFramePng::kFast));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_TickWithPng)->Unit(benchmark::kMillisecond);

void BM_FrameStill(benchmark::State& state) {
    ContourWindow* w = window();
    if (!w) {
        state.SkipWithError("no contour window or 3D device");
        return;
    }
    for (auto _ : state)
        w->paint();
}
BENCHMARK(BM_FrameStill)->Unit(benchmark::kMillisecond);

void BM_HullBuild(benchmark::State& state) {
    ContourWindow* w = window();
    if (!w) {
        state.SkipWithError("no contour window or 3D device");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(w->view->initTriMegSnsHullVtx(nullptr));
}
BENCHMARK(BM_HullBuild)->Unit(benchmark::kMicrosecond);

void BM_ColourFit(benchmark::State& state) {
    ContourWindow* w = window();
    if (!w) {
        state.SkipWithError("no contour window or 3D device");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(w->view->autofitColor4SnsWin());
}
BENCHMARK(BM_ColourFit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window.reset();
    return 0;
}
