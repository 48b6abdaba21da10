// Facets of a hull that span the open side of a sensor array.
#include "views/CHullOpening.h"

#include <cmath>
#include <utility>

namespace {

// Solves the 4x4 system a x = b with partial pivoting; false when it is singular.
bool solve4(double a[4][4], double b[4], double x[4]) {
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c]))
                p = r;
        if (!(std::fabs(a[p][c]) > 1e-300))
            return false;
        std::swap(a[p], a[c]);
        std::swap(b[p], b[c]);
        for (int r = c + 1; r < 4; ++r) {
            const double k = a[r][c] / a[c][c];
            for (int j = c; j < 4; ++j)
                a[r][j] -= k * a[c][j];
            b[r] -= k * b[c];
        }
    }
    for (int r = 3; r >= 0; --r) {
        double s = b[r];
        for (int j = r + 1; j < 4; ++j)
            s -= a[r][j] * x[j];
        x[r] = s / a[r][r];
    }
    return std::isfinite(x[0]) && std::isfinite(x[1]) && std::isfinite(x[2]);
}

// Centre of the least-squares sphere through the points (|p|^2 = 2 c.p + d), else their
// centroid (flat or collinear sets).
void sensorCentre(const std::vector<R3>& pts, double c[3]) {
    double a[4][4] = {}, b[4] = {}, mean[3] = {};
    for (const R3& r : pts) {
        const double row[4] = {2.0 * r.x, 2.0 * r.y, 2.0 * r.z, 1.0};
        const double rhs = double{r.x} * r.x + double{r.y} * r.y + double{r.z} * r.z;
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j)
                a[i][j] += row[i] * row[j];
            b[i] += row[i] * rhs;
        }
        mean[0] += r.x;
        mean[1] += r.y;
        mean[2] += r.z;
    }
    double x[4] = {};
    if (solve4(a, b, x)) {
        c[0] = x[0];
        c[1] = x[1];
        c[2] = x[2];
        return;
    }
    for (int k = 0; k < 3; ++k)
        c[k] = mean[k] / static_cast<double>(pts.size());
}

} // namespace

bool CHullOpening::openDirection(const std::vector<R3>& pts, double dir[3]) {
    if (pts.size() < 4)
        return false;
    double c[3];
    sensorCentre(pts, c);
    double m[3] = {};
    for (const R3& r : pts) {
        const double d[3] = {r.x - c[0], r.y - c[1], r.z - c[2]};
        const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (!(len > 0.0) || !std::isfinite(len))
            continue;
        for (int k = 0; k < 3; ++k)
            m[k] += d[k] / len;
    }
    for (double& v : m)
        v /= static_cast<double>(pts.size());
    const double balance = std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);
    if (!(balance >= kSurroundBalance))
        return false;
    for (int k = 0; k < 3; ++k)
        dir[k] = -m[k] / balance;
    return true;
}

std::vector<std::pair<long long, long long>>
CHullOpening::drawnFacetRuns(const std::vector<R3>& pts, const std::vector<Tri>& tris) {
    std::vector<std::pair<long long, long long>> runs;
    const long long n = static_cast<long long>(tris.size());
    double open[3];
    if (!openDirection(pts, open)) {
        if (n > 0)
            runs.emplace_back(0, n);
        return runs;
    }
    long long first = -1;
    for (long long i = 0; i <= n; ++i) {
        bool drawn = false;
        if (i < n) {
            const Tri& t = tris[static_cast<size_t>(i)];
            drawn = !(t.nx * open[0] + t.ny * open[1] + t.nz * open[2] > kFacingCos);
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
