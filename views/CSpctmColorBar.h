// The colour bar over a 3D view: the palette the renderer colours with, left to right, with the
// values of its ends (and of its middle for a signed palette) under it, at the bottom right.
#pragma once

#include "win/CString.h"

class CDC;
class CRect;
class CMEGSpctm3DRndzq;

class CSpctmColorBar {
public:
    // Draws the bar for the renderer's current colour scale into the client rectangle; draws
    // nothing when the view is too small to hold it.
    static void draw(CDC& dc, const CRect& client, const CMEGSpctm3DRndzq& rnd);

    // The numbers drawn under the bar: its left and right ends, and its middle (empty for a
    // one-sided palette); all empty when there is no palette to draw.
    struct Numbers {
        CString left, middle, right;
    };
    static Numbers numbers(const CMEGSpctm3DRndzq& rnd);
};
