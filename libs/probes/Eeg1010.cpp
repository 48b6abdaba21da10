// The 10-10 system on a sphere. The midline and the ear-to-ear line are cut into 10 % steps of
// their half circle (18 degrees); the 10 % ring and the equator carry the outer electrodes at
// 18-degree steps of azimuth; every inner row (AF ... PO) is the arc through its two ring ends
// and its midline electrode, cut into eight equal parts.
#include "Eeg1010.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace {

using Vec = std::array<double, 3>;
constexpr double kPi = 3.14159265358979323846;
constexpr double kStep = kPi / 10.0;

Vec sub(const Vec& a, const Vec& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec add(const Vec& a, const Vec& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
Vec scale(const Vec& a, double s) {
    return {a[0] * s, a[1] * s, a[2] * s};
}
double dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec unit(const Vec& a) {
    return scale(a, 1.0 / std::sqrt(dot(a, a)));
}

// Point on the unit sphere at `polar` from the vertex and `azimuth` from the front, to the right.
Vec spherical(double polar, double azimuth) {
    return {std::sin(polar) * std::sin(azimuth), std::sin(polar) * std::cos(azimuth),
            std::cos(polar)};
}

// Centre of the circle through a, b and c.
Vec circumcentre(const Vec& a, const Vec& b, const Vec& c) {
    const Vec ab = sub(b, a), ac = sub(c, a), n = cross(ab, ac);
    const Vec t = add(scale(cross(n, ab), dot(ac, ac)), scale(cross(ac, n), dot(ab, ab)));
    return add(a, scale(t, 1.0 / (2.0 * dot(n, n))));
}

// Rotate v about the unit axis k by angle (Rodrigues).
Vec rotate(const Vec& v, const Vec& k, double angle) {
    return add(add(scale(v, std::cos(angle)), scale(cross(k, v), std::sin(angle))),
               scale(k, dot(k, v) * (1.0 - std::cos(angle))));
}

struct Builder {
    double radius;
    std::vector<CSensorLayout::Channel> out;

    void put(const std::string& label, const Vec& p) {
        CSensorLayout::Channel c;
        c.label = label;
        for (int k = 0; k < 3; ++k)
            c.pos[k] = p[k] * radius;
        out.push_back(c);
    }

    // One side's electrodes of a ring at `polar`, at azimuth steps of 18 degrees from `first`.
    void ring(double polar, int first, const char* const* left, const char* const* right, int n) {
        for (int i = 0; i < n; ++i) {
            put(left[i], spherical(polar, -(first + i) * kStep));
            put(right[i], spherical(polar, (first + i) * kStep));
        }
    }

    // The row from left ring point through the midline to its mirror image, in eight parts.
    void row(const std::string& prefix, double azimuth, double midPolar) {
        const Vec a = spherical(4.0 * kStep, -azimuth);
        const Vec m = spherical(midPolar, 0.0);
        const Vec b = spherical(4.0 * kStep, azimuth);
        const Vec c = circumcentre(a, m, b);
        const Vec ra = sub(a, c), rm = sub(m, c);
        const Vec axis = unit(cross(ra, rm));
        const double half = std::acos(std::clamp(dot(ra, rm) / dot(ra, ra), -1.0, 1.0));
        const char* const names[9] = {"", "5", "3", "1", "z", "2", "4", "6", ""};
        // The ends lie on the 10 % ring, which is placed already.
        for (int i = 1; i < 8; ++i)
            put(prefix + names[i], add(c, rotate(ra, axis, half * i / 4.0)));
    }
};

} // namespace

std::vector<CSensorLayout::Channel> makeEeg1010Channels(double radius) {
    Builder b{radius, {}};
    // The 10 % ring (polar 72 degrees) carries Fp, the outer electrodes and O.
    static const char* const ringL[] = {"Fp1", "AF7", "F7", "FT7", "T7", "TP7", "P7", "PO7", "O1"};
    static const char* const ringR[] = {"Fp2", "AF8", "F8", "FT8", "T8", "TP8", "P8", "PO8", "O2"};
    b.put("Fpz", spherical(4.0 * kStep, 0.0));
    b.ring(4.0 * kStep, 1, ringL, ringR, 9);
    b.put("Oz", spherical(4.0 * kStep, kPi));
    // The equator carries the inferior electrodes.
    static const char* const lowL[] = {"AF9", "F9", "FT9", "T9", "TP9", "P9", "PO9", "I1"};
    static const char* const lowR[] = {"AF10", "F10", "FT10", "T10", "TP10", "P10", "PO10", "I2"};
    b.put("Nz", spherical(5.0 * kStep, 0.0));
    b.ring(5.0 * kStep, 2, lowL, lowR, 8);
    b.put("Iz", spherical(5.0 * kStep, kPi));
    // Inner rows end at ring electrodes AF7/8 ... PO7/8; their midline electrode lies
    // (3 - i) steps from the vertex, negative meaning backwards.
    static const char* const rows[] = {"AF", "F", "FC", "C", "CP", "P", "PO"};
    for (int i = 0; i < 7; ++i)
        b.row(rows[i], (i + 2) * kStep, (3 - i) * kStep);
    return b.out;
}
