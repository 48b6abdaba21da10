// Vector and matrix helpers of the sensor scene.
#include "SceneMath.h"

#include <cmath>
#include <utility>

namespace scenemath {

bool invert4(const float m[16], float out[16]) {
    double a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[c * 4 + r];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    }
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r) {
            if (std::fabs(a[r][c]) > std::fabs(a[p][c])) {
                p = r;
            }
        }
        if (!(std::fabs(a[p][c]) > 1e-300)) {
            return false;
        }
        std::swap(a[p], a[c]);
        const double inv = 1.0 / a[c][c];
        for (double& v : a[c]) {
            v *= inv;
        }
        for (int r = 0; r < 4; ++r) {
            if (r != c) {
                const double f = a[r][c];
                for (int k = 0; k < 8; ++k) {
                    a[r][k] -= f * a[c][k];
                }
            }
        }
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[c * 4 + r] = static_cast<float>(a[r][c + 4]);
            if (!std::isfinite(out[c * 4 + r])) {
                return false;
            }
        }
    }
    return true;
}

void transform4(const float m[16], const double in[4], double out[4]) {
    for (int r = 0; r < 4; ++r) {
        out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
    }
}

double length3(const double v[3]) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

bool finite3(const double v[3]) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

void orientedModel(const double pos[3], const double dir[3], float s, float out[16]) {
    double z[3] = {0, 0, 1};
    const double len = length3(dir);
    if (len > 0 && std::isfinite(len)) {
        z[0] = dir[0] / len;
        z[1] = dir[1] / len;
        z[2] = dir[2] / len;
    }
    // x: any unit vector across z; y completes the right-handed frame.
    const double h[3] = {std::fabs(z[0]) < 0.9 ? 1.0 : 0.0, std::fabs(z[0]) < 0.9 ? 0.0 : 1.0, 0};
    double x[3] = {h[1] * z[2] - h[2] * z[1], h[2] * z[0] - h[0] * z[2], h[0] * z[1] - h[1] * z[0]};
    const double lx = length3(x);
    for (double& v : x) {
        v /= lx;
    }
    const double y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2],
                         z[0] * x[1] - z[1] * x[0]};
    const double* axes[3] = {x, y, z};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            out[c * 4 + r] = static_cast<float>(axes[c][r] * s);
        }
        out[c * 4 + 3] = 0.0f;
    }
    for (int r = 0; r < 3; ++r) {
        out[12 + r] = static_cast<float>(pos[r]);
    }
    out[15] = 1.0f;
}

bool solve4(double a[4][4], double b[4], double x[4]) {
    // Pivots below this share of the largest entry count as zero (flat or collinear sets).
    double scale = 0.0;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            scale = std::fmax(scale, std::fabs(a[r][c]));
        }
    }
    const double tiny = scale * 1e-12;
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r) {
            if (std::fabs(a[r][c]) > std::fabs(a[p][c])) {
                p = r;
            }
        }
        if (!(std::fabs(a[p][c]) > tiny)) {
            return false;
        }
        std::swap(a[p], a[c]);
        std::swap(b[p], b[c]);
        for (int r = c + 1; r < 4; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < 4; ++k) {
                a[r][k] -= f * a[c][k];
            }
            b[r] -= f * b[c];
        }
    }
    for (int r = 3; r >= 0; --r) {
        double s = b[r];
        for (int k = r + 1; k < 4; ++k) {
            s -= a[r][k] * x[k];
        }
        x[r] = s / a[r][r];
        if (!std::isfinite(x[r])) {
            return false;
        }
    }
    return true;
}

// The linear system in (c, r^2 - |c|^2), on points moved to their mean for conditioning.
bool fitSphere(const std::vector<std::array<double, 3>>& pts, Sphere& out) {
    if (pts.size() < 4) {
        return false;
    }
    double mean[3] = {0, 0, 0};
    for (const auto& p : pts) {
        for (int k = 0; k < 3; ++k) {
            mean[k] += p[k] / static_cast<double>(pts.size());
        }
    }
    double a[4][4] = {}, b[4] = {};
    for (const auto& p : pts) {
        const double row[4] = {2 * (p[0] - mean[0]), 2 * (p[1] - mean[1]), 2 * (p[2] - mean[2]), 1};
        const double rhs = row[0] * row[0] / 4 + row[1] * row[1] / 4 + row[2] * row[2] / 4;
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                a[i][j] += row[i] * row[j];
            }
            b[i] += row[i] * rhs;
        }
    }
    double x[4];
    if (!solve4(a, b, x)) {
        return false;
    }
    const double r2 = x[3] + x[0] * x[0] + x[1] * x[1] + x[2] * x[2];
    if (!(r2 > 0) || !std::isfinite(r2)) {
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        out.c[k] = x[k] + mean[k];
    }
    out.r = std::sqrt(r2);
    return true;
}

} // namespace scenemath
