// The Direct3D-shaped device on the headless GL context: refused creations with reasons,
// topologies, constant buffers, clipping of over-long draws, and read-back orientation.
#include "gfx/CGfxEglContext.h"
#include "gfx/CGfxRenderTarget.h"
#include "gfx/ID3D11Buffer.h"
#include "gfx/ID3D11Device.h"
#include "gfx/ID3D11DeviceContext.h"
#include "gfx/ID3D11InputLayout.h"
#include "gfx/ID3D11PixelShader.h"
#include "gfx/ID3D11VertexShader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kVs = R"(#version 330 core
layout(location = 0) in vec2 inPos;
void main() { gl_Position = vec4(inPos, 0.0, 1.0); }
)";
const char* const kPs = R"(#version 330 core
layout(std140) uniform PSCB0 { vec4 color; };
out vec4 fragColor;
void main() { fragColor = color; }
)";

template <typename T>
void release(T*& p) {
    if (p) {
        p->Release();
        p = nullptr;
    }
}

class GfxDevice : public testing::Test {
protected:
    void SetUp() override {
        if (FAILED(D3D11CreateDevice(&dev, &ctx))) {
            GTEST_SKIP() << "no GL context: " << gfxLastError();
        }
    }
    void TearDown() override {
        release(ctx);
        release(dev);
    }
    ID3D11Device* dev = nullptr;
    ID3D11DeviceContext* ctx = nullptr;
};

TEST_F(GfxDevice, RefusedCreationsSayWhy) {
    EXPECT_STRNE(CGfxEglContext::platformName(), "");
    ID3D11Buffer* buf = nullptr;
    D3D11_BUFFER_DESC empty{0, D3D11_BIND_VERTEX_BUFFER};
    EXPECT_EQ(dev->CreateBuffer(&empty, nullptr, &buf), E_FAIL);
    EXPECT_EQ(buf, nullptr);
    ID3D11VertexShader* vs = nullptr;
    EXPECT_EQ(dev->CreateVertexShader("#version 330 core\nnot glsl", &vs), E_FAIL);
    EXPECT_NE(std::string(gfxLastError()).find("does not compile"), std::string::npos);
    CGfxRenderTarget* rt = nullptr;
    EXPECT_EQ(dev->CreateRenderTarget(0, 5, &rt), E_FAIL);
    ID3D11InputLayout* il = nullptr;
    EXPECT_EQ(dev->CreateInputLayout(nullptr, 0, &il), E_FAIL);
    EXPECT_STRNE(gfxLastError(), "");
}

// Draws count vertices of xy in yellow into a width x height target cleared to blue, with the
// rasteriser state rs (null: the default) and shaders made afresh from the same sources each
// time; every object is released afterwards. The image, empty when something failed.
std::vector<std::uint32_t> drawYellow(ID3D11Device* dev, ID3D11DeviceContext* ctx,
                                      D3D11_PRIMITIVE_TOPOLOGY topology,
                                      const std::vector<float>& xy, unsigned count, int width,
                                      int height, const D3D11_RASTERIZER_DESC* rs = nullptr) {
    ID3D11Buffer *vb = nullptr, *cb = nullptr;
    ID3D11VertexShader* vs = nullptr;
    ID3D11PixelShader* ps = nullptr;
    ID3D11InputLayout* il = nullptr;
    CGfxRenderTarget* rt = nullptr;
    const D3D11_BUFFER_DESC vbDesc{xy.size() * sizeof(float), D3D11_BIND_VERTEX_BUFFER};
    const D3D11_BUFFER_DESC cbDesc{16, D3D11_BIND_CONSTANT_BUFFER};
    const D3D11_INPUT_ELEMENT_DESC element{"POSITION", 0, 2, 0, 0};
    std::vector<std::uint32_t> image;
    if (dev->CreateBuffer(&vbDesc, xy.data(), &vb) == S_OK &&
        dev->CreateBuffer(&cbDesc, nullptr, &cb) == S_OK &&
        dev->CreateVertexShader(kVs, &vs) == S_OK && dev->CreatePixelShader(kPs, &ps) == S_OK &&
        dev->CreateInputLayout(&element, 1, &il) == S_OK &&
        dev->CreateRenderTarget(width, height, &rt) == S_OK) {
        const float clear[4] = {0, 0, 1, 1}, yellow[4] = {1, 1, 0, 1};
        const unsigned stride = 8, offset = 0;
        ctx->OMSetRenderTargets(rt);
        ctx->RSSetState(rs);
        ctx->ClearRenderTargetView(rt, clear);
        ctx->UpdateSubresource(cb, 0, nullptr, yellow, 0, 0);
        ctx->PSSetConstantBuffers(0, 1, &cb);
        ctx->IASetPrimitiveTopology(topology);
        ctx->IASetInputLayout(il);
        ctx->VSSetShader(vs);
        ctx->PSSetShader(ps);
        ctx->IASetVertexBuffers(0, 1, &vb, &stride, &offset);
        ctx->Draw(count, 0);
        if (ctx->ReadBack(rt) == S_OK)
            image = rt->image();
    }
    for (CGfxObject* o : std::initializer_list<CGfxObject*>{vb, cb, vs, ps, il, rt})
        if (o)
            o->Release();
    return image;
}

