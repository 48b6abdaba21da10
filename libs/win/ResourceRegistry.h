// ResourceRegistry: the registered extension modules and the icons and cursors made from them.
#pragma once

#include "ResourceScript.h"
#include "win/CDynLinkLibrary.h"

#include <QImage>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// What an HICON / HCURSOR stands for.
struct ImageRecord {
    QImage image; // null for a standard cursor
    int hotX = 0;
    int hotY = 0;
    int shape = -1; // Qt cursor shape of a standard cursor
    UINT idc = 0;   // IDC_ id of a standard cursor
};

class ResourceRegistry {
public:
    static ResourceRegistry& instance();

    bool addModule(AFX_EXTENSION_MODULE* module, std::string* error);
    void removeModule(AFX_EXTENSION_MODULE* module);
    void link(CDynLinkLibrary* library);
    void unlink(CDynLinkLibrary* library);
    std::vector<CDynLinkLibrary*> librariesOf(const AFX_EXTENSION_MODULE* module) const;

    // Searched in the linked modules, the most recently linked first.
    const DialogTemplate* findDialog(UINT id) const;
    const MenuTemplate* findMenu(UINT id) const;
    HICON icon(UINT id);
    HCURSOR cursor(UINT id);
    HCURSOR standardCursor(UINT idc);
    // The record of a handle made here, null for anything else.
    const ImageRecord* record(HICON handle) const;

private:
    template <class F>
    auto search(F find) const -> decltype(find(std::declval<const ResourceScript&>()));
    HICON keep(std::unique_ptr<ImageRecord> r);

    std::map<const AFX_EXTENSION_MODULE*, std::unique_ptr<ResourceScript>> m_modules;
    std::vector<CDynLinkLibrary*> m_links;
    std::map<UINT, HICON> m_icons;
    std::map<UINT, HICON> m_cursors;
    std::map<UINT, HICON> m_standard;
    std::set<const ImageRecord*> m_valid;
    std::vector<std::unique_ptr<ImageRecord>> m_records;
};
