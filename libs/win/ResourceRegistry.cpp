// ResourceRegistry: module bookkeeping and resource lookups.
#include "ResourceRegistry.h"

#include "IconPainter.h"

#include <algorithm>

ResourceRegistry& ResourceRegistry::instance() {
    static ResourceRegistry registry;
    return registry;
}

bool ResourceRegistry::addModule(AFX_EXTENSION_MODULE* module, std::string* error) {
    auto script = std::make_unique<ResourceScript>();
    const char* text = module->pszResourceScript ? module->pszResourceScript : "";
    if (!script->parse(text, error)) {
        return false;
    }
    m_modules[module] = std::move(script);
    return true;
}

void ResourceRegistry::removeModule(AFX_EXTENSION_MODULE* module) {
    m_modules.erase(module);
}

void ResourceRegistry::link(CDynLinkLibrary* library) {
    m_links.push_back(library);
}

void ResourceRegistry::unlink(CDynLinkLibrary* library) {
    m_links.erase(std::remove(m_links.begin(), m_links.end(), library), m_links.end());
}

std::vector<CDynLinkLibrary*>
ResourceRegistry::librariesOf(const AFX_EXTENSION_MODULE* module) const {
    std::vector<CDynLinkLibrary*> out;
    for (CDynLinkLibrary* l : m_links) {
        if (l->m_pModule == module) {
            out.push_back(l);
        }
    }
    return out;
}

template <class F>
auto ResourceRegistry::search(F find) const
    -> decltype(find(std::declval<const ResourceScript&>())) {
    for (auto it = m_links.rbegin(); it != m_links.rend(); ++it) {
        const auto m = m_modules.find((*it)->m_pModule);
        if (m != m_modules.end()) {
            if (auto* found = find(*m->second)) {
                return found;
            }
        }
    }
    return nullptr;
}

const DialogTemplate* ResourceRegistry::findDialog(UINT id) const {
    return search([id](const ResourceScript& s) { return s.findDialog(id); });
}

const MenuTemplate* ResourceRegistry::findMenu(UINT id) const {
    return search([id](const ResourceScript& s) { return s.findMenu(id); });
}

HICON ResourceRegistry::keep(std::unique_ptr<ImageRecord> r) {
    m_valid.insert(r.get());
    HICON h = reinterpret_cast<HICON>(r.get());
    m_records.push_back(std::move(r));
    return h;
}

HICON ResourceRegistry::icon(UINT id) {
    if (const auto it = m_icons.find(id); it != m_icons.end()) {
        return it->second;
    }
    const ImageTemplate* t = search([id](const ResourceScript& s) { return s.findIcon(id); });
    if (!t) {
        return nullptr;
    }
    auto r = std::make_unique<ImageRecord>();
    r->image = IconPainter::paint(t->symbol, 32);
    return m_icons[id] = keep(std::move(r));
}

HCURSOR ResourceRegistry::cursor(UINT id) {
    if (const auto it = m_cursors.find(id); it != m_cursors.end()) {
        return it->second;
    }
    const ImageTemplate* t = search([id](const ResourceScript& s) { return s.findCursor(id); });
    if (!t) {
        return nullptr;
    }
    auto r = std::make_unique<ImageRecord>();
    r->image = IconPainter::paint(t->symbol, 32);
    r->hotX = t->hotX;
    r->hotY = t->hotY;
    return m_cursors[id] = keep(std::move(r));
}

HCURSOR ResourceRegistry::standardCursor(UINT idc) {
    static const std::map<UINT, Qt::CursorShape> shapes = {
        {IDC_ARROW, Qt::ArrowCursor},     {IDC_IBEAM, Qt::IBeamCursor},
        {IDC_WAIT, Qt::WaitCursor},       {IDC_CROSS, Qt::CrossCursor},
        {IDC_SIZEALL, Qt::SizeAllCursor}, {IDC_SIZENS, Qt::SizeVerCursor},
        {IDC_SIZEWE, Qt::SizeHorCursor},  {IDC_HAND, Qt::PointingHandCursor}};
    const auto shape = shapes.find(idc);
    if (shape == shapes.end()) {
        return nullptr;
    }
    if (const auto it = m_standard.find(idc); it != m_standard.end()) {
        return it->second;
    }
    auto r = std::make_unique<ImageRecord>();
    r->shape = shape->second;
    r->idc = idc;
    return m_standard[idc] = keep(std::move(r));
}

const ImageRecord* ResourceRegistry::record(HICON handle) const {
    const auto* r = reinterpret_cast<const ImageRecord*>(handle);
    return m_valid.count(r) ? r : nullptr;
}
