// Frames rendered headless through the engine and read back: background, lit vertex colours,
// depth, material colour, both sides of a surface, glyphs. Writes the height field as a PNG.
#include "engine/CM3Dzq.h"
#include "engine/CMBasicShape.h"
#include "engine/CMFramePng.h"
#include "engine/CMVBzq.h"
#include "gfx/ID3D11DeviceContext.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kW = 320, kH = 240;

struct Rgb {
    int r, g, b;
};

Rgb pixel(const CM3Dzq& m3d, int x, int y) {
    const std::uint32_t p = m3d.getImage()[y * m3d.getImageWidth() + x];
    return {static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>((p >> 16) & 0xFF)};
}

void expectColor(const Rgb& got, float r, float g, float b, int tolerance) {
    EXPECT_NEAR(got.r, r * 255, tolerance);
    EXPECT_NEAR(got.g, g * 255, tolerance);
    EXPECT_NEAR(got.b, b * 255, tolerance);
}

// One triangle strip over an nx x nz grid on x in [-1, 1], z in [-0.7, 0.7]: a strip per pair
// of neighbouring z rows, joined by repeating the last and first vertex (degenerate links).
void fillHeightField(CMVBzq& vb, int nx, int nz, float (*height)(float, float),
                     void (*color)(float, float[4])) {
    ASSERT_TRUE(vb.initBuf4triangVtx(2LL * nx * (nz - 1) + 2LL * (nz - 2)));
    D3DVTX_PNCd* v = vb.getBufPtr();
    long long k = 0;
    const auto put = [&](int i, int j) {
        const float x = -1.0f + 2.0f * i / (nx - 1), z = -0.7f + 1.4f * j / (nz - 1);
        const float e = 1e-3f, y = height(x, z);
        const float dx = (height(x + e, z) - height(x - e, z)) / (2 * e);
        const float dz = (height(x, z + e) - height(x, z - e)) / (2 * e);
        const float len = std::sqrt(dx * dx + 1 + dz * dz);
        v[k] = D3DVTX_PNCd{{x, y, z, 1}, {-dx / len, 1 / len, -dz / len, 0}, {}};
        color(y, v[k].clr);
        ++k;
    };
    for (int j = 0; j + 1 < nz; ++j) {
        if (j > 0) {
            v[k] = v[k - 1];
            ++k;
            put(0, j);
        }
        for (int i = 0; i < nx; ++i) {
            put(i, j);
            put(i, j + 1);
        }
    }
    vb.m_nVtx = k;
    ASSERT_EQ(k, vb.m_nVtxCapacity);
}

// The draw sequence a view uses for a vertex buffer.
void drawStrip(CM3Dzq& m3d, CMVBzq& vb, D3D11_PRIMITIVE_TOPOLOGY topology) {
    ID3D11DeviceContext* ctx = m3d.getImmediateContext();
    m3d.m_light.constBufPxlShadUpdate();
    ctx->IASetPrimitiveTopology(topology);
    vb.m_pM3D = &m3d;
    ASSERT_TRUE(vb.updateCnstBuf4Wvp(1));
    ASSERT_TRUE(vb.makeContent());
    const unsigned stride = static_cast<unsigned>(vb.m_vtxStride), offset = 0;
    ctx->VSSetShader(vb.m_pVS);
    ctx->IASetInputLayout(vb.m_pIL);
    ctx->PSSetShader(vb.m_pPS);
    ctx->IASetVertexBuffers(0, 1, &vb.m_pVB, &stride, &offset);
    ctx->Draw(static_cast<unsigned>(vb.m_nVtx), 0);
}

// A flat square of one colour at height y, as a strip of four vertices.
void fillSquare(CMVBzq& vb, float y, float half, const float rgb[3]) {
    ASSERT_TRUE(vb.initBuf4triangVtx(4));
    const float xs[4] = {-half, -half, half, half}, zs[4] = {-half, half, -half, half};
    for (int i = 0; i < 4; ++i) {
        vb.getBufPtr()[i] =
            D3DVTX_PNCd{{xs[i], y, zs[i], 1}, {0, 1, 0, 0}, {rgb[0], rgb[1], rgb[2], 1}};
    }
    vb.m_nVtx = 4;
}

class EngineFrame : public testing::Test {
protected:
    void SetUp() override {
        if (!m3d.initM3D()) {
            GTEST_SKIP() << "no GL context, frames cannot be rendered: " << m3d.getLastError();
        }
        m3d.setTargetSize(kW, kH);
        m3d.m_sceneSize = 1.2f;
        m3d.m_viewAngle = -90.0f;
        noSpecular.initMaterialDAS(1, 1, 0);
    }
    void begin() {
        ASSERT_TRUE(m3d.rendB());
        m3d.setOutmergVtxColor1(14, 1);
        noSpecular.m_pM3D = &m3d;
        noSpecular.ConstBufPxlShadMake();
        noSpecular.constBufPxlShadRenderSet();
    }
    void end() {
        m3d.rendE();
        ASSERT_TRUE(m3d.show(-1, nullptr));
        m3d.releaseTargetSCB(0);
        ASSERT_NE(m3d.getImage(), nullptr);
    }

