// What the graphics sources share: the error text and the one immediate context.
#pragma once

#include <string>

class ID3D11DeviceContext;
class CGfxObject;

// Records why a call failed; gfxLastError returns it.
void gfxSetError(std::string reason);
// The process's immediate context while a device exists, else null.
ID3D11DeviceContext*& gfxImmediateContext();
// Unbinds obj from the immediate context before it goes away.
void gfxForget(const CGfxObject* obj);
