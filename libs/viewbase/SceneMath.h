// Small vector and matrix helpers of the sensor scene (column-major 4x4 matrices, as the
// engine keeps them).
#pragma once

#include <array>
#include <vector>

namespace scenemath {

struct Sphere {
    double c[3];
    double r;
};

// Inverse of a 4x4 matrix; false when it is singular or not finite.
bool invert4(const float m[16], float out[16]);
// out = m * (x, y, z, w).
void transform4(const float m[16], const double in[4], double out[4]);
// Model matrix: rotation taking +z to dir (normalised; a zero dir keeps +z), scaled by s,
// then moved to pos.
void orientedModel(const double pos[3], const double dir[3], float s, float out[16]);
double length3(const double v[3]);
bool finite3(const double v[3]);
// Solves the 4x4 system a x = b by Gaussian elimination with pivoting; false when singular.
bool solve4(double a[4][4], double b[4], double x[4]);
// Algebraic least-squares sphere |p - c|^2 = r^2 through the points; false for fewer than four
// points, flat or collinear sets.
bool fitSphere(const std::vector<std::array<double, 3>>& pts, Sphere& out);

} // namespace scenemath
