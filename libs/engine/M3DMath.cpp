// Matrix helpers of the engine.
#include "M3DMath.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace m3dmath {

void identity(float m[16]) {
    std::memset(m, 0, 16 * sizeof(float));
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

void multiply(const float a[16], const float b[16], float out[16]) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[k * 4 + r] * b[c * 4 + k];
            }
            out[c * 4 + r] = sum;
        }
    }
}

void translation(float x, float y, float z, float m[16]) {
    identity(m);
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

void scaling(float s, float m[16]) {
    identity(m);
    m[0] = m[5] = m[10] = s;
}

void rotationX(float degrees, float m[16]) {
    const float a = degrees * std::numbers::pi_v<float> / 180.0f;
    identity(m);
    m[5] = std::cos(a);
    m[6] = std::sin(a);
    m[9] = -std::sin(a);
    m[10] = std::cos(a);
}

void perspective(float fovYDeg, float aspect, float zNear, float zFar, float m[16]) {
    const float f = 1.0f / std::tan(fovYDeg * std::numbers::pi_v<float> / 360.0f);
    std::memset(m, 0, 16 * sizeof(float));
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0f;
    m[14] = 2.0f * zFar * zNear / (zNear - zFar);
}

void chain(std::initializer_list<const float*> factors, float out[16]) {
    float acc[16], tmp[16];
    identity(acc);
    for (const float* f : factors) {
        multiply(acc, f, tmp);
        std::memcpy(acc, tmp, sizeof acc);
    }
    std::memcpy(out, acc, sizeof acc);
}

} // namespace m3dmath
