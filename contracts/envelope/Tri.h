// Triangle record of the hull: corners as indices into the unique point list, the neighbours
// across its edges and its outward unit normal.
#pragma once

struct Tri {
    int id = 0;        // index of the triangle in its list
    int keep = 1;      // 1: a facet of the hull
    float area = 0.0f; // triangle area
    int a = 0;         // corners, counter-clockwise seen from outside
    int b = 0;
    int c = 0;
    int ab = -1; // neighbour triangles across edges a-b, b-c and c-a (-1: none)
    int bc = -1;
    int ac = -1;
    float nx = 0.0f; // outward unit normal
    float ny = 0.0f;
    float nz = 0.0f;
};

static_assert(sizeof(Tri) == 48, "Tri is twelve 4-byte fields");
