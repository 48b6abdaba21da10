// GLSL sources of the engine's pipeline for D3DVTX_PNCd vertices.
#pragma once

extern const char* const kEngineVertexShader;
extern const char* const kEnginePixelShader;
