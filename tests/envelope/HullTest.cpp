// Convex hull: de-duplication maps, closed outward-facing hulls, and quiet degenerate failures.
#include "envelope/ConvexHull3Dzq.h"
#include "probes/CSensorLayout.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <string>

namespace {

std::vector<R3> cubeCorners() {
    std::vector<R3> pts;
    for (int i = 0; i < 8; ++i)
        pts.push_back({i, i & 1 ? 1.f : -1.f, i & 2 ? 1.f : -1.f, i & 4 ? 1.f : -1.f, 10 + i});
    return pts;
}

std::vector<R3> spherePoints(int n) {
    std::vector<R3> pts;
    const double golden = M_PI * (3.0 - std::sqrt(5.0));
    for (int i = 0; i < n; ++i) {
        const double z = 1.0 - 2.0 * (i + 0.5) / n, r = std::sqrt(1.0 - z * z);
        pts.push_back({i, static_cast<float>(r * std::cos(golden * i)),
                       static_cast<float>(r * std::sin(golden * i)), static_cast<float>(z), i});
    }
    return pts;
}

// Every edge is shared by exactly two triangles, corners wind outward, normals are unit.
void expectClosedOutwardHull(const std::vector<R3>& pts, const std::vector<Tri>& tris) {
    std::map<std::pair<int, int>, int> directed;
    double cx = 0, cy = 0, cz = 0;
    for (const R3& p : pts) {
        cx += p.x / pts.size();
        cy += p.y / pts.size();
        cz += p.z / pts.size();
    }
    for (const Tri& t : tris) {
        ++directed[{t.a, t.b}];
        ++directed[{t.b, t.c}];
        ++directed[{t.c, t.a}];
        EXPECT_NEAR(std::sqrt(t.nx * t.nx + t.ny * t.ny + t.nz * t.nz), 1.0, 1e-5);
        const R3 &a = pts[t.a], &b = pts[t.b], &c = pts[t.c];
        const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        const double wx = uy * vz - uz * vy, wy = uz * vx - ux * vz, wz = ux * vy - uy * vx;
        EXPECT_GE(wx * t.nx + wy * t.ny + wz * t.nz, 0.0);
        EXPECT_GT((a.x - cx) * t.nx + (a.y - cy) * t.ny + (a.z - cz) * t.nz, 0.0);
        EXPECT_GE(t.ab, 0);
        EXPECT_GE(t.bc, 0);
        EXPECT_GE(t.ac, 0);
    }
    for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(directed.count({edge.second, edge.first}), 1u);
    }
}

TEST(Hull, CubeCornersGiveTwelveTriangles) {
    ConvexHull3Dzq hull;
    const auto pts = cubeCorners();
    std::vector<Tri> tris;
    ASSERT_EQ(hull.NewtonApple_hull_3D(pts, tris), 1) << hull.getLastError();
    EXPECT_EQ(tris.size(), 12u);
    expectClosedOutwardHull(pts, tris);
    for (const Tri& t : tris) // normals along the axes
        EXPECT_NEAR(std::fabs(t.nx) + std::fabs(t.ny) + std::fabs(t.nz), 1.0, 1e-6);
}

TEST(Hull, SpherePointsAreAllCorners) {
    ConvexHull3Dzq hull;
    const auto pts = spherePoints(200);
    std::vector<Tri> tris;
    ASSERT_EQ(hull.NewtonApple_hull_3D(pts, tris), 1);
    EXPECT_EQ(tris.size(), 2u * 200 - 4); // Euler: a triangulated sphere of n vertices
    expectClosedOutwardHull(pts, tris);
}

TEST(Hull, DuplicatesMergeIntoWholeRecords) {
    ConvexHull3Dzq hull;
    auto pts = cubeCorners();
    const auto cube = pts;
    for (const R3& p : cube)
        pts.push_back({p.id + 8, p.x, p.y, p.z + 1e-8f, p.chIdx + 8});
    std::vector<int> outx;
    std::vector<R3> unique;
    ASSERT_EQ(hull.de_duplicateR3(pts, outx, unique), 1);
    ASSERT_EQ(unique.size(), 8u);
    ASSERT_EQ(outx.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(outx[i], i % 8);
        EXPECT_EQ(unique[outx[i]].chIdx, 10 + i % 8);
    }
    std::vector<int> emptyMap{1, 2};
    EXPECT_EQ(hull.de_duplicateR3({}, emptyMap, unique), 1);
    EXPECT_TRUE(emptyMap.empty() && unique.empty());
}

