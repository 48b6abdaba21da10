// Point record of the hull: a sensor position with the numbers that say where it came from.
#pragma once

struct R3 {
    int id = 0;     // running number of the point in its input list
    float x = 0.0f; // position
    float y = 0.0f;
    float z = 0.0f;
    int chIdx = 0; // channel index the point belongs to
};

static_assert(sizeof(R3) == 20, "R3 is five 4-byte fields");