    CM3Dzq m3d;
    CMMaterialzq noSpecular;
    const float teal[3] = {0.2f, 0.6f, 0.4f};
};

TEST_F(EngineFrame, EmptyFrameIsBackgroundAtEverySize) {
    for (const int w : {kW, 97}) {
        m3d.setTargetSize(w, 61);
        begin();
        end();
        ASSERT_EQ(m3d.getImageWidth(), w);
        for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 60}, {w / 2, 30}}) {
            expectColor(pixel(m3d, x, y), m3d.m_bgColor[0], m3d.m_bgColor[1], m3d.m_bgColor[2], 1);
        }
    }
}

TEST_F(EngineFrame, LitHeightFieldAsOneStrip) {
    CMVBzq vb;
    fillHeightField(
        vb, 120, 80, [](float x, float z) { return 0.25f * std::sin(3 * x) * std::cos(4 * z); },
        [](float y, float c[4]) {
            const float t = (y + 0.25f) / 0.5f;
            c[0] = t;
            c[1] = 0.3f + 0.4f * (1 - std::fabs(2 * t - 1));
            c[2] = 1 - t;
            c[3] = 1;
        });
    m3d.m_viewAngle = -60.0f;
    begin();
    drawStrip(m3d, vb, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    end();
    const std::string path = testing::TempDir() + "engine_height_field.png";
    EXPECT_TRUE(CMFramePng::write(path, m3d.getImage(), kW, kH));
    std::printf("height field written to %s\n", path.c_str());
    expectColor(pixel(m3d, 2, 2), m3d.m_bgColor[0], m3d.m_bgColor[1], m3d.m_bgColor[2], 1);
    const Rgb centre = pixel(m3d, kW / 2, kH / 2);
    EXPECT_NE(centre.r + centre.g * 256 + centre.b * 65536,
              pixel(m3d, 2, 2).r + pixel(m3d, 2, 2).g * 256 + pixel(m3d, 2, 2).b * 65536);
}

// Straight light on a surface facing the eye shows the vertex colour, seen from either side.
class StraightLight : public EngineFrame, public testing::WithParamInterface<float> {};

TEST_P(StraightLight, ShowsTheVertexColour) {
    CMVBzq vb;
    fillSquare(vb, 0, 0.5f, teal);
    m3d.m_viewAngle = GetParam();
    begin();
    drawStrip(m3d, vb, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    end();
    expectColor(pixel(m3d, kW / 2, kH / 2), teal[0], teal[1], teal[2], 3);
    expectColor(pixel(m3d, 3, 3), m3d.m_bgColor[0], m3d.m_bgColor[1], m3d.m_bgColor[2], 1);
}

INSTANTIATE_TEST_SUITE_P(FromAboveAndBelow, StraightLight, testing::Values(-90.0f, 90.0f),
                         [](const auto& info) {
                             const int a = static_cast<int>(info.param);
                             return std::string(a < 0 ? "Minus" : "") +
                                    std::to_string(a < 0 ? -a : a) + "Degrees";
                         });

// The nearer square hides the farther one whatever the drawing order.
class Depth : public EngineFrame, public testing::WithParamInterface<bool> {};

TEST_P(Depth, NearerSurfaceWins) {
    const float red[3] = {1, 0, 0}, green[3] = {0, 1, 0};
    CMVBzq nearVb, farVb;
    fillSquare(nearVb, 0.2f, 0.3f, red);
    fillSquare(farVb, -0.2f, 0.6f, green);
    begin();
    drawStrip(m3d, GetParam() ? nearVb : farVb, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    drawStrip(m3d, GetParam() ? farVb : nearVb, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    end();
    expectColor(pixel(m3d, kW / 2, kH / 2), 1, 0, 0, 3);
    const Rgb rim = pixel(m3d, kW / 2 + 42, kH / 2); // inside the far square only
    EXPECT_GT(rim.g, 200);
    EXPECT_LT(rim.r, 10);
}

INSTANTIATE_TEST_SUITE_P(Orders, Depth, testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "NearerDrawnFirst" : "FartherDrawnFirst");
});

// A row of flat squares of half size 0.15 centred at x = -0.5 (red) and x = 0.5 (green), as one
// strip with degenerate links; `count` squares from the left are used of the `room` allotted.
void fillSquares(CMVBzq& vb, int room, int count) {
    const long long capacity = 4LL * room + 2LL * (room - 1);
    if (vb.m_nVtxCapacity != capacity) {
        ASSERT_TRUE(vb.initBuf4triangVtx(capacity));
    }
    D3DVTX_PNCd* v = vb.getBufPtr();
    long long k = 0;
    for (int i = 0; i < count; ++i) {
        const float cx = i == 0 ? -0.5f : 0.5f, half = 0.15f;
        const float rgb[3] = {i == 0 ? 1.0f : 0.0f, i == 0 ? 0.0f : 1.0f, 0.0f};
        const float xs[4] = {cx - half, cx - half, cx + half, cx + half};
        const float zs[4] = {-half, half, -half, half};
        if (i > 0) {
            v[k] = v[k - 1];
            ++k;
            v[k++] = D3DVTX_PNCd{{xs[0], 0, zs[0], 1}, {0, 1, 0, 0}, {rgb[0], rgb[1], rgb[2], 1}};
        }
        for (int j = 0; j < 4; ++j)
            v[k++] = D3DVTX_PNCd{{xs[j], 0, zs[j], 1}, {0, 1, 0, 0}, {rgb[0], rgb[1], rgb[2], 1}};
    }
    vb.m_nVtx = k;
}

// A live buffer that grows (a new capacity, or more of the capacity it has) is drawn whole: the
// device buffer follows its size.
TEST_F(EngineFrame, GrownBufferIsDrawnWhole) {
    // Scene x = +-0.5 lies this many pixels left and right of the centre.
    const int dx = static_cast<int>(0.5f / 0.6f * 0.5f * std::cos(0.2618f) * kH / 2);
    const auto frameOf = [&](CMVBzq& vb) {
        begin();
        drawStrip(m3d, vb, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
        end();
    };
    const auto expectSquares = [&](bool left, bool right, const char* when) {
        SCOPED_TRACE(when);
        const float* bg = m3d.m_bgColor;
        const Rgb l = pixel(m3d, kW / 2 - dx, kH / 2), r = pixel(m3d, kW / 2 + dx, kH / 2);
        if (left)
            expectColor(l, 1, 0, 0, 3);
        else
            expectColor(l, bg[0], bg[1], bg[2], 1);
        if (right)
            expectColor(r, 0, 1, 0, 3);
        else
            expectColor(r, bg[0], bg[1], bg[2], 1);
    };
    CMVBzq vb;
    fillSquares(vb, 1, 1);
    frameOf(vb);
    expectSquares(true, false, "one square");
    fillSquares(vb, 2, 1);
    frameOf(vb);
    expectSquares(true, false, "one square of room for two");
    fillSquares(vb, 2, 2);
    frameOf(vb);
    expectSquares(true, true, "two squares in the same room");
    fillSquares(vb, 1, 1);
    frameOf(vb);
    expectSquares(true, false, "one square in room for one");
    fillSquares(vb, 2, 2);
    frameOf(vb);
    expectSquares(true, true, "regrown to two squares");
}

TEST_F(EngineFrame, MaterialColourModeIgnoresVertexColours) {
    CMVBzq vb;
    fillSquare(vb, 0, 0.5f, teal);
    CMMaterialzq orange;
    orange.initMaterialDAS(1, 1, 0);
    orange.initMaterialColorDAS(0x0080FFu);
    CMOutputMerg01Setting viewSetting; // as a view's own settings, pointed at the engine
    viewSetting.m_pM3D = &m3d;
    begin();
    ASSERT_TRUE(viewSetting.setMat2disableVtxColor(1));
    ASSERT_TRUE(m3d.setMaterial(&orange));
    drawStrip(m3d, vb, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP);
    end();
    expectColor(pixel(m3d, kW / 2, kH / 2), 1, 128 / 255.0f, 0, 3);
}

TEST_F(EngineFrame, CubeGlyphDrawnAtItsPosition) {
    CMMaterialzq blue;
    blue.initMaterialDAS(1, 1, 0);
    blue.initMaterialColorDAS(0xFF0000u);
    CMBasicShape cube;
    ASSERT_TRUE(cube.makeMCube(0.2f, 0.2f, 0.2f, &blue));
    const float right[3] = {0.6f, 0, 0};
    begin();
    m3d.setOutmergVtxColor1(0, 1);
    ASSERT_TRUE(cube.rendShape(&m3d, right));
    end();
    expectColor(pixel(m3d, kW / 2, kH / 2), m3d.m_bgColor[0], m3d.m_bgColor[1], m3d.m_bgColor[2],
                1);
    // The eye frames a sphere of the scene size: x = 0.6 lies cos(15 deg) * 0.5 half-heights out.
    const int x = kW / 2 + static_cast<int>(0.5f * std::cos(0.2618f) * kH / 2);
    expectColor(pixel(m3d, x, kH / 2), 0, 0, 1, 3);
}

} // namespace
