// Arc-ball rotation, zoom and pan.
#include "engine/CTRSmArchBallzq.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void CTRSmArchBallzq::reset() {
    *this = CTRSmArchBallzq();
}

void CTRSmArchBallzq::rotateByMouse(float dx, float dy, float viewWidth, float viewHeight) {
    const float size = std::min(viewWidth, viewHeight);
    if (!(size > 0) || !std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(size)) {
        return;
    }
    const float len = std::hypot(dx, dy);
    if (len <= 0) {
        return;
    }
    // A drag across the whole view turns the ball half a turn, about the axis perpendicular
    // to the drag in the screen plane (screen y points down).
    const float angle = std::numbers::pi_v<float> * len / size;
    const float ax = dy / len, ay = dx / len, s = std::sin(angle / 2);
    const float r[4] = {ax * s, ay * s, 0, std::cos(angle / 2)};
    const float* q = m_quat;
    float out[4] = {r[3] * q[0] + r[0] * q[3] + r[1] * q[2] - r[2] * q[1],
                    r[3] * q[1] - r[0] * q[2] + r[1] * q[3] + r[2] * q[0],
                    r[3] * q[2] + r[0] * q[1] - r[1] * q[0] + r[2] * q[3],
                    r[3] * q[3] - r[0] * q[0] - r[1] * q[1] - r[2] * q[2]};
    const float norm =
        std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2] + out[3] * out[3]);
    for (int i = 0; i < 4; ++i) {
        m_quat[i] = out[i] / norm;
    }
}

void CTRSmArchBallzq::zoomBy(float factor) {
    if (factor > 0 && std::isfinite(factor)) {
        m_zoom = std::clamp(m_zoom * factor, 1e-3f, 1e3f);
    }
}

void CTRSmArchBallzq::panBy(float dx, float dy) {
    if (std::isfinite(dx) && std::isfinite(dy)) {
        m_pan[0] = std::clamp(m_pan[0] + dx, -100.0f, 100.0f);
        m_pan[1] = std::clamp(m_pan[1] + dy, -100.0f, 100.0f);
    }
}

void CTRSmArchBallzq::getRotation(float m[16]) const {
    const float x = m_quat[0], y = m_quat[1], z = m_quat[2], w = m_quat[3];
    const float v[16] = {1 - 2 * (y * y + z * z),
                         2 * (x * y + z * w),
                         2 * (x * z - y * w),
                         0,
                         2 * (x * y - z * w),
                         1 - 2 * (x * x + z * z),
                         2 * (y * z + x * w),
                         0,
                         2 * (x * z + y * w),
                         2 * (y * z - x * w),
                         1 - 2 * (x * x + y * y),
                         0,
                         0,
                         0,
                         0,
                         1};
    std::copy(v, v + 16, m);
}
