// CStatic: labels, frames and the picture of a 3D view.
#include "win/CStatic.h"

#include "ControlFactory.h"
#include "ResourceRegistry.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

IMPLEMENT_DYNAMIC(CStatic, CWnd)

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
    const QImage frame(reinterpret_cast<const uchar*>(rgba), width, height,
                       static_cast<qsizetype>(width) * 4, QImage::Format_RGBA8888);
    if (QPainter* active = GetImpl()->picturePainter()) {
        active->save();
        active->setCompositionMode(QPainter::CompositionMode_Source);
        active->drawImage(0, 0, frame);
        active->restore();
        return TRUE;
    }
    QPainter p(&GetImpl()->picture());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, frame);
    return TRUE;
}
