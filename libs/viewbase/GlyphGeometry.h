// Glyph meshes that the engine's basic shapes lack.
#pragma once

class CMBasicShape;

namespace glyphgeometry {

// Torus about the z axis: ring radius R, tube radius r, as a triangle list in shape.m_vb
// (the shape keeps no material, so it draws in the engine's current one). 0 for sizes that
// are not positive and finite.
int makeTorus(CMBasicShape& shape, float R, float r, unsigned ringSteps, unsigned tubeSteps);
// Moves every vertex of the shape by dz along z.
void shiftZ(CMBasicShape& shape, float dz);

} // namespace glyphgeometry
