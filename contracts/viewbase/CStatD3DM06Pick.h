// Pick layer: the sensor under a point of the view (a ray from the eye through the pixel
// against each sensor glyph's bounding sphere) becomes the current channel.
#pragma once

#include "viewbase/CStatD3DM04FidPts.h"

class CStatD3DM06Pick : public CStatD3DM04FidPts {
public:
    // Forgets the last pick. Returns 1.
    int cleanD3DPick();
    // Picks the nearest sensor of the view's channel type whose glyph the ray through point
    // (client coordinates) meets; its channel becomes the trial's current channel and
    // m_pickChn. 0 when no sensor is hit (nothing changes) or there is no scene or trial.
    int pick3DSnsr02(CPoint point);
    // Client-area position of a point of the scene (metres); 0 when it lies behind the eye or
    // there is no scene.
    int scene2ClientPoint(const double xyz[3], double& px, double& py) const;

protected:
    // Bounding radius of a sensor glyph of the view's channel type.
    double glyphRadius() const;
};
