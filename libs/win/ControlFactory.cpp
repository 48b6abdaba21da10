// ControlFactory: shared steps of creating a control at run time.
#include "ControlFactory.h"

BOOL ControlFactory::adopt(CWnd* control, QWidget* widget, WndKind kind, DWORD style,
                           const RECT& rect, UINT nID, const CString& text) {
    CWndImpl::registerWidget(widget, kind, static_cast<int>(nID), style, 0);
    widget->setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    widget->setEnabled(!(style & WS_DISABLED));
    widget->setVisible(style & WS_VISIBLE);
    CWndImpl::wireNotifications(widget);
    control->GetImpl()->attach(widget, widget, true);
    control->SetWindowText(text);
    return TRUE;
}

QWidget* ControlFactory::parentWidget(CWnd* pParent) {
    return pParent && pParent->m_hWnd ? pParent->GetImpl()->widget() : nullptr;
}
