// CButton: push button, check box, radio button, group box or icon button.
#pragma once

#include "win/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;

    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // BST_CHECKED, BST_UNCHECKED (BST_INDETERMINATE for three-state boxes).
    int GetCheck() const;
    // Programmatic: sends no BN_CLICKED.
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};
