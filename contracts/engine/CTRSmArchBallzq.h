// Arc-ball world transform: a rotation dragged with the mouse, a zoom factor and a pan.
#pragma once

class CTRSmArchBallzq {
public:
    // Back to no rotation, zoom 1, no pan.
    void reset();
    // Rotates as if the drag (dx, dy pixels, y down) rolled a ball that fills the view.
    // Ignored for a view without area or non-finite input.
    void rotateByMouse(float dx, float dy, float viewWidth, float viewHeight);
    // Multiplies the zoom by factor (kept within 1e-3 .. 1e3); non-positive factors are ignored.
    void zoomBy(float factor);
    // Moves the scene by (dx, dy) in fractions of the view (x right, y up).
    void panBy(float dx, float dy);
    // The rotation as a column-major 4x4 matrix.
    void getRotation(float out[16]) const;

    float m_quat[4] = {0, 0, 0, 1}; // x, y, z, w; kept normalised
    float m_zoom = 1.0f;
    float m_pan[2] = {0, 0};
};
