// Message maps: the tables that route window messages and commands to member handlers, written
// with MFC's macros (BEGIN_MESSAGE_MAP ... ON_BN_CLICKED ... END_MESSAGE_MAP).
#pragma once

#include "win/CPoint.h"
#include "win/WinDefs.h"

#include <bit>

class CCmdTarget;
class CWnd;
class CDC;
class CScrollBar;

using AFX_PMSG = void (CCmdTarget::*)();

// Handler signatures; the dispatcher casts the stored pointer back by this code.
enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_vv,   // void ()
    AfxSig_vw,   // void (UINT)               command ranges
    AfxSig_vwii, // void (UINT, int, int)     WM_SIZE
    AfxSig_vt,   // void (UINT_PTR)           WM_TIMER
    AfxSig_vwwS, // void (UINT, UINT, CScrollBar*)  WM_HSCROLL, WM_VSCROLL
    AfxSig_vwp,  // void (UINT, CPoint)       mouse buttons and moves
    AfxSig_bwsp, // BOOL (UINT, short, CPoint) WM_MOUSEWHEEL
    AfxSig_vwww, // void (UINT, UINT, UINT)   keys
    AfxSig_bWww, // BOOL (CWnd*, UINT, UINT)  WM_SETCURSOR
    AfxSig_bD,   // BOOL (CDC*)               WM_ERASEBKGND
    AfxSig_vbw,  // void (BOOL, UINT)         WM_SHOWWINDOW
    AfxSig_vWp,  // void (CWnd*, CPoint)      WM_CONTEXTMENU
    AfxSig_lwl,  // LRESULT (WPARAM, LPARAM)  ON_MESSAGE
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, AfxSig_end, nullptr }                                                            \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// Stores a handler of signature `sig` (a pointer to a CWnd member) in an entry.
#define AFX_MSG_PFN(sig, fn) std::bit_cast<AFX_PMSG>(static_cast<sig>(fn))

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND,                                                                                   \
     0,                                                                                            \
     static_cast<UINT>(id),                                                                        \
     static_cast<UINT>(id),                                                                        \
     AfxSig_vv,                                                                                    \
     AFX_MSG_PFN(void(CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,                                                                                   \
     0,                                                                                            \
     static_cast<UINT>(id),                                                                        \
     static_cast<UINT>(idLast),                                                                    \
     AfxSig_vw,                                                                                    \
     AFX_MSG_PFN(void(CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_CONTROL(code, id, memberFxn)                                                            \
    {WM_COMMAND,                                                                                   \
     static_cast<UINT>(code),                                                                      \
     static_cast<UINT>(id),                                                                        \
     static_cast<UINT>(id),                                                                        \
     AfxSig_vv,                                                                                    \
     AFX_MSG_PFN(void(CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_MESSAGE(message, memberFxn)                                                             \
    {message,    0,                                                                                \
     0,          0,                                                                                \
     AfxSig_lwl, AFX_MSG_PFN(LRESULT(CCmdTarget::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},

#define AFX_ON_WM(message, sig, type, memberFxn)                                                   \
    {message, 0, 0, 0, sig, AFX_MSG_PFN(type, &ThisClass::memberFxn)},
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_SIZE() AFX_ON_WM(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, AfxSig_vt, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_HSCROLL()                                                                            \
    AFX_ON_WM(WM_HSCROLL, AfxSig_vwwS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL()                                                                            \
    AFX_ON_WM(WM_VSCROLL, AfxSig_vwwS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_LBUTTONDOWN()                                                                        \
    AFX_ON_WM(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP()                                                                          \
    AFX_ON_WM(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK()                                                                      \
    AFX_ON_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()                                                                        \
    AFX_ON_WM(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP()                                                                          \
    AFX_ON_WM(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_MOUSEMOVE()                                                                          \
    AFX_ON_WM(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL()                                                                         \
    AFX_ON_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_KEYDOWN()                                                                            \
    AFX_ON_WM(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_ON_WM(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_SETCURSOR()                                                                          \
    AFX_ON_WM(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_ERASEBKGND() AFX_ON_WM(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SHOWWINDOW()                                                                         \
    AFX_ON_WM(WM_SHOWWINDOW, AfxSig_vbw, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_CONTEXTMENU()                                                                        \
    AFX_ON_WM(WM_CONTEXTMENU, AfxSig_vWp, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
