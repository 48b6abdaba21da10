// ResourceScript: the parsed resource script of one module (dialog templates, menus, icons,
// cursors). The syntax is documented at the top of dialogs/res/velmora.rc.
#pragma once

#include "win/CString.h"
#include "win/WinDefs.h"

#include <map>
#include <string>
#include <vector>

struct ControlTemplate {
    std::string className; // Static, Button, Edit, ComboBox, ScrollBar
    CString text;
    int id = -1;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
};

struct DialogTemplate {
    UINT id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    CString caption;
    int fontSize = 8;
    std::string fontFace = "MS Shell Dlg";
    UINT menuId = 0;
    UINT iconId = 0;
    std::vector<ControlTemplate> controls;
};

struct MenuTemplate {
    CString text;
    UINT id = 0;
    bool separator = false;
    bool popup = false;
    std::vector<MenuTemplate> items;
};

struct ImageTemplate {
    std::string symbol;
    int hotX = 0, hotY = 0;
};

class ResourceScript {
public:
    // FALSE with a message naming the line when the text does not parse.
    bool parse(const std::string& text, std::string* error);

    const DialogTemplate* findDialog(UINT id) const;
    const MenuTemplate* findMenu(UINT id) const;
    const ImageTemplate* findIcon(UINT id) const;
    const ImageTemplate* findCursor(UINT id) const;

private:
    std::map<UINT, DialogTemplate> m_dialogs;
    std::map<UINT, MenuTemplate> m_menus;
    std::map<UINT, ImageTemplate> m_icons;
    std::map<UINT, ImageTemplate> m_cursors;
};
