// CWnd: a window of the window layer. Each window owns (or, subclassed, borrows) one native
// widget; native events arrive as Windows messages, go through PreTranslateMessage up the
// parent chain and then through the message map, as on Windows.
#pragma once

#include "win/CCmdTarget.h"
#include "win/CRect.h"
#include "win/CString.h"
#include "win/WinDefs.h"

#include <memory>

#define afx_msg

class CDC;
class CMenu;
class CScrollBar;
class CWndImpl;

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    // Non-null while the window exists; identifies its native widget.
    HWND m_hWnd = nullptr;

    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // A plain window: a child of pParentWnd (WS_CHILD) or, without parent, a top-level window.
    // The class name is accepted and ignored.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL DestroyWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hWnd);
    // Makes this object the window of dialog item nID of pParent (replacing the item's
    // default object); its message map handles the item's messages from now on.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwner);
    CWnd* GetTopLevelParent() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL SetForegroundWindow();
    void BringWindowToTop();
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // Screen coordinates; for a top-level window the frame's, title bar and borders included.
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    // Children: rectangle in the parent's client coordinates; top-level: screen coordinates of
    // the frame, as GetWindowRect reports it (the client area is what the frame leaves).
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // The child whose rectangle holds the point (client coordinates), this window when none
    // does, null when the point lies outside the client area.
    CWnd* ChildWindowFromPoint(POINT point) const;

    // Marks the area invalid; one WM_PAINT follows while any part of the window is invalid.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    // Paints now (WM_PAINT sent at once) if part of the window is invalid.
    void UpdateWindow();

    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    CWnd* GetDlgItem(int nID) const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nID, UINT nCheck);
    UINT IsDlgButtonChecked(int nID) const;

    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Starts (or restarts) timer nIDEvent; WM_TIMER arrives every nElapse milliseconds (kept
    // within USER_TIMER_MINIMUM..USER_TIMER_MAXIMUM). Returns nIDEvent, 0 without a window.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);

    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    // Shows the menu as the window's menu bar (a top-level window); picks arrive as WM_COMMAND.
    BOOL SetMenu(CMenu* pMenu);
    CMenu* GetMenu() const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queued: delivered from the event loop through PreTranslateMessage, as posted messages are.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to PreTranslateMessage of its window and each parent up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);
    // The message being handled, or null outside a handler.
    const MSG* GetCurrentMessage() const;

    // Internal: the native side of this window (library use only).
    CWndImpl* GetImpl() const { return m_impl.get(); }

protected:
    friend class CWndImpl;
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the current message.
    LRESULT Default();
    virtual void PostNcDestroy() {}

    afx_msg void OnPaint();
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

private:
    BOOL DispatchEntry(const AFX_MSGMAP_ENTRY* entry, WPARAM wParam, LPARAM lParam,
                       LRESULT* pResult);
    std::unique_ptr<CWndImpl> m_impl;
};
