// Cost of the window machinery: an "Apply" click in the single-channel window up to the
// presented frame, against the renderer's rebuild plus the engine's bare frame of the same
// surface (no window, no message routing), in turn in one loop. Goal: the click path adds under
// 20 % (counter overhead_pct; apply_ms and bare_ms are the two per iteration).
// Argument 0: the default synthetic recording; 1: one channel of 2000 x 200 points.
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "geometry/COneSpctm3DVtx.h"
#include "gfx/ID3D11DeviceContext.h"
#include "recording/CMEDataSetBuilder.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "synthetic/CSyntheticRecording.h"
#include "win/CWinTestDriver.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

int noCallback(int, int) {
    return 0;
}

std::unique_ptr<CArrayMEDataSetzq> bigGrid() {
    constexpr long long T = 2000, F = 200;
    auto data = std::make_unique<CArrayMEDataSetzq>();
    CMEDataSetBuilder b(*data);
    int s = 0, t = 0;
    const double pos[3] = {0.0, 0.0, 0.1}, normal[3] = {0.0, 0.0, 1.0};
    CMEGSensorzq sensor("MEG0001", CMEGSensor::Magnetometer);
    sensor.addCoil(CBscMagSnszq(pos, normal));
    std::vector<double> freqs, re(T * F), im(T * F, 0.0), pw(T * F);
    for (long long f = 0; f < F; ++f)
        freqs.push_back(1.0 + 0.5 * static_cast<double>(f));
    for (long long i = 0; i < T * F; ++i) {
        re[i] = std::sin(0.01 * static_cast<double>(i / F)) * std::cos(0.05 * (i % F));
        pw[i] = re[i] * re[i];
    }
    if (!b.addSession(&s) || !b.addTrial(s, &t) || !b.addMegChannel(s, u"", sensor) ||
        !b.setSpectrumAxes(s, t, 0, T, 0.0, 1.0, freqs) ||
        !b.setChannelSpectrum(s, t, 0, 0, re, im, pw) || !b.computeSpectra(s))
        return nullptr;
    return data;
}

std::unique_ptr<CArrayMEDataSetzq> dataFor(int which) {
    if (which == 1)
        return bigGrid();
    CSyntheticRecording recording;
    return recording.build();
}

// The single-channel window of the Active class on the data, painted once.
struct Window {
    std::unique_ptr<CArrayMEDataSetzq> data;
    CVelmoraFacezq face;
    CDlgRnd3DSpctmOneChnl* dlg = nullptr;

    bool open(int which) {
        data = dataFor(which);
        if (!data || !CWinTestDriver::EnsureApplication() ||
            !face.show3DOneChnlSpctmAct(data.get(), noCallback, nullptr))
            return false;
        dlg = face.m_pDlgOneChnlAct;
        paint();
        return dlg->m_view.m_pM3D != nullptr;
    }
    void paint() {
        CWinTestDriver::ProcessEvents();
        dlg->m_view.UpdateWindow();
    }
};

// One rebuild and frame straight on the renderer and the engine, the surface placed where the
// window shows it (model), so that both rasterise the same pixels.
void bareFrame(CMEGSpctm3DRndzq& rnd, CM3Dzq& engine, COneSpctm3DVtx& vtx, CMMaterialzq& material,
               const CRect& rc, const float* model) {
    rnd.showSpctmOneChl(&vtx, rc, 0, 0);
    std::copy(model, model + 16, vtx.combined.m_model);
    engine.rendB();
    engine.setOutmergVtxColor1(14, 1);
    engine.m_light.constBufPxlShadUpdate();
    material.ConstBufPxlShadMake();
    material.constBufPxlShadRenderSet();
    ID3D11DeviceContext* ctx = engine.getImmediateContext();
    ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    CMVBzq& vb = vtx.combined;
    vtx.setEngine(&engine);
    vb.updateCnstBuf4Wvp(1);
    if (vb.m_nVtx >= 3 && vb.makeContent()) {
        ctx->VSSetShader(vb.m_pVS);
        ctx->IASetInputLayout(vb.m_pIL);
        ctx->PSSetShader(vb.m_pPS);
        const unsigned stride = static_cast<unsigned>(vb.m_vtxStride), offset = 0;
        ctx->IASetVertexBuffers(0, 1, &vb.m_pVB, &stride, &offset);
        ctx->Draw(static_cast<unsigned>(vb.m_nVtx), 0);
    }
    engine.rendE();
    engine.show(-1, nullptr);
    engine.releaseTargetSCB(0);
}

double msSince(std::chrono::steady_clock::time_point& t) {
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - t).count();
    t = now;
    return ms;
}

// Each iteration clicks "Apply" and then draws the bare frame, on the same window and engine,
// so that the machine's drift (these machines are shared) hits both alike.
void BM_ApplyOverhead(benchmark::State& state) {
    Window w;
    if (!w.open(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no window or no 3D device");
        return;
    }
    CM3Dzq& engine = *w.dlg->m_view.m_pM3D;
    COneSpctm3DVtx vtx;
    CMMaterialzq material;
    material.m_pM3D = &engine;
    CRect rc;
    w.dlg->m_view.GetClientRect(&rc);
    const float* model = w.dlg->m_view.m_pVtx->combined.m_model;
    // Buffers are made once, as the window's own were when it opened.
    bareFrame(*w.face.m_pRnd, engine, vtx, material, rc, model);
    CWnd* apply = w.dlg->GetDlgItem(IDC_1CH_APPLY);
    double applyMs = 0.0, bareMs = 0.0;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        CWinTestDriver::Click(apply);
        w.paint();
        benchmark::DoNotOptimize(engine.getImage());
        applyMs += msSince(t);
        bareFrame(*w.face.m_pRnd, engine, vtx, material, rc, model);
        benchmark::DoNotOptimize(engine.getImage());
        bareMs += msSince(t);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["apply_ms"] = applyMs / n;
    state.counters["bare_ms"] = bareMs / n;
    state.counters["overhead_pct"] = bareMs > 0.0 ? 100.0 * (applyMs / bareMs - 1.0) : 0.0;
}

} // namespace

BENCHMARK(BM_ApplyOverhead)
    ->Arg(0)
    ->Arg(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
