// Small glyphs (sphere, box) as triangle lists, drawn at a position in the scene.
#pragma once

#include "engine/CMMaterialzq.h"
#include "engine/CMVBzq.h"

class CMBasicShape {
public:
    // Sphere of radius r with slices around and stacks pole to pole (at least 3 and 2, at
    // most 1024 each). A null material means the engine's current one at draw time.
    int makeMSphere(float r, unsigned slices, unsigned stacks, CMMaterialzq* material);
    // Box centred on the origin with sides dx, dy, dz.
    int makeMCube(float dx, float dy, float dz, CMMaterialzq* material);
    // Draws the shape centred at pos (null: origin) with the engine's camera and world.
    int rendShape(CM3Dzq* m3d, const float* pos);

    CMVBzq m_vb;
    CMMaterialzq m_material;
    int m_hasMaterial = 0;

private:
    void keepMaterial(CMMaterialzq* material);
};
