// Engine layer: frames. rendB binds the target, clears it and sets the engine's pipeline;
// show reads the frame back into the image that getImage returns.
#pragma once

#include "engine/CM3D02Rsc07aOutputMerg.h"

#include <cstdint>
#include <functional>

class CM3D02Rsc08Render : public CM3D02Rsc07aOutputMerg {
public:
    int rendB();
    int rendE();
    // Receives every presented frame (rows top to bottom, red in the low byte), as a swap
    // chain hands its frames to the window it was made for.
    using PresentSink = std::function<void(const std::uint32_t* rgba, int width, int height)>;

    // Presents the frame: reads it back into the image and hands it to the present sink.
    // Both arguments are ignored (a frame has one target here).
    int show(int syncInterval, void* window);
    // The window side of presenting; an empty sink leaves frames in the image only.
    void setPresentSink(PresentSink sink);
    // Unbinds the target; it is kept for the next frame.
    int releaseTargetSCB(int flags);

    int m_inFrame = 0;

private:
    PresentSink m_presentSink;
};
