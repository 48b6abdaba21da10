// Scene layer: creates the engine and its render target at the control's client size, keeps
// the target at that size, and puts each presented frame into the control's picture, under the
// text that the paint draws afterwards.
#pragma once

#include "viewbase/CStatD3DM.h"
#include "win/CRect.h"

#include <string>

class CStatD3DM00MD3D : public CStatD3DM {
public:
    // Makes the engine and scene for this control (once; later calls refit the target to the
    // client size) and remembers owner as the owner window when given. 0 without a window or
    // when no GL context can be made (the engine then stays null).
    int snsSrc3Dinit(CWnd* owner);
    // Resizes the render target to the client area less the frame margin; 0 without engine or
    // area.
    int checkTargetSize();
    // Pixels at the bottom of the client area that the 3D frame leaves to the view's own
    // text and colour bar (the frame keeps at least one row); the frame is refitted.
    void setFrameMarginBottom(int pixels);
    int getFrameMarginBottom() const { return m_frameMarginBottom; }
    // The client area the 3D frame covers: its top left part, above the margin.
    CRect frameRect() const;
    // Shows the engine's last presented frame in the control; 0 when there is none.
    int presentFrame2Wnd();
    // Why the last snsSrc3Dinit failed ("" after a success).
    const char* getInitError() const { return m_initError.c_str(); }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // Applies the fitted sensor frame to the engine.
    void applySceneFrame();

private:
    std::string m_initError;
    int m_frameMarginBottom = 0;
};
