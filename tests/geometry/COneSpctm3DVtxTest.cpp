// Vertex grid of the spectrogram: sizing, joining, accessors and the whole-grid normal passes.
#include "geometry/COneSpctm3DVtx.h"

#include <array>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

void setVec(float* out, float x, float y, float z, float w) {
    out[0] = x;
    out[1] = y;
    out[2] = z;
    out[3] = w;
}

// Fills every strip the way the drawings do: rows pairs of (row, f) and (row, f + 1), with
// position (row * a, height(row, column), column * b).
template <typename Height>
void fillLattice(COneSpctm3DVtx& g, long long rows, float a, float b, Height height) {
    for (long long f = 0; f < g.stripCount; ++f) {
        D3DVTX_PNCd* v = g.strips[f].getBufPtr();
        for (long long r = 0; r < rows; ++r) {
            for (long long k = 0; k < 2; ++k) {
                const long long c = f + k;
                setVec(v[2 * r + k].pos, r * a, height(r, c), c * b, 1.0f);
                setVec(v[2 * r + k].nml, 9.0f, 9.0f, 9.0f, 9.0f);
            }
        }
        g.strips[f].m_nVtx = 2 * rows;
    }
}

void expectNormal(const D3DVTX_PNCd& v, float x, float y, float z, float w) {
    EXPECT_NEAR(v.nml[0], x, 1e-5f);
    EXPECT_NEAR(v.nml[1], y, 1e-5f);
    EXPECT_NEAR(v.nml[2], z, 1e-5f);
    EXPECT_NEAR(v.nml[3], w, 1e-5f);
}

} // namespace

TEST(COneSpctm3DVtx, SizingKeepsStripsWhileTheSizeStays) {
    COneSpctm3DVtx g;
    CMVBzq* strips = g.checkInitVtxBuf(10, 3);
    ASSERT_NE(strips, nullptr);
    EXPECT_EQ(g.stripCount, 2);
    EXPECT_EQ(g.strips[0].m_nVtxCapacity, 20);
    g.strips[1].m_nVtx = 6;
    EXPECT_EQ(g.checkInitVtxBuf(10, 3), strips);
    EXPECT_EQ(g.strips[1].m_nVtx, 6);

    EXPECT_EQ(g.checkInitVtxBuf(1, 100), nullptr);
    EXPECT_EQ(g.strips, nullptr);
    EXPECT_EQ(g.timePoints, 0);
    EXPECT_EQ(g.checkInitVtxBuf(100, 1), nullptr);
    EXPECT_EQ(g.checkInitVtxBuf(-5, -5), nullptr);
    // Sizes far beyond any recording fail before allocating.
    EXPECT_EQ(g.checkInitVtxBuf(2, 1LL << 30), nullptr);
    EXPECT_EQ(g.checkInitVtxBuf(1LL << 40, 3), nullptr);
    EXPECT_EQ(g.checkInitVtxBuf(LLONG_MAX, LLONG_MAX), nullptr);
    EXPECT_EQ(g.stripCount, 0);
    EXPECT_EQ(g.clean(), 1);
}

// A grid that keeps its time points but gains or loses frequencies, or the reverse, gets empty
// strips of the new size: one per pair of neighbouring frequencies, two vertices per time point.
TEST(COneSpctm3DVtx, ChangedSizeGetsFreshStripsOfThatSize) {
    COneSpctm3DVtx g;
    const std::pair<long long, long long> sizes[] = {{6, 3}, {6, 5}, {6, 2}, {9, 2},
                                                     {4, 2}, {4, 4}, {7, 3}};
    for (const auto& [T, F] : sizes) {
        SCOPED_TRACE(std::to_string(T) + " x " + std::to_string(F));
        ASSERT_NE(g.checkInitVtxBuf(T, F), nullptr);
        ASSERT_EQ(g.stripCount, F - 1);
        EXPECT_EQ(g.timePoints, T);
        EXPECT_EQ(g.freqPoints, F);
        for (long long s = 0; s < g.stripCount; ++s) {
            ASSERT_EQ(g.strips[s].m_nVtxCapacity, 2 * T);
            EXPECT_EQ(g.strips[s].m_nVtx, 0) << "strip " << s << " kept an earlier drawing";
            // Filled to the end, as a drawing of the whole grid fills it.
            for (long long k = 0; k < 2 * T; ++k)
                g.strips[s].m_pVtx[k].pos[0] = static_cast<float>(100 * s + k);
            g.strips[s].m_nVtx = 2 * T;
        }
        const long long joined = F > 2 ? (F - 1) * 2 * T + 2 * (F - 2) : 0;
        ASSERT_EQ(g.combineVb4Spctm(), joined);
        if (joined > 0) {
            EXPECT_EQ(g.combined.m_pVtx[joined - 1].pos[0],
                      static_cast<float>(100 * (F - 2) + 2 * T - 1));
        }
    }
}

