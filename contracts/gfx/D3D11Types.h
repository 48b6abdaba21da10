// Enumerations and descriptor records of the Direct3D-11-shaped graphics layer.
#pragma once

#include <cstddef>

enum D3D11_PRIMITIVE_TOPOLOGY : int {
    D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED = 0,
    D3D11_PRIMITIVE_TOPOLOGY_POINTLIST = 1,
    D3D11_PRIMITIVE_TOPOLOGY_LINELIST = 2,
    D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP = 3,
    D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST = 4,
    D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP = 5,
    // Not in Direct3D 11; kept because the engine's shapes and callers still use fans.
    D3D11_PRIMITIVE_TOPOLOGY_TRIANGLEFAN = 0x100,
};

enum D3D11_BIND_FLAG : unsigned {
    D3D11_BIND_VERTEX_BUFFER = 0x1,
    D3D11_BIND_CONSTANT_BUFFER = 0x4,
};

enum D3D11_FILL_MODE : int { D3D11_FILL_WIREFRAME = 2, D3D11_FILL_SOLID = 3 };
enum D3D11_CULL_MODE : int { D3D11_CULL_NONE = 1, D3D11_CULL_FRONT = 2, D3D11_CULL_BACK = 3 };

struct D3D11_BUFFER_DESC {
    std::size_t ByteWidth = 0;
    unsigned BindFlags = 0;
};

// Byte range of a buffer for partial updates (only left and right are used for buffers).
struct D3D11_BOX {
    unsigned left = 0, top = 0, front = 0, right = 0, bottom = 1, back = 1;
};

// One vertex attribute: float components at a byte offset. Element i becomes shader input i.
struct D3D11_INPUT_ELEMENT_DESC {
    const char* SemanticName = nullptr;
    unsigned SemanticIndex = 0;
    unsigned Components = 4;
    unsigned InputSlot = 0;
    unsigned AlignedByteOffset = 0;
};

struct D3D11_VIEWPORT {
    float TopLeftX = 0, TopLeftY = 0, Width = 0, Height = 0, MinDepth = 0, MaxDepth = 1;
};

struct D3D11_RASTERIZER_DESC {
    D3D11_FILL_MODE FillMode = D3D11_FILL_SOLID;
    D3D11_CULL_MODE CullMode = D3D11_CULL_NONE;
    bool FrontCounterClockwise = true;
    bool DepthEnable = true;
};
