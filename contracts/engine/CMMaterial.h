// Surface material: colour and the diffuse/ambient/specular factors of the lighting.
#pragma once

#include <cstdint>

class CMMaterial {
public:
    // Factors in 0..1 (clamped; NaN counts as 0); the colour becomes a neutral grey.
    int initMaterialDAS(float diffuse, float ambient, float specular);
    // Colour from red bits 0-7, green 8-15, blue 16-23; alpha 1. Factors stay.
    int initMaterialColorDAS(const std::uint32_t& color);

    float m_color[4] = {0.75f, 0.75f, 0.75f, 1.0f}; // RGBA 0..1
    float m_diffuse = 1.0f;
    float m_ambient = 1.0f;
    float m_specular = 0.3f;
    float m_power = 24.0f; // specular exponent
};