struct TopologyCase {
    D3D11_PRIMITIVE_TOPOLOGY topology;
    std::vector<float> xy; // the top half of the target
    unsigned drawCount;    // more than the buffer holds is cut to what it holds
};
class Topology : public GfxDevice, public testing::WithParamInterface<TopologyCase> {};

TEST_P(Topology, FillsTheTopHalfTopRowFirst) {
    const std::vector<std::uint32_t> image =
        drawYellow(dev, ctx, GetParam().topology, GetParam().xy, GetParam().drawCount, 64, 32);
    EXPECT_EQ(ctx->linkFailures(), 0);
    ASSERT_EQ(image.size(), 64u * 32u) << gfxLastError();
    EXPECT_EQ(image[5 * 64 + 10], 0xFF00FFFFu) << "top rows: the drawn yellow";
    EXPECT_EQ(image[27 * 64 + 50], 0xFFFF0000u) << "bottom rows: the blue clear colour";
    ctx->Draw(3, 0); // everything bound is gone: nothing happens
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Topology,
    testing::Values(
        TopologyCase{
            D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST, {-1, 0, 1, 0, 1, 1, -1, 0, 1, 1, -1, 1}, 6},
        TopologyCase{D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP, {-1, 0, 1, 0, -1, 1, 1, 1}, 4},
        TopologyCase{D3D11_PRIMITIVE_TOPOLOGY_TRIANGLEFAN, {-1, 0, 1, 0, 1, 1, -1, 1}, 1000}),
    [](const auto& info) {
        const D3D11_PRIMITIVE_TOPOLOGY t = info.param.topology;
        const std::string type = t == D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST    ? "TriangleList"
                                 : t == D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP ? "TriangleStrip"
                                 : t == D3D11_PRIMITIVE_TOPOLOGY_TRIANGLEFAN   ? "TriangleFan"
                                                                               : "OtherTopology";
        return type + "Drawing" + std::to_string(info.param.drawCount);
    });

// Draws of many primitives (which a software rasteriser gets in pieces) draw each of them once,
// with its winding: every primitive below owns pixels of its own, and back faces are culled.
TEST_F(GfxDevice, LongDrawsDrawEveryPrimitive) {
    constexpr int kColumns = 16383;
    const auto x = [](double column) { return static_cast<float>(-1.0 + 2.0 * column / kColumns); };
    std::vector<float> strip, list, lines;
    for (int c = 0; c <= kColumns; ++c)
        strip.insert(strip.end(), {x(c), -1, x(c), 1}); // column c: lower then upper triangle
    for (int c = 0; c < kColumns; ++c) {
        list.insert(list.end(), {x(c), -1, x(c), 1, x(c + 1), -1});
        list.insert(list.end(), {x(c), 1, x(c + 1), 1, x(c + 1), -1});
        lines.insert(lines.end(), {x(c + 0.5), -2, x(c + 0.5), 2});
    }
    const std::pair<D3D11_PRIMITIVE_TOPOLOGY, const std::vector<float>*> draws[] = {
        {D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP, &strip},
        {D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST, &list},
        {D3D11_PRIMITIVE_TOPOLOGY_LINELIST, &lines},
        {D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP, &strip}, // shaders released and made again
    };
    D3D11_RASTERIZER_DESC rs;
    rs.CullMode = D3D11_CULL_BACK;
    rs.FrontCounterClockwise = false;
    for (const auto& [topology, xy] : draws) {
        const std::vector<std::uint32_t> image = drawYellow(
            dev, ctx, topology, *xy, static_cast<unsigned>(xy->size() / 2), kColumns, 2, &rs);
        ASSERT_EQ(image.size(), 2u * kColumns) << gfxLastError();
        EXPECT_EQ(ctx->linkFailures(), 0);
        int blue = 0, first = -1;
        for (int i = 0; i < 2 * kColumns; ++i)
            if (image[i] != 0xFF00FFFFu && ++blue == 1)
                first = i;
        EXPECT_EQ(blue, 0) << "topology " << topology << ": first pixel left blue at column "
                           << first % kColumns << ", row " << first / kColumns;
    }
}

// In a fresh process whose EGL finds no driver, creation fails with a reason instead of
// aborting.
TEST(GfxWithoutDriver, CreationFailsWithAReason) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent/egl_vendor.json", 1);
            ID3D11Device* dev = nullptr;
            const HRESULT hr = D3D11CreateDevice(&dev, nullptr);
            std::fprintf(stderr, "%s\n", gfxLastError());
            std::exit(hr == E_FAIL && !dev && !CGfxEglContext::exists() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "no EGL display: is Mesa's libegl-mesa0 installed\\?");
}

} // namespace
