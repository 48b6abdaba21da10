// ControlFactory: creates a control's native widget as a child of a window (CButton::Create
// and the other controls' Create).
#pragma once

#include "CWndImpl.h"

class ControlFactory {
public:
    // Registers, wires and attaches `widget` to `control` as child nID of pParent; FALSE (and
    // the widget deleted) when the parent has no window.
    static BOOL adopt(CWnd* control, QWidget* widget, WndKind kind, DWORD style, const RECT& rect,
                      UINT nID, const CString& text);
    static QWidget* parentWidget(CWnd* pParent);
};
