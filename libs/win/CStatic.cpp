// CStatic: labels, frames and the picture of a 3D view.
#include "win/CStatic.h"

#include "CWndImpl.h"
#include "ControlFactory.h"
#include "ResourceRegistry.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <bit>
#include <cstring>

IMPLEMENT_DYNAMIC(CStatic, CWnd)

namespace {

// Four pixels at a time: the compiler's vector code without a vectorising optimisation level.
typedef std::uint32_t PixelBlock __attribute__((vector_size(16)));

template <typename T>
T redBlueSwapped(T rgba) {
    return (rgba & 0xFF00FF00u) | ((rgba & 0xFFu) << 16) | ((rgba >> 16) & 0xFFu);
}

// An opaque frame (every frame of a 3D view is) goes straight into the picture, red and blue
// swapped, without the painter's conversion and its worker threads. False when the picture
// cannot take the frame that way or a pixel is not opaque; the frame must then be drawn over
// what this wrote.
bool copyOpaqueFrame(const std::uint32_t* rgba, int width, int height, QImage& picture,
                     const QPainter* active) {
    static_assert(std::endian::native == std::endian::little);
    if (picture.format() != QImage::Format_ARGB32_Premultiplied || !picture.isDetached() ||
        (active && (active->hasClipping() || !active->transform().isIdentity())))
        return false;
    const int w = std::min(width, picture.width()), h = std::min(height, picture.height());
    PixelBlock blocks = {~0u, ~0u, ~0u, ~0u};
    std::uint32_t alpha = ~0u;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* s = rgba + static_cast<std::ptrdiff_t>(y) * width;
        auto* d = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
        int x = 0;
        for (; x + 4 <= w; x += 4) {
            PixelBlock p;
            std::memcpy(&p, s + x, sizeof p);
            blocks &= p;
            p = redBlueSwapped(p);
            std::memcpy(d + x, &p, sizeof p);
        }
        for (; x < w; ++x) {
            alpha &= s[x];
            d[x] = redBlueSwapped(s[x]);
        }
    }
    alpha &= blocks[0] & blocks[1] & blocks[2] & blocks[3];
    return alpha >> 24 == 0xFFu;
}

} // namespace

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    QWidget* parent = ControlFactory::parentWidget(pParentWnd);
    if (m_hWnd || !parent) {
        return FALSE;
    }
    auto* label = new QLabel(parent);
    if (dwStyle & WS_BORDER) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    return ControlFactory::adopt(this, label, WndKind::Static, dwStyle, rect, nID,
                                 CString(lpszText));
}

HICON CStatic::SetIcon(HICON hIcon) {
    HICON previous = GetImpl()->icons[0];
    GetImpl()->icons[0] = hIcon;
    auto* label = qobject_cast<QLabel*>(GetImpl()->widget());
    const ImageRecord* r = ResourceRegistry::instance().record(hIcon);
    if (label && r && !r->image.isNull()) {
        label->setPixmap(QPixmap::fromImage(r->image));
    }
    return previous;
}

HICON CStatic::GetIcon() const {
    return GetImpl()->icons[0];
}

BOOL CStatic::SetFrameImage(const std::uint32_t* rgba, int width, int height) {
    if (!rgba || width <= 0 || height <= 0 || width > 32768 || height > 32768 || !m_hWnd) {
        return FALSE;
    }
    CWndImpl* impl = GetImpl();
    if (copyOpaqueFrame(rgba, width, height, impl->picture(), impl->picturePainter())) {
        return TRUE;
    }
    impl->pictureOpaque() = false;
    const QImage frame(reinterpret_cast<const uchar*>(rgba), width, height,
                       static_cast<qsizetype>(width) * 4, QImage::Format_RGBA8888);
    if (QPainter* active = impl->picturePainter()) {
        active->save();
        active->setCompositionMode(QPainter::CompositionMode_Source);
        active->drawImage(0, 0, frame);
        active->restore();
        return TRUE;
    }
    QPainter p(&impl->picture());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, frame);
    return TRUE;
}
