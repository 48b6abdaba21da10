// Vertex buffer layer that turns the CPU array into device objects ready to draw.
#pragma once

#include "engine/CMVB03Dx.h"

#include <vector>

class CMVB06Rend : public CMVB03Dx {
public:
    ~CMVB06Rend() override;

    // Creates the device buffer and takes the engine's shaders and input layout, then uploads
    // the vertices: all of them when the count or capacity changed, else only changed ranges.
    // 0 without engine, GL context or vertices.
    int makeContent();
    // Binds the buffer's shaders, input layout and device buffer (slot 0, its stride, offset 0)
    // on the engine's immediate context, ready for Draw. 0 without engine or device buffer.
    int bindForDraw();

protected:
    void releaseDeviceObjects() override;

private:
    int uploadChanged();

    std::vector<D3DVTX_PNCd> m_uploaded; // what the device buffer holds now
    long long m_deviceCapacity = 0;
};
