// CStatic: a static control (label, frame, icon); subclassed, the picture control of a 3D view.
#pragma once

#include "win/CWnd.h"

#include <cstdint>

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;

    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xFFFF);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;

    // Shows an image of width x height pixels, rows top to bottom, each pixel a 32-bit value
    // with red in bits 0-7, green 8-15, blue 16-23, alpha 24-31 (how a rendered frame is read
    // back). The image stays until replaced; CPaintDC drawing in WM_PAINT lands on top of it.
    // FALSE for a null image, a non-positive size or no window.
    BOOL SetFrameImage(const std::uint32_t* rgba, int width, int height);
};
