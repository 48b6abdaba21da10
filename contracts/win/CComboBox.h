// CComboBox: a drop-down list with item data. Programmatic selection sends no notification;
// a user's pick sends CBN_SELCHANGE to the parent.
#pragma once

#include "win/CWnd.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Appends (sorted into place with CBS_SORT); the new index, or CB_ERR.
    int AddString(LPCTSTR lpszString);
    // Inserts at nIndex, -1 appends; the new index or CB_ERR for an index beyond the count.
    int InsertString(int nIndex, LPCTSTR lpszString);
    // Remaining count, or CB_ERR.
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    // Selects nSelect (-1 clears the selection); nSelect, or CB_ERR when out of range.
    int SetCurSel(int nSelect);
    int GetCurSel() const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
};
