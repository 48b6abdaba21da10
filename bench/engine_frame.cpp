// Frame times of the engine at 1280 x 720 including read-back: a bare clear, a 1000 x 200
// spectrogram surface (one strip, ~400k triangles), and a scene of 306 sensor glyphs. Each
// frame benchmark also reports its ratio to a bare clear + read-back measured in the same run.
#include "engine/CM3Dzq.h"
#include "engine/CMBasicShape.h"
#include "engine/CMVBzq.h"
#include "gfx/ID3D11DeviceContext.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <memory>

namespace {

constexpr int kWidth = 1280, kHeight = 720;

std::unique_ptr<CM3Dzq> makeEngine(benchmark::State& state) {
    auto m3d = std::make_unique<CM3Dzq>();
    if (!m3d->initM3D()) {
        state.SkipWithError((std::string("no GL context: ") + m3d->getLastError()).c_str());
        return nullptr;
    }
    m3d->setTargetSize(kWidth, kHeight);
    return m3d;
}

void finishFrame(CM3Dzq& m3d) {
    m3d.rendE();
    m3d.show(-1, nullptr);
    m3d.releaseTargetSCB(0);
    benchmark::DoNotOptimize(m3d.getImage());
}

double clearReadbackSeconds(CM3Dzq& m3d) {
    constexpr int kFrames = 50;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) {
        m3d.rendB();
        finishFrame(m3d);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / kFrames;
}

// Runs frame() per iteration and reports its ratio to a bare clear + read-back.
template <typename Frame>
void timeFrames(benchmark::State& state, CM3Dzq& m3d, Frame frame) {
    frame(); // first frame creates and uploads the device objects
    const double baseline = clearReadbackSeconds(m3d);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        frame();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["clear_readback_ms"] = baseline * 1e3;
    state.counters["ratio_to_clear_readback"] =
        total / static_cast<double>(state.iterations()) / baseline;
}

void BM_ClearReadback(benchmark::State& state) {
    auto m3d = makeEngine(state);
    if (!m3d) {
        return;
    }
    timeFrames(state, *m3d, [&] {
        m3d->rendB();
        finishFrame(*m3d);
    });
}

// A 1000 x 200 spectrogram-like surface joined into one strip with degenerate links.
void fillSpectrogram(CMVBzq& vb, int nt, int nf) {
    vb.initBuf4triangVtx(2LL * nt * (nf - 1) + 2LL * (nf - 2));
    D3DVTX_PNCd* v = vb.getBufPtr();
    long long k = 0;
    const auto put = [&](int t, int f) {
        const float x = static_cast<float>(t - nt / 2), z = (f - nf / 2) * 0.5f;
        const float y = 60.0f * std::sin(t * 0.02f) * std::cos(f * 0.05f) + 60.0f;
        const float c = y / 120.0f;
        v[k++] = D3DVTX_PNCd{{x, y, z, 1}, {0, 1, 0, 0}, {c, 0.4f, 1 - c, 1}};
    };
    for (int f = 0; f + 1 < nf; ++f) {
        if (f > 0) {
            v[k] = v[k - 1];
            ++k;
            put(0, f);
        }
        for (int t = 0; t < nt; ++t) {
            put(t, f);
            put(t, f + 1);
        }
    }
    vb.m_nVtx = k;
}

// state.range(0): 1 when every frame changes all vertex colours (full re-upload).
void BM_SpectrogramFrame(benchmark::State& state) {
    auto m3d = makeEngine(state);
    if (!m3d) {
        return;
    }
    m3d->m_viewAngle = -60.0f;
    CMVBzq vb;
    fillSpectrogram(vb, 1000, 200);
    vb.m_pM3D = m3d.get();
    const unsigned stride = 48, offset = 0;
    float tint = 0;
    timeFrames(state, *m3d, [&] {
        if (state.range(0)) {
            tint = tint > 0.5f ? 0.0f : tint + 0.01f;
            for (long long i = 0; i < vb.m_nVtx; ++i) {
                vb.m_pVtx[i].clr[1] = tint;
            }
        }
        m3d->rendB();
        m3d->setOutmergVtxColor1(14, 1);
        m3d->m_light.constBufPxlShadUpdate();
        ID3D11DeviceContext* ctx = m3d->getImmediateContext();
        ctx->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
        vb.updateCnstBuf4Wvp(1);
        vb.makeContent();
        ctx->VSSetShader(vb.m_pVS);
        ctx->IASetInputLayout(vb.m_pIL);
        ctx->PSSetShader(vb.m_pPS);
        ctx->IASetVertexBuffers(0, 1, &vb.m_pVB, &stride, &offset);
        ctx->Draw(static_cast<unsigned>(vb.m_nVtx), 0);
        finishFrame(*m3d);
    });
    state.counters["triangles"] = static_cast<double>(vb.m_nVtx - 2);
}

// 306 sensor glyphs on a helmet-like half sphere, each with its own colour.
void BM_SensorScene306(benchmark::State& state) {
    auto m3d = makeEngine(state);
    if (!m3d) {
        return;
    }
    m3d->m_sceneSize = 0.15f;
    CMBasicShape glyph;
    if (state.range(0)) {
        glyph.makeMSphere(0.004f, 16, 16, nullptr);
    } else {
        glyph.makeMCube(0.006f, 0.006f, 0.006f, nullptr);
    }
    float pos[306][3];
    CMMaterialzq colors[306];
    for (int i = 0; i < 306; ++i) {
        const float polar = 1.4f * std::sqrt((i + 0.5f) / 306.0f), az = 2.39996f * i;
        pos[i][0] = 0.1f * std::sin(polar) * std::cos(az);
        pos[i][1] = 0.1f * std::sin(polar) * std::sin(az);
        pos[i][2] = 0.1f * std::cos(polar);
        colors[i].initMaterialColorDAS(static_cast<std::uint32_t>(i * 0x050A0F));
    }
    timeFrames(state, *m3d, [&] {
        m3d->rendB();
        m3d->setLight(nullptr);
        m3d->setVPCamera(nullptr);
        m3d->setWorldTRS(nullptr);
        m3d->setOutmergVtxColor1(0, 1);
        for (int i = 0; i < 306; ++i) {
            m3d->setMaterial(&colors[i]);
            glyph.rendShape(m3d.get(), pos[i]);
        }
        finishFrame(*m3d);
    });
}

BENCHMARK(BM_ClearReadback)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpectrogramFrame)
    ->ArgName("changed")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SensorScene306)
    ->ArgName("spheres")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