// Pairs of sensors 0.6 of the merge tolerance apart, along each axis in turn, at places that
// step through the phases of any bucketing of about the tolerance: each pair becomes one point,
// and the pairs, 1.7 to 1.8 tolerances apart, stay apart. Either sensor of a pair may come
// first, so that the neighbour on each side of a cell edge is searched.
TEST(Hull, PointsWithinToleranceMergeWhereverTheyLie) {
    ConvexHull3Dzq hull;
    const std::vector<R3> cube = cubeCorners();
    const double tol = 1e-6 * std::sqrt(12.0); // of the cube's bounding-box diagonal
    constexpr int kPairs = 23;
    for (int side = 0; side < 6; ++side) {
        const int axis = side / 2;
        const double first = side % 2 ? 0.6 : 0.0;
        SCOPED_TRACE("axis " + std::to_string(axis) + (side % 2 ? ", upper first" : ""));
        std::vector<R3> pts = cube;
        for (int j = 0; j < kPairs; ++j) {
            for (double offset : {first, 0.6 - first}) {
                float c[3] = {0.5f, -0.5f, 0.25f};
                c[axis] = static_cast<float>((1.7 * j + 0.00225 * j * j + offset) * tol);
                pts.push_back(
                    {static_cast<int>(pts.size()), c[0], c[1], c[2], static_cast<int>(pts.size())});
            }
        }
        std::vector<int> outx;
        std::vector<R3> unique;
        ASSERT_EQ(hull.de_duplicateR3(pts, outx, unique), 1);
        ASSERT_EQ(unique.size(), 8u + kPairs);
        for (int j = 0; j < kPairs; ++j) {
            EXPECT_EQ(outx[8 + 2 * j], 8 + j) << "pair " << j;
            EXPECT_EQ(outx[9 + 2 * j], 8 + j) << "pair " << j;
            EXPECT_EQ(unique[8 + j].chIdx, 8 + 2 * j) << "the first record of the place";
        }
    }
}

TEST(Hull, NeuromagTripletsGiveOneHullPointPerLocation) {
    CSensorLayout layout;
    ASSERT_EQ(layout.loadEmbedded("meg306-neuromag"), 1);
    std::vector<R3> pts;
    for (int i = 0; i < layout.getChannelCount(); ++i) {
        const double* p = layout.getChannel(i)->pos;
        pts.push_back(
            {i, static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]), i});
    }
    ConvexHull3Dzq hull;
    std::vector<int> outx;
    std::vector<R3> unique;
    std::vector<Tri> tris;
    ASSERT_EQ(hull.de_duplicateR3(pts, outx, unique), 1);
    EXPECT_EQ(unique.size(), 102u);
    ASSERT_EQ(hull.NewtonApple_hull_3D(unique, tris), 1);
    expectClosedOutwardHull(unique, tris);
}

struct DegenerateCase {
    const char* what;
    std::vector<R3> pts;
};

class DegenerateHull : public testing::TestWithParam<DegenerateCase> {};

TEST_P(DegenerateHull, FailsQuietlyWithNoTriangles) {
    ConvexHull3Dzq hull;
    std::vector<Tri> tris(3);
    testing::internal::CaptureStderr();
    EXPECT_EQ(hull.NewtonApple_hull_3D(GetParam().pts, tris), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(tris.empty());
    EXPECT_FALSE(hull.getLastError().empty());
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Sets, DegenerateHull,
    testing::Values(
        DegenerateCase{"none", {}},
        DegenerateCase{"three", {{0, 0, 0, 0, 0}, {1, 1, 0, 0, 1}, {2, 0, 1, 0, 2}}},
        DegenerateCase{"coplanar",
                       {{0, 0, 0, 0, 0}, {1, 1, 0, 0, 1}, {2, 0, 1, 0, 2}, {3, 1, 1, 0, 3}}},
        DegenerateCase{"collinear",
                       {{0, 0, 0, 0, 0}, {1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 3, 3, 3}}},
        DegenerateCase{"duplicates",
                       {{0, 1, 2, 3, 0}, {1, 1, 2, 3, 1}, {2, 1, 2, 3, 2}, {3, 1, 2, 3, 3}}},
        DegenerateCase{"nan",
                       {{0, 0, 0, 0, 0}, {1, 1, 0, 0, 1}, {2, 0, 1, 0, 2}, {3, 0, 0, kNaN, 3}}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(Hull, NonFinitePointsStayApartInDeDuplication) {
    ConvexHull3Dzq hull;
    std::vector<R3> pts{{0, kNaN, 0, 0, 0}, {1, kNaN, 0, 0, 1}, {2, 0, 0, 0, 2}};
    std::vector<int> outx;
    std::vector<R3> unique;
    EXPECT_EQ(hull.de_duplicateR3(pts, outx, unique), 0);
    EXPECT_EQ(unique.size(), 3u);
}

} // namespace
