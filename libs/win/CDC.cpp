// CDC: text, rectangles and images drawn onto a window's picture.
#include "win/CDC.h"

#include "CDCImpl.h"
#include "CWndImpl.h"

#include <QFontMetrics>
#include <algorithm>
#include <utility>

CDC::CDC() : m_impl(std::make_unique<CDCImpl>()) {}

CDC::~CDC() {
    Detach();
}

double CDC::SetTextScale(double scale) {
    const double previous = m_impl->scale;
    if (!(scale >= 0.25 && scale <= 8.0))
        return previous;
    m_impl->scale = scale;
    m_impl->font = m_impl->windowFont;
    if (m_impl->windowFont.pointSizeF() > 0)
        m_impl->font.setPointSizeF(m_impl->windowFont.pointSizeF() * scale);
    else if (m_impl->windowFont.pixelSize() > 0)
        m_impl->font.setPixelSize(
            std::max(1, static_cast<int>(m_impl->windowFont.pixelSize() * scale)));
    if (m_impl->painter)
        m_impl->painter->setFont(m_impl->font);
    return previous;
}

CDC* CDC::FromHandle(HDC hDC) {
    return reinterpret_cast<CDC*>(hDC);
}

BOOL CDC::AttachToWindow(CWnd* pWnd) {
    CWndImpl* w = CWndImpl::of(pWnd);
    if (!w || !w->widget()) {
        return FALSE;
    }
    m_impl->font = w->widget()->font();
    m_impl->windowFont = m_impl->font;
    m_impl->scale = 1.0;
    m_impl->painter = std::make_unique<QPainter>(&w->picture());
    m_impl->painter->setFont(m_impl->font);
    m_impl->window = w;
    w->picturePainter() = m_impl->painter.get();
    m_hDC = reinterpret_cast<HDC>(this);
    return TRUE;
}

void CDC::Detach() {
    if (m_impl->window && m_impl->window->picturePainter() == m_impl->painter.get()) {
        m_impl->window->picturePainter() = nullptr;
    }
    m_impl->window = nullptr;
    m_impl->painter.reset();
    m_hDC = nullptr;
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return std::exchange(m_impl->textColor, crColor);
}

COLORREF CDC::GetTextColor() const {
    return m_impl->textColor;
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return std::exchange(m_impl->bkColor, crColor);
}

COLORREF CDC::GetBkColor() const {
    return m_impl->bkColor;
}

int CDC::SetBkMode(int nBkMode) {
    return std::exchange(m_impl->bkMode, nBkMode == TRANSPARENT ? TRANSPARENT : OPAQUE);
}

int CDC::GetBkMode() const {
    return m_impl->bkMode;
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    if (!lpszString || nCount <= 0) {
        return CSize(0, QFontMetrics(m_impl->font).height());
    }
    const QFontMetrics fm(m_impl->font);
    const QString s = QString::fromUtf16(lpszString, nCount);
    return CSize(fm.horizontalAdvance(s), fm.height());
}

CSize CDC::GetTextExtent(const CString& str) const {
    return GetTextExtent(str.GetString(), str.GetLength());
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
    QPainter* p = m_impl->painter.get();
    if (!p || !lpszString || nCount < 0) {
        return FALSE;
    }
    const QString s = QString::fromUtf16(lpszString, nCount);
    const QFontMetrics fm(m_impl->font);
    if (m_impl->bkMode == OPAQUE) {
        p->fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()),
                    CDCImpl::color(m_impl->bkColor));
    }
    p->setPen(CDCImpl::color(m_impl->textColor));
    p->drawText(QPoint(x, y + fm.ascent()), s);
    return TRUE;
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return TextOut(x, y, str.GetString(), str.GetLength());
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (lpRect) {
        FillSolidRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                      lpRect->bottom - lpRect->top, clr);
    }
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    if (m_impl->painter) {
        m_impl->painter->fillRect(QRect(x, y, cx, cy), CDCImpl::color(clr));
    }
    m_impl->bkColor = clr;
}

BOOL CDC::DrawImageRGBA(int x, int y, int width, int height, const std::uint32_t* rgba) {
    if (!m_impl->painter || !rgba || width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        return FALSE;
    }
    const QImage image(reinterpret_cast<const uchar*>(rgba), width, height,
                       static_cast<qsizetype>(width) * 4, QImage::Format_RGBA8888);
    m_impl->painter->drawImage(x, y, image);
    return TRUE;
}
