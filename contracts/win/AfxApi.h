// Free functions of the window layer: message boxes (through one replaceable hook), cursors,
// icons, capture, and the application object and its event loop.
#pragma once

#include "win/CString.h"
#include "win/WinDefs.h"

#include <cstdint>
#include <functional>
#include <vector>

class CWnd;

// Shows a message box and returns the button pressed (IDOK, IDCANCEL, IDYES, ...).
using AFX_MESSAGEBOX_HOOK =
    std::function<int(CWnd* pOwner, const CString& text, const CString& caption, UINT nType)>;

// Replaces the message-box hook and returns the previous one; an empty hook restores the
// default (a modal message box).
AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK hook);
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Runs the hook; every message box of the layer goes through here.
int AfxShowMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);

// Asks where to save a file: a modal file chooser on a desktop, or the installed hook (tests,
// hosts without a screen). path holds the suggestion and receives the choice; FALSE when the
// user cancels or nobody can be asked (no hook on Qt's offscreen platform).
using AFX_SAVEFILE_HOOK =
    std::function<BOOL(CWnd* pOwner, const CString& title, const CString& filter, CString& path)>;
AFX_SAVEFILE_HOOK AfxSetSaveFileHook(AFX_SAVEFILE_HOOK hook);
BOOL AfxGetSaveFileName(CWnd* pOwner, LPCTSTR lpszTitle, LPCTSTR lpszFilter, CString& path);

// Writes what the window shows (a top-level window with its frame and menu bar) to a PNG file
// (path in UTF-8). FALSE without a window or when the file cannot be written.
BOOL AfxSaveWindowImage(CWnd* pWnd, const char* path);
// What the window shows, as AfxSaveWindowImage writes it, into rgba: width x height pixels,
// top row first, red in bits 0-7, opaque. FALSE (rgba unchanged) without a window.
BOOL AfxGetWindowImage(CWnd* pWnd, std::vector<std::uint32_t>& rgba, int& width, int& height);

// Moves the top-level window of pWnd beside that of pAnchor, on pAnchor's screen: right of
// it, left, below or above, the first place that stays on the screen and covers no other shown
// window. (A top-level window shown for the first time without having been moved opens so
// beside its owner, or else where it covers no shown window.) FALSE without both windows.
BOOL AfxPlaceWindowBeside(CWnd* pWnd, const CWnd* pAnchor);

BOOL ReleaseCapture();
// Sets the cursor shown over the window that is handling WM_SETCURSOR (or, outside that, over
// the window under the mouse); returns the previous cursor.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
BOOL GetCursorPos(LPPOINT lpPoint);
// With a null instance: a standard cursor IDC_; otherwise resource id of a registered module.
HCURSOR LoadCursor(HINSTANCE hInstance, UINT nIDResource);
HICON LoadIcon(HINSTANCE hInstance, UINT nIDResource);
// Resource lookups over all registered modules (AfxGetApp()->LoadCursor / LoadIcon in MFC).
HCURSOR AfxLoadCursor(UINT nIDResource);
HICON AfxLoadIcon(UINT nIDResource);
// The handle that makes LoadCursor/LoadIcon search the registered modules.
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();

// Makes sure the application object exists; call it first, on the thread that will own every
// window (all calls of the layer belong on that thread). The platform is QT_QPA_PLATFORM's
// (Wayland or X11 when unset). FALSE when no display can be opened: nothing is left behind,
// so a host may set QT_QPA_PLATFORM=offscreen and call again to paint headlessly. Once it
// has returned TRUE, every call does. Qt's messages go to the previous Qt message handler,
// less those that say nothing to a user (a missing XDG_RUNTIME_DIR, the offscreen platform's
// unhonoured window-manager requests).
BOOL AfxWinInit();
// Handles everything pending in the event queue, then returns.
void AfxPumpMessages();
// Runs the event loop until no window is shown any more (the user closed the last one; a
// loop started with none shown returns at once), returning 0, or until AfxPostQuitMessage,
// returning its code. -1 when AfxWinInit fails.
int AfxRunMessageLoop();
// Ends the running message loop with nExitCode; without a running loop it does nothing.
void AfxPostQuitMessage(int nExitCode);
DWORD GetTickCount();
