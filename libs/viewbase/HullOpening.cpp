// Facets of a hull that span the open side of a sensor array.
#include "HullOpening.h"

#include "SceneMath.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace hullopening {

namespace {

void sensorCentre(const std::vector<R3>& pts, double c[3]) {
    std::vector<std::array<double, 3>> xyz;
    xyz.reserve(pts.size());
    double mean[3] = {};
    for (const R3& r : pts) {
        xyz.push_back({r.x, r.y, r.z});
        mean[0] += r.x;
        mean[1] += r.y;
        mean[2] += r.z;
    }
    scenemath::Sphere sphere{};
    for (int k = 0; k < 3; ++k)
        c[k] = mean[k] / static_cast<double>(pts.size());
    if (scenemath::fitSphere(xyz, sphere))
        std::copy(sphere.c, sphere.c + 3, c);
}

} // namespace

bool openDirection(const std::vector<R3>& pts, double dir[3]) {
    if (pts.size() < 4)
        return false;
    double c[3];
    sensorCentre(pts, c);
    double m[3] = {};
    for (const R3& r : pts) {
        const double d[3] = {r.x - c[0], r.y - c[1], r.z - c[2]};
        const double len = scenemath::length3(d);
        if (!(len > 0.0) || !std::isfinite(len))
            continue;
        for (int k = 0; k < 3; ++k)
            m[k] += d[k] / len / static_cast<double>(pts.size());
    }
    const double balance = scenemath::length3(m);
    if (!(balance >= kSurroundBalance))
        return false;
    for (int k = 0; k < 3; ++k)
        dir[k] = -m[k] / balance;
    return true;
}

std::vector<std::pair<long long, long long>> drawnFacetRuns(const std::vector<R3>& pts,
                                                            const std::vector<Tri>& tris) {
    std::vector<std::pair<long long, long long>> runs;
    const long long n = static_cast<long long>(tris.size());
    double open[3] = {0.0, 0.0, 0.0};
    const bool hasOpening = openDirection(pts, open);
    long long first = -1;
    for (long long i = 0; i <= n; ++i) {
        bool drawn = false;
        if (i < n) {
            const Tri& t = tris[static_cast<size_t>(i)];
            drawn = !hasOpening || !(t.nx * open[0] + t.ny * open[1] + t.nz * open[2] > kFacingCos);
        }
        if (drawn && first < 0)
            first = i;
        if (!drawn && first >= 0) {
            runs.emplace_back(first, i);
            first = -1;
        }
    }
    return runs;
}

} // namespace hullopening