TEST(COneSpctm3DVtx, JoinLinksStripsWithRepeatedVertices) {
    COneSpctm3DVtx g;
    ASSERT_NE(g.checkInitVtxBuf(4, 4), nullptr);
    const long long counts[3] = {4, 2, 6};
    for (int s = 0; s < 3; ++s) {
        g.strips[s].m_nVtx = counts[s];
        for (int k = 0; k < 8; ++k)
            g.strips[s].m_pVtx[k].pos[0] = static_cast<float>(s * 100 + k);
    }
    ASSERT_EQ(g.combineVb4Spctm(), 12);
    EXPECT_EQ(g.combined.m_nVtx, 12);
    EXPECT_EQ(g.combined.m_nVtxCapacity, 14);
    EXPECT_EQ(g.combined.m_vtxStride, g.strips[0].m_vtxStride);
    const float expected[12] = {0, 1, 2, 3, 3, 200, 200, 201, 202, 203, 204, 205};
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(g.combined.m_pVtx[k].pos[0], expected[k]) << "vertex " << k;

    // Joined again at the same size, the buffer is reused.
    const D3DVTX_PNCd* buffer = g.combined.m_pVtx;
    EXPECT_EQ(g.combineVb4Spctm(), 12);
    EXPECT_EQ(g.combined.m_pVtx, buffer);

    for (int s = 0; s < 3; ++s)
        g.strips[s].m_nVtx = 2;
    EXPECT_EQ(g.combineVb4Spctm(), 0);
    EXPECT_EQ(g.combined.m_nVtx, 12); // left as it was

    COneSpctm3DVtx single;
    ASSERT_NE(single.checkInitVtxBuf(4, 2), nullptr);
    single.strips[0].m_nVtx = 8;
    EXPECT_EQ(single.combineVb4Spctm(), 0);
    EXPECT_EQ(COneSpctm3DVtx().combineVb4Spctm(), 0);
}

TEST(COneSpctm3DVtx, AccessorsAddressVertexOfStripAndRefuseTheRest) {
    COneSpctm3DVtx g;
    __m128 out;
    __m128 n = _mm_setr_ps(1, 2, 3, 4);
    EXPECT_FALSE(g.getPosTF(0, 0, &out));
    EXPECT_EQ(g.setNml4TimFrq(0, 0, n), 0);
    ASSERT_NE(g.checkInitVtxBuf(3, 3), nullptr);
    fillLattice(g, 3, 1.0f, 1.0f, [](long long r, long long c) { return float(r * 10 + c); });

    alignas(16) float p[4];
    _mm_store_ps(p, g.posTimFrq(1, 1));
    EXPECT_EQ(p[1], 2.0f); // vertex 1 of strip 1: row 0, column 2
    _mm_store_ps(p, g.posTimFrq(3, 0));
    EXPECT_EQ(p[0] + p[1] + p[2] + p[3], 0.0f); // t equal to T
    _mm_store_ps(p, g.posTimFrq(0, 2));
    EXPECT_EQ(p[0] + p[1] + p[2] + p[3], 0.0f); // f equal to F - 1
    EXPECT_FALSE(g.getPosTF(0, 0, nullptr));
    EXPECT_TRUE(g.getPosTF(2, 0, &out));

    EXPECT_EQ(g.setNml4TimFrq(2, 0, n), 1);
    EXPECT_EQ(g.strips[0].m_pVtx[2].nml[3], 4.0f);
    EXPECT_EQ(g.setNml4TimFrq(-1, 0, n), 0);
    g.strips[0].m_nVtx = 2;
    EXPECT_EQ(g.setNml4TimFrq(2, 0, n), 0);

    __m128 a = _mm_setr_ps(1, 0, 0, 7);
    __m128 b = _mm_setr_ps(0, 1, 0, 7);
    _mm_store_ps(p, g.cross(a, b));
    EXPECT_EQ(p[2], 1.0f);
    EXPECT_EQ(p[3], 0.0f);
}

// Both whole-grid passes on lattices of several sizes, flat and tilted.
class LatticePass : public ::testing::TestWithParam<std::tuple<int, long long, long long>> {};

