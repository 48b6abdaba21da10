// Engine parts that need no GL context: vertex arrays, materials, primitive counts, shapes,
// and the camera's view angle.
#include "engine/CM3Dzq.h"
#include "engine/CMBasicShape.h"
#include "engine/CMDXdefine.h"
#include "engine/CMVBzq.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct BufCase {
    long long n;
    int ok;
};
class VertexBufferInit : public testing::TestWithParam<BufCase> {};

TEST_P(VertexBufferInit, AllocatesOrRefusesQuietly) {
    CMVBzq vb;
    EXPECT_EQ(vb.getBufPtr(), nullptr);
    EXPECT_EQ(vb.initBuf4triangVtx(GetParam().n) != 0, GetParam().ok != 0);
    if (GetParam().ok) {
        ASSERT_NE(vb.getBufPtr(), nullptr);
        EXPECT_EQ(vb.m_nVtxCapacity, GetParam().n);
        EXPECT_EQ(vb.m_vtxStride, 48);
        EXPECT_EQ(vb.getBufPtr()[GetParam().n - 1].pos[0], 0.0f);
    } else {
        EXPECT_EQ(vb.getBufPtr(), nullptr);
        EXPECT_EQ(vb.m_nVtxCapacity, 0);
    }
    EXPECT_EQ(vb.makeContent(), 0); // no engine
    vb.releaseMVB();
    EXPECT_EQ(vb.getBufPtr(), nullptr);
    EXPECT_EQ(vb.m_nVtxCapacity, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, VertexBufferInit,
                         testing::Values(BufCase{1, 1}, BufCase{400000, 1}, BufCase{0, 0},
                                         BufCase{-5, 0}, BufCase{LLONG_MAX, 0},
                                         BufCase{LLONG_MAX / 48 - 1, 0}),
                         [](const auto& info) {
                             const long long n = info.param.n;
                             return std::string(info.param.ok ? "Accepts" : "Refuses") +
                                    (n < 0 ? "Minus" : "") + std::to_string(n < 0 ? -n : n);
                         });

TEST(VertexBuffer, FailedResizeKeepsTheOldArray) {
    CMVBzq vb;
    ASSERT_TRUE(vb.initBuf4triangVtx(10));
    vb.getBufPtr()[9].clr[0] = 0.5f;
    EXPECT_FALSE(vb.initBuf4triangVtx(LLONG_MAX));
    EXPECT_EQ(vb.m_nVtxCapacity, 10);
    EXPECT_EQ(vb.getBufPtr()[9].clr[0], 0.5f);
}

struct ColorCase {
    std::uint32_t color;
    float r, g, b;
};
class MaterialColor : public testing::TestWithParam<ColorCase> {};

TEST_P(MaterialColor, TakesRedGreenBlueFromTheLowBytes) {
    CMMaterialzq m, copy;
    m.initMaterialDAS(0.5f, 0.5f, 0.5f);
    m.initMaterialColorDAS(GetParam().color);
    copy = m;
    EXPECT_FLOAT_EQ(copy.m_color[0], GetParam().r);
    EXPECT_FLOAT_EQ(copy.m_color[1], GetParam().g);
    EXPECT_FLOAT_EQ(copy.m_color[2], GetParam().b);
    EXPECT_FLOAT_EQ(copy.m_color[3], 1.0f);
    EXPECT_FLOAT_EQ(copy.m_diffuse, 0.5f);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, MaterialColor,
    testing::Values(ColorCase{0x000000FF, 1, 0, 0}, ColorCase{0x0000FF00, 0, 1, 0},
                    ColorCase{0xFFFF0000, 0, 0, 1},
                    ColorCase{0x00336699, 0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f}),
    [](const auto& info) {
        std::string name = "Color";
        for (int shift = 28; shift >= 0; shift -= 4)
            name += "0123456789ABCDEF"[(info.param.color >> shift) & 0xF];
        return name;
    });

struct PrimCase {
    D3DPRIMITIVETYPE type;
    long long n, expected;
};
class PrimitiveCount : public testing::TestWithParam<PrimCase> {};

TEST_P(PrimitiveCount, FollowsTheTopology) {
    EXPECT_EQ(CMDXdefine::vertexCount2primitiveCount(GetParam().type, GetParam().n),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, PrimitiveCount,
    testing::Values(PrimCase{D3DPT_POINTLIST, 7, 7}, PrimCase{D3DPT_LINELIST, 7, 3},
                    PrimCase{D3DPT_LINESTRIP, 7, 6}, PrimCase{D3DPT_TRIANGLELIST, 7, 2},
                    PrimCase{D3DPT_TRIANGLESTRIP, 7, 5}, PrimCase{D3DPT_TRIANGLEFAN, 7, 5},
                    PrimCase{D3DPT_TRIANGLESTRIP, 2, 0}, PrimCase{D3DPT_TRIANGLELIST, -3, 0},
                    PrimCase{static_cast<D3DPRIMITIVETYPE>(99), 9, 0}),
    [](const auto& info) {
        const D3DPRIMITIVETYPE t = info.param.type;
        const long long n = info.param.n;
        const std::string type = t == D3DPT_POINTLIST       ? "PointList"
                                 : t == D3DPT_LINELIST      ? "LineList"
                                 : t == D3DPT_LINESTRIP     ? "LineStrip"
                                 : t == D3DPT_TRIANGLELIST  ? "TriangleList"
                                 : t == D3DPT_TRIANGLESTRIP ? "TriangleStrip"
                                 : t == D3DPT_TRIANGLEFAN   ? "TriangleFan"
                                                            : "UnknownType";
        return type + "Of" + (n < 0 ? "Minus" : "") + std::to_string(n < 0 ? -n : n);
    });

TEST(BasicShape, BuildsClosedGlyphsAndRefusesNonsense) {
    CMBasicShape s;
    EXPECT_TRUE(s.makeMCube(1, 2, 3, nullptr));
    EXPECT_EQ(s.m_vb.m_nVtx, 36);
    EXPECT_FLOAT_EQ(std::fabs(s.m_vb.getBufPtr()[0].pos[0]) * 2, 1.0f);
    EXPECT_TRUE(s.makeMSphere(2, 16, 16, nullptr));
    EXPECT_EQ(s.m_vb.m_nVtx, 6 * 16 * 16);
    const float* p = s.m_vb.getBufPtr()[100].pos;
    EXPECT_NEAR(std::hypot(p[0], p[1], p[2]), 2.0f, 1e-5f);
    EXPECT_FALSE(s.makeMSphere(NAN, 16, 16, nullptr));
    EXPECT_FALSE(s.makeMSphere(1, 2, 16, nullptr));
    EXPECT_FALSE(s.makeMCube(1, -1, 1, nullptr));
    EXPECT_EQ(s.rendShape(nullptr, nullptr), 0);
}

// Where a world direction ends up in view space (x right, y up, z toward the eye).
void viewDirection(const CM3Dzq& m3d, float x, float y, float z, float out[3]) {
    float wvp[16], wv[16];
    m3d.computeWvp(nullptr, wvp, wv);
    for (int r = 0; r < 3; ++r) {
        out[r] = wv[r] * x + wv[4 + r] * y + wv[8 + r] * z;
    }
}

struct AngleCase {
    float angle;
    float heightInView[3]; // where world +y points
};
class ViewAngle : public testing::TestWithParam<AngleCase> {};

TEST_P(ViewAngle, TiltsTheWorldAboutX) {
    CM3Dzq m3d;
    m3d.m_viewAngle = GetParam().angle;
    float v[3];
    viewDirection(m3d, 0, 1, 0, v);
    const float len = std::hypot(v[0], v[1], v[2]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(v[i] / len, GetParam().heightInView[i], 1e-5f);
    }
    viewDirection(m3d, 1, 0, 0, v);
    EXPECT_GT(v[0], 0.0f) << "time (x) runs to the right in every view angle";
}

INSTANTIATE_TEST_SUITE_P(Angles, ViewAngle,
                         testing::Values(AngleCase{0, {0, 1, 0}}, AngleCase{-90, {0, 0, 1}},
                                         AngleCase{90, {0, 0, -1}}),
                         [](const auto& info) {
                             const int a = static_cast<int>(info.param.angle);
                             return std::string(a < 0 ? "Minus" : "") +
                                    std::to_string(a < 0 ? -a : a) + "Degrees";
                         });

TEST(ArchBall, DragTurnsTheSceneAndResetUndoesIt) {
    CM3Dzq m3d;
    float before[3], after[3];
    viewDirection(m3d, 0, 0, 1, before);
    m3d.m_archBall.rotateByMouse(100, 0, 400, 400);
    viewDirection(m3d, 0, 0, 1, after);
    EXPECT_GT(after[0], 0.5f * std::hypot(after[0], after[2])) << "drag right turns +z right";
    m3d.m_archBall.rotateByMouse(NAN, 1, 400, 400);
    m3d.m_archBall.zoomBy(-2);
    m3d.m_archBall.zoomBy(2);
    EXPECT_FLOAT_EQ(m3d.m_archBall.m_zoom, 2.0f);
    m3d.resetWorldArchBall();
    viewDirection(m3d, 0, 0, 1, after);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(after[i], before[i], 1e-6f);
    }
}

TEST(Engine, WithoutContextCallsFailQuietly) {
    CM3Dzq m3d;
    EXPECT_GT(m3d.m_sceneSize, 0.0f);
    EXPECT_EQ(m3d.getImage(), nullptr);
    EXPECT_EQ(m3d.setTargetSize(0, 10), 0);
    EXPECT_EQ(m3d.setTargetSize(1280, 720), 1);
    EXPECT_EQ(m3d.showDlgM3DRendStates(nullptr), 0);
}

} // namespace
