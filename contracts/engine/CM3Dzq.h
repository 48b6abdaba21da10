// The engine that callers instantiate.
#pragma once

#include "engine/CM3D02Rsc08Render.h"

class CWnd;

class CM3Dzq : public CM3D02Rsc08Render {
public:
    // Opens the render-state window for an engine. The engine knows no windows, so the
    // library that owns the window layer installs this at load time.
    using RendStatesDialogFn = int (*)(CM3Dzq* engine, CWnd* parent);

    CM3Dzq();
    // Opens the engine's render-state window; 0 when no window layer has installed one.
    int showDlgM3DRendStates(CWnd* parent);

    static void setRendStatesDialog(RendStatesDialogFn fn);
    // Draws one small frame the way the views draw theirs (a lit triangle strip, a triangle
    // list, unlit lines) and drops it, so that a software rasteriser has generated its code
    // for these states before the first window shows. Once per process; 0 when there is no GL
    // context.
    static int prepareFrames();
    static RendStatesDialogFn getRendStatesDialog();
};