TEST_P(LatticePass, PlanesGetTheirNormalAtEveryPointOfTheLattice) {
    const auto [pass, rows, cols] = GetParam();
    // Slopes along time and frequency: a mixed-up neighbour flips or tilts the normal.
    for (auto [st, sf] : {std::pair{0.0f, 0.0f}, std::pair{0.5f, -0.25f}}) {
        COneSpctm3DVtx g;
        ASSERT_NE(g.checkInitVtxBuf(rows, cols), nullptr);
        fillLattice(g, rows, 0.7f, 0.3f, [st, sf](long long r, long long c) {
            return 2.0f + st * 0.7f * r + sf * 0.3f * c;
        });
        ASSERT_EQ(pass == 0 ? g.normalAll() : g.normalOptim(), 1);
        const float len = std::sqrt(1.0f + st * st + sf * sf);
        for (long long s = 0; s < g.stripCount; ++s)
            for (long long k = 0; k < g.strips[s].m_nVtx; ++k)
                expectNormal(g.strips[s].m_pVtx[k], -st / len, 1.0f / len, -sf / len, 0.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(AllAndOptim, LatticePass,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Values(2, 3, 6),
                                            ::testing::Values(2, 3, 5, 8)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == 0 ? "All" : "Optim") +
                                    std::to_string(std::get<1>(info.param)) + "x" +
                                    std::to_string(std::get<2>(info.param));
                         });

// On a curved surface every interior point gets the average of its faces, computed here
// directly from the neighbours' positions.
TEST(COneSpctm3DVtx, PassesAverageTheFacesOfCurvedSurfaces) {
    using V = std::array<double, 3>;
    const auto height = [](long long r, long long c) {
        return static_cast<float>(std::sin(0.9 * r) * std::cos(1.3 * c));
    };
    const auto at = [&](long long r, long long c) { return V{0.7 * r, height(r, c), 0.3 * c}; };
    const auto cross = [](V a, V b) {
        return V{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    };
    for (int pass : {0, 1}) {
        COneSpctm3DVtx g;
        ASSERT_NE(g.checkInitVtxBuf(7, 6), nullptr);
        fillLattice(g, 7, 0.7f, 0.3f, height);
        ASSERT_EQ(pass == 0 ? g.normalAll() : g.normalOptim(), 1);
        for (long long r = 1; r < 6; ++r) {
            for (long long c = 1; c < 5; ++c) {
                // Ring in the order the faces are taken: six neighbours, or four.
                const std::vector<V> ring =
                    pass == 0
                        ? std::vector<V>{at(r + 1, c), at(r + 1, c - 1), at(r, c - 1),
                                         at(r - 1, c), at(r - 1, c + 1), at(r, c + 1)}
                        : std::vector<V>{at(r + 1, c), at(r, c + 1), at(r - 1, c), at(r, c - 1)};
                V n{0, 0, 0};
                for (size_t k = 0; k < ring.size(); ++k) {
                    V d1, d2;
                    for (int j = 0; j < 3; ++j) {
                        d1[j] = ring[k][j] - at(r, c)[j];
                        d2[j] = ring[(k + 1) % ring.size()][j] - at(r, c)[j];
                    }
                    const V f = pass == 0 ? cross(d1, d2) : cross(d2, d1);
                    for (int j = 0; j < 3; ++j)
                        n[j] += f[j];
                }
                const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                expectNormal(g.strips[c].m_pVtx[2 * r], n[0] / len, n[1] / len, n[2] / len, 0.0f);
                expectNormal(g.strips[c - 1].m_pVtx[2 * r + 1], n[0] / len, n[1] / len, n[2] / len,
                             0.0f);
            }
        }
    }
}

TEST(COneSpctm3DVtx, PassesSkipUnfilledStripsAndNeedStrips) {
    COneSpctm3DVtx empty;
    EXPECT_EQ(empty.normalAll(), 0);
    EXPECT_EQ(empty.normalOptim(), 0);

    // Strip 0 left empty, as the window view leaves it: the lattice starts at column 1.
    COneSpctm3DVtx g;
    ASSERT_NE(g.checkInitVtxBuf(4, 5), nullptr);
    fillLattice(g, 3, 1.0f, 1.0f, [](long long, long long) { return 0.0f; });
    g.strips[0].m_nVtx = 0;
    ASSERT_EQ(g.normalAll(), 1);
    for (long long s = 1; s < g.stripCount; ++s)
        for (long long k = 0; k < g.strips[s].m_nVtx; ++k)
            expectNormal(g.strips[s].m_pVtx[k], 0.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(g.strips[0].m_pVtx[0].nml[0], 9.0f);

    // A point at infinity gives NaN normals around it, never a crash.
    g.strips[1].m_pVtx[2].pos[1] = INFINITY;
    g.strips[0].m_pVtx[3].pos[1] = INFINITY;
    EXPECT_EQ(g.normalOptim(), 1);
    EXPECT_TRUE(std::isnan(g.strips[1].m_pVtx[0].nml[1]));
}
