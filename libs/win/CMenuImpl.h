// CMenuImpl: the item tree of a CMenu and the native actions that show it.
#pragma once

#include "ResourceScript.h"
#include "win/CMenu.h"

#include <QPointer>
#include <memory>
#include <vector>

class QAction;
class QWidget;

struct MenuItem {
    CString text;
    UINT id = 0;
    UINT flags = MF_STRING;
    std::unique_ptr<CMenu> sub;
    std::vector<QPointer<QAction>> actions;
};

class CMenuImpl {
public:
    std::vector<MenuItem> items;

    void load(const MenuTemplate& t);
    // The item of a command id (searched through the popups) or of a position.
    MenuItem* find(UINT item, UINT flags);
    // Adds the items to a QMenu or QMenuBar; picks go to target as WM_COMMAND.
    void fill(QWidget* menu, CWnd* target);
    static void sync(MenuItem& item);
};
