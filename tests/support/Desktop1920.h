// Tests that place windows run on a desktop of 1920 x 1080: the offscreen platform takes its
// screen from a configuration file, chosen before the application object is made.
#pragma once

#include "win/afxwin.h"

#include <cstdlib>

struct Desktop1920 {
    Desktop1920() {
        setenv("QT_QPA_PLATFORM",
               "offscreen:configfile=" VELMORA_SOURCE_DIR "/tests/support/desktop-1920x1080.json",
               1);
    }
};

// A window's frame on the screen.
inline CRect rectOf(const CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    return r;
}

inline bool overlap(const CRect& a, const CRect& b) {
    CRect common;
    return common.IntersectRect(a, b) != FALSE;
}

inline bool onDesktop(const CRect& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= 1920 && r.bottom <= 1080;
}
