// From data to PNG as a host does it, headless: the single-channel window of a 64-channel EEG
// recording (BioSemi 64, 57 frequencies x 250 times) through the facade, one picture per
// channel written with AfxSaveWindowImage. "first" is the process's first picture (scene and
// driver set-up included; run the binary several times for its median); "further" is each next
// channel, with its stages: the channel change, the event pass that paints the view, and the
// grab (which reuses the frame just painted) with the PNG.
// Goals: first picture <= 89 ms, each further one <= 14 ms (view at 640 x 480). With
// VELMORA_PREPARED=1 the display is prepared (CVelmoraFace::prepareDisplay) before "first".
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "facade/CVelmoraFacezq.h"
#include "synthetic/CSyntheticRecording.h"
#include "win/AfxApi.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

int noCallback(int, int) {
    return 0;
}

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

std::unique_ptr<CArrayMEDataSetzq> recording() {
    CSyntheticRecording::Options o;
    o.layouts = {"eeg64-biosemi"};
    o.epochs = 2;
    o.samplingRateHz = 250.0;
    o.samplesPerEpoch = 750; // -1200 .. 1796 ms
    o.activeStartMs = 0.0;
    o.activeEndMs = 996.0; // 250 points at 4 ms
    o.timeStepMs = 4.0;
    for (int f = 4; f <= 60; ++f)
        o.freqsHz.push_back(f);
    return CSyntheticRecording(o).build();
}

std::string picturePath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

struct Session {
    std::unique_ptr<CArrayMEDataSetzq> data = recording();
    CVelmoraFacezq face;
    CDlgRnd3DSpctmOneChnl* dlg = nullptr;
    double firstMs = 0.0;
    double firstShowMs = 0.0; // of firstMs: creating and showing the window, before its paint
    CRect opened;             // the window's rectangle as shown, frame included

    Session() {
        // With VELMORA_PREPARED=1 the host has the display prepared ahead, while it loads data.
        const char* prepared = std::getenv("VELMORA_PREPARED");
        if (!data || !AfxWinInit() ||
            (prepared && *prepared == '1' && !CVelmoraFace::prepareDisplay()))
            return;
        const Clock::time_point t0 = Clock::now();
        if (!face.show3DOneChnlSpctmAct(data.get(), noCallback, nullptr))
            return;
        dlg = face.m_pDlgOneChnlAct;
        firstShowMs = msSince(t0);
        dlg->GetWindowRect(&opened);
        if (!AfxSaveWindowImage(&dlg->m_view, picturePath("velmora-first.png").c_str()))
            dlg = nullptr;
        firstMs = msSince(t0);
    }
};

// Not a static object: the windows must go before Qt's own statics do (see docs/HOST.md).
std::unique_ptr<Session> g_session;

Session& session() {
    if (!g_session)
        g_session = std::make_unique<Session>();
    return *g_session;
}

void BM_FirstPicture(benchmark::State& state) {
    Session& s = session();
    if (!s.dlg) {
        state.SkipWithError("no window system or no 3D device");
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(s.firstMs / 1000.0);
    state.counters["show_ms"] = s.firstShowMs;
    state.counters["paint_png_ms"] = s.firstMs - s.firstShowMs;
}

// range(0): 0 the view at 640 x 480, 1 the whole window at its default size.
void BM_FurtherChannel(benchmark::State& state) {
    Session& s = session();
    if (!s.dlg) {
        state.SkipWithError("no window system or no 3D device");
        return;
    }
    const bool whole = state.range(0) == 1;
    if (whole)
        s.dlg->MoveWindow(0, 0, s.opened.Width(), s.opened.Height());
    else if (!s.dlg->sizeViewTo(640, 480))
        state.SkipWithError("the view cannot be 640 x 480");
    CWnd* target = whole ? static_cast<CWnd*>(s.dlg) : &s.dlg->m_view;
    const std::string path = picturePath(whole ? "velmora-window.png" : "velmora-view.png");
    double change = 0.0, paint = 0.0, png = 0.0;
    int channel = 0;
    for (auto _ : state) {
        channel = (channel + 1) % 64;
        const Clock::time_point t0 = Clock::now();
        s.face.selectChannel(channel);
        const Clock::time_point t1 = Clock::now();
        AfxPumpMessages();
        const Clock::time_point t2 = Clock::now();
        if (!AfxSaveWindowImage(target, path.c_str()))
            state.SkipWithError("picture not written");
        png += msSince(t2);
        paint += std::chrono::duration<double, std::milli>(t2 - t1).count();
        change += std::chrono::duration<double, std::milli>(t1 - t0).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["change_ms"] = change / n;
    state.counters["paint_ms"] = paint / n;
    state.counters["png_ms"] = png / n;
}

} // namespace

BENCHMARK(BM_FirstPicture)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FurtherChannel)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_session.reset();
    return 0;
}
