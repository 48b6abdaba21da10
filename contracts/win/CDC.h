// CDC: a device context that draws text, filled rectangles and images onto a window's picture.
#pragma once

#include "win/CObject.h"
#include "win/CRect.h"
#include "win/CString.h"

#include <cstdint>
#include <memory>

class CWnd;
class CDCImpl;

class CDC : public CObject {
public:
    CDC();
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC hDC);

    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    // OPAQUE (default): text cells are filled with the background colour; TRANSPARENT: not.
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    // Text from now on in the window's font at scale times its size (0.25 to 8; other values
    // change nothing); the previous scale.
    double SetTextScale(double scale);
    // Extent of the text in the window's font, in pixels.
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const;
    // Draws with the top-left corner of the text cell at (x, y).
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const CString& str);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // Draws an image (the pixel layout of CStatic::SetFrameImage) at (x, y).
    BOOL DrawImageRGBA(int x, int y, int width, int height, const std::uint32_t* rgba);

    // Internal: the drawing side (library use only).
    CDCImpl* GetImpl() const { return m_impl.get(); }

protected:
    // Starts drawing on the picture of pWnd; FALSE without a window.
    BOOL AttachToWindow(CWnd* pWnd);
    void Detach();

private:
    std::unique_ptr<CDCImpl> m_impl;
};
