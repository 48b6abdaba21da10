// CMenu: a menu bar or popup menu, loaded from a resource script or built item by item.
// A pick sends WM_COMMAND (notification code 0) with the item's id to the owning window.
#pragma once

#include "win/CObject.h"
#include "win/CString.h"

#include <memory>

class CWnd;
class CMenuImpl;

class CMenu : public CObject {
public:
    CMenu();
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    // Menu nIDResource from the registered resource scripts; FALSE when none has it.
    BOOL LoadMenu(UINT nIDResource);
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    // MF_STRING, MF_SEPARATOR, or MF_POPUP with nIDNewItem the HMENU of a CMenu as UINT_PTR.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;
    CMenu* GetSubMenu(int nPos) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    // Previous state (MF_ENABLED/MF_GRAYED, MF_CHECKED/MF_UNCHECKED), or (UINT)-1 for no item.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    // Opens the popup at screen point (x, y); the pick goes to pWnd as WM_COMMAND.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    static CMenu* FromHandle(HMENU hMenu);

    // Internal: the item tree (library use only).
    CMenuImpl* GetImpl() const { return m_impl.get(); }

private:
    std::unique_ptr<CMenuImpl> m_impl;
};
