// Show layer: accepting new measurement data and drawing the plain sensor scene (what a view
// without a paint handler of its own shows).
#pragma once

#include "viewbase/CStatD3DM07Operation.h"

class CStatD3DM08Show : public CStatD3DM07Operation {
public:
    // Nonzero when the session has a current trial with a sensor of the view's channel type;
    // the session then becomes the one shown.
    int checkSns3DRnd1(CMEGDatazq* session);
    // Renders and presents one frame of the sensors of the view's channel type. 0 without
    // engine.
    int rendSns3DScene();

protected:
    afx_msg void OnPaint();
};
