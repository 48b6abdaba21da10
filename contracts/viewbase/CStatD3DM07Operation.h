// Operation layer: mouse drags, the wheel and arrow keys turn, zoom and move the scene, or
// scale the sensor glyphs, by the operation mode; each mode shows its own cursor.
#pragma once

#include "viewbase/CStatD3DM06Pick.h"

class CStatD3DM07Operation : public CStatD3DM06Pick {
public:
    // A drag moved to point (client coordinates) from the last mouse point: rotate (modes 300
    // and 301), zoom (302: up enlarges), move (303) or scale the glyphs (407: up enlarges).
    // The last point becomes point. Nonzero when the scene changed.
    int mouseMoveSns(CPoint point);
    // Wheel: zoom by 10 % per notch (away from the user enlarges). Nonzero when it zoomed.
    int mouseWheelSns(UINT flags, short delta, CPoint point);
    // Arrow keys turn the scene by 5 degrees, Page Up and Page Down zoom, Home resets the
    // view, when the key is meant for this view or the window holding it. Nonzero when the
    // message was consumed.
    int preTranslateMessage(MSG* msg);
    // Standard cursor id of an operation mode (IDC_...), 0 for a mode not of this layer.
    static UINT cursorId4Mode(int mode);

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // Turns the scene as a drag of (dx, dy) pixels would.
    int rotateByPixels(float dx, float dy);
};
