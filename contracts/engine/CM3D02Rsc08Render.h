// Engine layer: frames. rendB binds the target, clears it and sets the engine's pipeline;
// show reads the frame back into the image that getImage returns.
#pragma once

#include "engine/CM3D02Rsc07aOutputMerg.h"

class CM3D02Rsc08Render : public CM3D02Rsc07aOutputMerg {
public:
    int rendB();
    int rendE();
    // Presents the frame: reads it back into the image. Both arguments are ignored (a frame
    // has one target here).
    int show(int syncInterval, void* window);
    // Unbinds the target; it is kept for the next frame.
    int releaseTargetSCB(int flags);

    int m_inFrame = 0;
};
