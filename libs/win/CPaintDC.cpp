// CPaintDC: begins painting (erasing first when asked) and validates the window.
#include "win/CPaintDC.h"

#include "CWndImpl.h"

CPaintDC::CPaintDC(CWnd* pWnd) {
    if (!AttachToWindow(pWnd)) {
        return;
    }
    CWndImpl* w = pWnd->GetImpl();
    m_hWnd = pWnd->m_hWnd;
    m_ps.hdc = m_hDC;
    m_ps.fErase = w->erasePending() ? TRUE : FALSE;
    const QRect r = w->invalid().isEmpty() ? w->widget()->rect() : w->invalid().boundingRect();
    m_ps.rcPaint = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    if (w->erasePending()) {
        w->erasePending() = false;
        if (!pWnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_hDC))) {
            m_ps.fErase = TRUE;
        }
    }
    w->invalid() = QRegion();
}

CPaintDC::~CPaintDC() {
    Detach();
}
