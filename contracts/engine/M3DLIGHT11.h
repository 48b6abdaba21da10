// A directional light. Colours are RGBA 0..1; the direction is where the light travels, in view
// space (x right, y up, z toward the viewer), so (0, 0, -1) shines straight from the eye.
#pragma once

struct M3DLIGHT11 {
    float ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    float diffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    float specular[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    float direction[4] = {0.0f, 0.0f, -1.0f, 0.0f};
};
