// The colour bar over a 3D view: the palette the renderer colours with, left to right, at the
// bottom right, with what the values are and their unit above it, and under it tick marks at
// round 1-2-5 values and the values of its ends (and 0 in the middle of a signed bar, whose
// halves run from -upper to -lower and from lower to upper).
#pragma once

#include "win/CRect.h"
#include "win/CString.h"

class CDC;
class CMEGSpctm3DRndzq;

class CSpctmColorBar {
public:
    // Where the bar with its caption and labels goes in the client rectangle; empty when the
    // view is too small to hold it.
    static CRect area(CDC& dc, const CRect& client);
    // Draws the bar for the renderer's current colour scale, its values those of the data
    // component in unit (no caption for a component below 0). Draws nothing when the view is
    // too small to hold it.
    static void draw(CDC& dc, const CRect& client, const CMEGSpctm3DRndzq& rnd, int component,
                     const CString& unit);

    // What the bar's values are, in the unit with the prefix that fits the size of its ends
    // ("Power (µV²)" over a range up to 6.7e-9 V²); *factor gets what the ends are divided by
    // to be shown in it. Empty for a component below 0.
    static CString caption(const CMEGSpctm3DRndzq& rnd, int component, const CString& unit,
                           double* factor);

    // The numbers at the bar's ends and middle ("0" for a signed bar, empty for a one-sided
    // one), divided by factor, as drawn; all empty when there is no palette to draw.
    struct Numbers {
        CString left, middle, right;
    };
    static Numbers numbers(const CMEGSpctm3DRndzq& rnd, double factor = 1.0);
};
