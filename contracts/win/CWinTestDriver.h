// CWinTestDriver: drives windows headless for tests. Input is delivered as real native events
// to the widget under the point, so it takes the same road as a user's (PreTranslateMessage,
// message map, native control behaviour). Points are in the client coordinates of `wnd`.
#pragma once

#include "win/CPoint.h"
#include "win/CString.h"
#include "win/WinDefs.h"

#include <cstdint>
#include <vector>

class CWnd;
class CComboBox;
class CScrollBar;

class CWinTestDriver {
public:
    // Creates the application object if needed; FALSE when no platform can be opened.
    static BOOL EnsureApplication();
    static void ProcessEvents();

    static void MouseDown(CWnd* wnd, CPoint pt, UINT button = MK_LBUTTON, UINT keys = 0);
    static void MouseMove(CWnd* wnd, CPoint pt, UINT buttons = 0);
    static void MouseUp(CWnd* wnd, CPoint pt, UINT button = MK_LBUTTON, UINT keys = 0);
    // Press at `from`, `steps` moves on the line to `to`, release there.
    static void Drag(CWnd* wnd, CPoint from, CPoint to, int steps = 4);
    // delta in WHEEL_DELTA units (120 per notch, positive away from the user).
    static void Wheel(CWnd* wnd, CPoint pt, short delta, UINT keys = 0);
    // Left click in the middle of the window (a button click, as a user's).
    static void Click(CWnd* wnd);
    // Key press and release (virtual-key code) delivered to wnd, which gets the focus first.
    static void KeyPress(CWnd* wnd, UINT vk);
    // Focuses the edit, selects its text and types `text` over it, key by key.
    static void TypeText(CWnd* edit, LPCTSTR text);
    // Picks item `index` as a user does from the drop-down list.
    static void SelectComboItem(CComboBox* combo, int index);
    // One user action on the bar: SB_LINE*, SB_PAGE*, SB_LEFT/RIGHT, or SB_THUMBTRACK to
    // thumbPos followed by the release (SB_THUMBPOSITION); each ends with SB_ENDSCROLL.
    static void ScrollAction(CScrollBar* bar, UINT sbCode, int thumbPos = 0);
    // Delivers one WM_TIMER of timer id now, as its period ending would; FALSE when wnd has
    // no such timer.
    static BOOL FireTimer(CWnd* wnd, UINT_PTR id);
    static BOOL HasTimer(CWnd* wnd, UINT_PTR id);
    // Period in milliseconds of timer id, 0 when there is none.
    static UINT TimerPeriod(CWnd* wnd, UINT_PTR id);
    // Picks menu item id of wnd's menu bar as a user does; FALSE when there is no such item.
    static BOOL PickMenuItem(CWnd* wnd, UINT id);
    // Paints wnd (its frame with menu bar for a top-level window) into a PNG file.
    static BOOL GrabToPng(CWnd* wnd, const char* path);
    // What wnd's client area shows, one 32-bit colour per pixel (red in the low byte), rows
    // top to bottom; empty without a window.
    static std::vector<std::uint32_t> GrabClient(CWnd* wnd, int* width, int* height);
    // The cursor shown over wnd, as a standard IDC_ id, or 0 for a resource cursor.
    static UINT ShownCursorId(CWnd* wnd);
    static HCURSOR ShownCursor(CWnd* wnd);
};
