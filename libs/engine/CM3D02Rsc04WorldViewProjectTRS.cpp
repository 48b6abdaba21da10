// Camera, projection and the view angle.
#include "engine/CM3D02Rsc04WorldViewProjectTRS.h"

#include "M3DMath.h"
#include "gfx/ID3D11DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
float sceneSize(float s) {
    return s > 0 && std::isfinite(s) ? s : 512.0f;
}
float fovY(const CETUPcamerazq& c) {
    return c.m_fovYDeg > 1 && c.m_fovYDeg < 170 ? c.m_fovYDeg : 30.0f;
}
// Eye distance from the scene centre.
float eyeDistance(const CETUPcamerazq& c, float size) {
    if (c.m_distance > 0 && std::isfinite(c.m_distance)) {
        return c.m_distance * size;
    }
    return size / std::sin(fovY(c) * std::numbers::pi_v<float> / 360.0f);
}
} // namespace

int CM3D02Rsc04WorldViewProjectTRS::setVPCamera(CETUPcamerazq* cam) {
    m_useOwnCamera = cam ? 0 : 1;
    if (cam) {
        m_cameraInUse = *cam;
    }
    return updateCnstBufWvp();
}

// Pan and eye distance, then the arc-ball about the eye's axes, then the view angle.
void CM3D02Rsc04WorldViewProjectTRS::getViewMatrix(float out[16]) const {
    const CETUPcamerazq& cam = m_useOwnCamera ? m_camera : m_cameraInUse;
    const CTRSmArchBallzq& trs = worldTRS();
    const float d = eyeDistance(cam, sceneSize(m_sceneSize));
    const float halfH = d * std::tan(fovY(cam) * std::numbers::pi_v<float> / 360.0f);
    const float aspect = static_cast<float>(getTargetWidth()) / getTargetHeight();
    float move[16], ball[16], tilt[16];
    m3dmath::translation(trs.m_pan[0] * 2 * halfH * aspect, trs.m_pan[1] * 2 * halfH, -d, move);
    trs.getRotation(ball);
    m3dmath::rotationX(std::isfinite(m_viewAngle) ? -m_viewAngle : 0.0f, tilt);
    m3dmath::chain({move, ball, tilt}, out);
}

void CM3D02Rsc04WorldViewProjectTRS::getProjMatrix(float out[16]) const {
    const CETUPcamerazq& cam = m_useOwnCamera ? m_camera : m_cameraInUse;
    const float size = sceneSize(m_sceneSize);
    const float d = eyeDistance(cam, size);
    const float reach = 2.0f * size * std::max(worldTRS().m_zoom, 1.0f);
    const float zNear = std::max(d - reach, d * 1e-3f);
    const float aspect = static_cast<float>(getTargetWidth()) / getTargetHeight();
    m3dmath::perspective(fovY(cam), aspect, zNear, d + reach, out);
}

void CM3D02Rsc04WorldViewProjectTRS::computeWvp(const float* model, float wvp[16],
                                                float wv[16]) const {
    float world[16], view[16], proj[16], unit[16];
    m3dmath::identity(unit);
    getWorldMatrix(world);
    getViewMatrix(view);
    getProjMatrix(proj);
    m3dmath::chain({view, world, model ? model : unit}, wv);
    m3dmath::multiply(proj, wv, wvp);
}

int CM3D02Rsc04WorldViewProjectTRS::updateCnstBufWvp() {
    if (!initM3D()) {
        return 0;
    }
    float data[32];
    computeWvp(nullptr, data, data + 16);
    ID3D11Buffer* cb = getConstBuf(kCbWvp);
    getImmediateContext()->UpdateSubresource(cb, 0, nullptr, data, 0, 0);
    getImmediateContext()->VSSetConstantBuffers(0, 1, &cb);
    return 1;
}
