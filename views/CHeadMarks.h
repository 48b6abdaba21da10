// The head's orientation on a contour map: a nose wedge in front of the sensors, a mark
// beside each ear and the letters L and R next to the ears on screen, so that front, left and
// right can be told apart however the scene is turned.
#pragma once

#include "recording/CMEGDatazq.h"
#include "win/CRect.h"

#include <array>
#include <vector>

class CDC;
class CM3Dzq;
class CMVBzq;

class CHeadMarks {
public:
    using Point = std::array<double, 3>;

    // Places the marks for probes at positions in the head frame: the nose just in front of
    // the frontmost probe, the ears just beside the leftmost and rightmost ones. false (and no
    // marks) when the frame is unknown or there is no finite position.
    bool place(const CMEGData::HeadFrame& frame, const std::vector<Point>& positions);
    bool placed() const { return m_placed; }
    // The tip of the nose and the centres of the left and right ear marks.
    const Point& noseTip() const { return m_noseTip; }
    const Point& leftEar() const { return m_ear[0]; }
    const Point& rightEar() const { return m_ear[1]; }

    // The marks as a lit triangle list in a light colour; false without marks or memory.
    bool build(CMVBzq& vb) const;
    // The letters L and R beside the projected ears, inside frame (the 3D frame's client
    // rectangle); nothing without marks.
    void drawLetters(CDC& dc, const CM3Dzq& engine, const CRect& frame) const;
    // Where a scene point lands in a frame of width x height through the engine's camera;
    // false behind the eye.
    static bool toScreen(const CM3Dzq& engine, const Point& p, int width, int height, double& x,
                         double& y);

private:
    bool m_placed = false;
    Point m_front{}, m_right{}, m_up{};
    Point m_noseBase{}, m_noseTip{};
    Point m_ear[2]{};
};
