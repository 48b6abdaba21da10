// CDialog: a modeless dialog created from a dialog template of a registered resource script.
#pragma once

#include "win/CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Builds the window and its controls from template nIDTemplate (searched in the registered
    // extension modules), runs OnInitDialog, and shows the window if the template says
    // WS_VISIBLE. FALSE when no module has the template. pParentWnd only becomes the owner.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID) override;

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // OK: UpdateData(TRUE), then (only if that succeeded) EndDialog(IDOK).
    virtual void OnOK();
    virtual void OnCancel();
    // Hides the modeless window; the result is kept for the caller.
    void EndDialog(int nResult);
    // Enter presses the default push button (IDOK when none), Escape sends IDCANCEL.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Dialog units to pixels with the template font's base units.
    void MapDialogRect(LPRECT lpRect) const;
    UINT GetTemplateId() const { return m_nIDTemplate; }
    int GetDialogResult() const { return m_nModalResult; }
    DWORD GetDefID() const;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = 0;
};
