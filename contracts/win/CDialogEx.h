// CDialogEx: the dialog class the display library's dialogs derive from; adds a background colour.
#pragma once

#include "win/CDialog.h"

class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    CDialogEx() = default;
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : CDialog(nIDTemplate, pParentWnd) {}

    void SetBackgroundColor(COLORREF color, BOOL bRepaint = TRUE);

protected:
    DECLARE_MESSAGE_MAP()
};
