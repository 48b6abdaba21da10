// The vertex record of every surface: position, normal and colour as four floats each.
#pragma once

// Position w is 1; colour is RGBA in 0..1. The layout is what the input layout binds.
struct D3DVTX_PNCd {
    float pos[4];
    float nml[4];
    float clr[4];
};

static_assert(sizeof(D3DVTX_PNCd) == 48, "D3DVTX_PNCd must stay 48 bytes: shaders bind it as such");
