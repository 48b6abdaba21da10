// Camera set-up: field of view and distance of the eye from the scene centre.
#pragma once

class CETUPcamerazq {
public:
    float m_fovYDeg = 30.0f;
    // Eye distance in units of the scene size; 0 frames a sphere of that radius exactly.
    float m_distance = 0.0f;
};
