// The sensor-scene control that views derive from; its message map routes size, mouse,
// wheel, cursor and paint messages to the layers.
#pragma once

#include "viewbase/CStatD3DM08Show.h"

class CStatD3DMzq : public CStatD3DM08Show {
    DECLARE_DYNAMIC(CStatD3DMzq)
public:
    CStatD3DMzq() = default;

    // Cursor of the operation mode while the mouse is over this view. FALSE for another
    // window or a mode without a cursor of its own (default handling then applies).
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    DECLARE_MESSAGE_MAP()
};
