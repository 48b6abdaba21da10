// Engine layer: camera, projection and the view angle.
//
// The view angle is the eye's elevation in degrees, turning the world about the x axis:
// 0 looks along -z with y up (from the side of a surface whose height is y), -90 looks straight
// down the y axis (a height field from above, x to the right), +90 from below.
#pragma once

#include "engine/CETUPcamerazq.h"
#include "engine/CM3D02Rsc03Coordinates.h"

class CM3D02Rsc04WorldViewProjectTRS : public CM3D02Rsc03Coordinates {
public:
    // Camera for the next draws: cam, or the engine's own when null. Uploads the constants.
    int setVPCamera(CETUPcamerazq* cam);
    void getViewMatrix(float out[16]) const;
    void getProjMatrix(float out[16]) const;
    // wvp = projection * view * world * model and wv = view * world * model; model may be null.
    void computeWvp(const float* model, float wvp[16], float wv[16]) const;
    // Uploads the engine's own constants (identity model) and binds them to VS slot 0.
    int updateCnstBufWvp();

    CETUPcamerazq m_camera;
    float m_viewAngle = 0.0f;

protected:
    CETUPcamerazq m_cameraInUse;
    int m_useOwnCamera = 1;
};
