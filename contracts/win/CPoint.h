// CPoint: a point in pixels, as MFC's.
#pragma once

#include "win/WinDefs.h"

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(POINT p) : POINT(p) {}
    // The packed coordinates of a mouse message.
    explicit CPoint(LPARAM packed) : POINT{GET_X_LPARAM(packed), GET_Y_LPARAM(packed)} {}

    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
    bool operator!=(const POINT& o) const { return !(*this == o); }
    CPoint operator+(const POINT& o) const { return {x + o.x, y + o.y}; }
    CPoint operator-(const POINT& o) const { return {x - o.x, y - o.y}; }
    CPoint& operator+=(const POINT& o) {
        Offset(o.x, o.y);
        return *this;
    }
    CPoint& operator-=(const POINT& o) {
        Offset(-o.x, -o.y);
        return *this;
    }
};
