// CDialogEx: the extended dialog class; adds the background colour.
#include "win/CDialogEx.h"

#include "CWndImpl.h"

#include <QPalette>

IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

BEGIN_MESSAGE_MAP(CDialogEx, CDialog)
END_MESSAGE_MAP()

void CDialogEx::SetBackgroundColor(COLORREF color, BOOL bRepaint) {
    QWidget* w = GetImpl()->widget();
    if (!w) {
        return;
    }
    QPalette p = w->palette();
    p.setColor(QPalette::Window, QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    w->setPalette(p);
    w->setAutoFillBackground(true);
    if (bRepaint) {
        Invalidate(TRUE);
    }
}
