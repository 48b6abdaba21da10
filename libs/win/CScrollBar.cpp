// CScrollBar: Windows' range, page and position kept on the native bar.
#include "win/CScrollBar.h"

#include "ControlFactory.h"

#include <QScrollBar>

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

QScrollBar* bar(const CWnd* w) {
    return qobject_cast<QScrollBar*>(w->GetImpl()->widget());
}

// The native bar's range is the range of positions Windows allows with this page.
void applyRange(CWndImpl* impl, QScrollBar* b) {
    const int top = impl->sbMax - std::max(static_cast<int>(impl->sbPage) - 1, 0);
    b->setRange(impl->sbMin, std::max(impl->sbMin, top));
    b->setPageStep(std::max(1, static_cast<int>(impl->sbPage)));
}

} // namespace

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    QWidget* parent = ControlFactory::parentWidget(pParentWnd);
    if (m_hWnd || !parent) {
        return FALSE;
    }
    auto* b = new QScrollBar((dwStyle & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
    b->setRange(0, 100);
    return ControlFactory::adopt(this, b, WndKind::ScrollBar, dwStyle, rect, nID, CString());
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL) {
    QScrollBar* b = bar(this);
    if (!b) {
        return;
    }
    GetImpl()->sbMin = nMinPos;
    GetImpl()->sbMax = std::max(nMinPos, nMaxPos);
    applyRange(GetImpl(), b);
}

void CScrollBar::GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const {
    if (lpMinPos) {
        *lpMinPos = GetImpl()->sbMin;
    }
    if (lpMaxPos) {
        *lpMaxPos = GetImpl()->sbMax;
    }
}

int CScrollBar::SetScrollPos(int nPos, BOOL) {
    QScrollBar* b = bar(this);
    if (!b) {
        return 0;
    }
    const int previous = b->value();
    b->setValue(nPos);
    return previous;
}

int CScrollBar::GetScrollPos() const {
    QScrollBar* b = bar(this);
    return b ? b->value() : 0;
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL) {
    QScrollBar* b = bar(this);
    if (!b || !lpScrollInfo) {
        return FALSE;
    }
    CWndImpl* impl = GetImpl();
    if (lpScrollInfo->fMask & SIF_RANGE) {
        impl->sbMin = lpScrollInfo->nMin;
        impl->sbMax = std::max(lpScrollInfo->nMin, lpScrollInfo->nMax);
    }
    if (lpScrollInfo->fMask & SIF_PAGE) {
        // The full int range spans more than an int holds.
        const long long span = static_cast<long long>(impl->sbMax) - impl->sbMin + 1;
        impl->sbPage = static_cast<UINT>(std::min<long long>(lpScrollInfo->nPage, span));
    }
    applyRange(impl, b);
    if (lpScrollInfo->fMask & SIF_POS) {
        b->setValue(lpScrollInfo->nPos);
    }
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) const {
    QScrollBar* b = bar(this);
    if (!b || !lpScrollInfo) {
        return FALSE;
    }
    lpScrollInfo->fMask = nMask;
    lpScrollInfo->nMin = GetImpl()->sbMin;
    lpScrollInfo->nMax = GetImpl()->sbMax;
    lpScrollInfo->nPage = GetImpl()->sbPage;
    lpScrollInfo->nPos = b->value();
    lpScrollInfo->nTrackPos = GetImpl()->sbTrack;
    return TRUE;
}

int CScrollBar::GetScrollLimit() const {
    QScrollBar* b = bar(this);
    return b ? b->maximum() : 0;
}
