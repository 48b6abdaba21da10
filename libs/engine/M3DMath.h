// Column-major 4x4 matrix helpers of the engine (GL conventions, clip z in -1..1).
#pragma once

#include <initializer_list>

namespace m3dmath {

void identity(float m[16]);
// out = a * b; out may alias neither input.
void multiply(const float a[16], const float b[16], float out[16]);
void translation(float x, float y, float z, float m[16]);
void scaling(float s, float m[16]);
void rotationX(float degrees, float m[16]);
void perspective(float fovYDeg, float aspect, float zNear, float zFar, float m[16]);
// out = a * b for a chain of matrices, applied right to left as in the shaders.
void chain(std::initializer_list<const float*> factors, float out[16]);

} // namespace m3dmath
