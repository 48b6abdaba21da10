// Vertex buffer layer holding the world-view-projection constants of its draws.
#pragma once

#include "engine/CMVB.h"

class CMVB03Dx : public CMVB {
public:
    ~CMVB03Dx() override;

    // Recomputes the constants from the engine's camera and world rotation (times m_model);
    // nonzero bApply also uploads them and binds them for the next draw. 0 without engine.
    int updateCnstBuf4Wvp(int bApply);

    // Object transform applied before the world transform (column-major, identity at start).
    float m_model[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // Last computed constants: projection * view * world * model, then world-view * model.
    float m_wvp[16] = {};
    float m_wv[16] = {};
    ID3D11Buffer* m_pCBWvp = nullptr;

protected:
    void releaseDeviceObjects() override;
};
