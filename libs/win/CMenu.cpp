// CMenu: menus from the resource script and their item states.
#include "win/CMenu.h"

#include "CMenuImpl.h"
#include "CWndImpl.h"
#include "ResourceRegistry.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

void CMenuImpl::load(const MenuTemplate& t) {
    items.clear();
    for (const MenuTemplate& m : t.items) {
        MenuItem item;
        item.text = m.text;
        item.id = m.id;
        item.flags = m.separator ? MF_SEPARATOR : (m.popup ? MF_POPUP : MF_STRING);
        if (m.popup) {
            item.sub = std::make_unique<CMenu>();
            item.sub->CreatePopupMenu();
            item.sub->GetImpl()->load(m);
        }
        items.push_back(std::move(item));
    }
}

MenuItem* CMenuImpl::find(UINT item, UINT flags) {
    if (flags & MF_BYPOSITION) {
        return item < items.size() ? &items[item] : nullptr;
    }
    for (MenuItem& m : items) {
        if (m.sub) {
            if (MenuItem* found = m.sub->GetImpl()->find(item, flags)) {
                return found;
            }
        } else if (!(m.flags & MF_SEPARATOR) && m.id == item) {
            return &m;
        }
    }
    return nullptr;
}

void CMenuImpl::sync(MenuItem& item) {
    for (const QPointer<QAction>& a : item.actions) {
        if (a) {
            a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            a->setCheckable((item.flags & MF_CHECKED) != 0);
            a->setChecked((item.flags & MF_CHECKED) != 0);
        }
    }
}

void CMenuImpl::fill(QWidget* menu, CWnd* target) {
    for (MenuItem& item : items) {
        const QString text = QString::fromStdU16String(item.text.Str());
        QAction* a = nullptr;
        if (item.flags & MF_SEPARATOR) {
            a = new QAction(menu);
            a->setSeparator(true);
        } else if (item.sub) {
            auto* popup = new QMenu(text, menu);
            item.sub->GetImpl()->fill(popup, target);
            a = popup->menuAction();
        } else {
            a = new QAction(text, menu);
            const UINT id = item.id;
            QPointer<QWidget> alive(CWndImpl::of(target)->widget());
            QObject::connect(a, &QAction::triggered, menu, [target, id, alive] {
                if (alive) {
                    target->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
                }
            });
        }
        menu->addAction(a);
        item.actions.push_back(a);
        sync(item);
    }
}

CMenu::CMenu() : m_impl(std::make_unique<CMenuImpl>()) {}

CMenu::~CMenu() = default;

BOOL CMenu::LoadMenu(UINT nIDResource) {
    const MenuTemplate* t = ResourceRegistry::instance().findMenu(nIDResource);
    if (!t) {
        return FALSE;
    }
    CreateMenu();
    m_impl->load(*t);
    return TRUE;
}

BOOL CMenu::CreateMenu() {
    m_impl->items.clear();
    m_hMenu = reinterpret_cast<HMENU>(this);
    return TRUE;
}

BOOL CMenu::CreatePopupMenu() {
    return CreateMenu();
}

BOOL CMenu::DestroyMenu() {
    m_impl->items.clear();
    m_hMenu = nullptr;
    return TRUE;
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    return reinterpret_cast<CMenu*>(hMenu);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    if (!m_hMenu) {
        return FALSE;
    }
    MenuItem item;
    item.flags = nFlags;
    item.text = CString(lpszNewItem);
    if (nFlags & MF_POPUP) {
        CMenu* source = FromHandle(reinterpret_cast<HMENU>(nIDNewItem));
        if (!source) {
            return FALSE;
        }
        item.sub = std::make_unique<CMenu>();
        item.sub->CreatePopupMenu();
        std::swap(item.sub->m_impl->items, source->m_impl->items);
    } else {
        item.id = static_cast<UINT>(nIDNewItem);
    }
    m_impl->items.push_back(std::move(item));
    return TRUE;
}

UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(m_impl->items.size());
}

UINT CMenu::GetMenuItemID(int nPos) const {
    if (nPos < 0 || nPos >= static_cast<int>(m_impl->items.size())) {
        return 0;
    }
    const MenuItem& m = m_impl->items[static_cast<std::size_t>(nPos)];
    return m.sub ? static_cast<UINT>(-1) : m.id;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    if (nPos < 0 || nPos >= static_cast<int>(m_impl->items.size())) {
        return nullptr;
    }
    return m_impl->items[static_cast<std::size_t>(nPos)].sub.get();
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    const MenuItem* m = m_impl->find(nIDItem, nFlags);
    rString = m ? m->text : CString();
    return rString.GetLength();
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    MenuItem* m = m_impl->find(nIDEnableItem, nEnable);
    if (!m) {
        return static_cast<UINT>(-1);
    }
    const UINT previous = m->flags & (MF_GRAYED | MF_DISABLED);
    m->flags = (m->flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    CMenuImpl::sync(*m);
    return previous;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    MenuItem* m = m_impl->find(nIDCheckItem, nCheck);
    if (!m) {
        return static_cast<UINT>(-1);
    }
    const UINT previous = m->flags & MF_CHECKED;
    m->flags = (m->flags & ~MF_CHECKED) | (nCheck & MF_CHECKED);
    CMenuImpl::sync(*m);
    return previous;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    const MenuItem* m = m_impl->find(nID, nFlags);
    return m ? (m->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP))
             : static_cast<UINT>(-1);
}

BOOL CMenu::TrackPopupMenu(UINT, int x, int y, CWnd* pWnd, LPCRECT) {
    if (!pWnd || !pWnd->m_hWnd) {
        return FALSE;
    }
    auto* popup = new QMenu(CWndImpl::of(pWnd)->widget());
    popup->setAttribute(Qt::WA_DeleteOnClose);
    m_impl->fill(popup, pWnd);
    popup->popup(QPoint(x, y));
    return TRUE;
}

BOOL CWnd::SetMenu(CMenu* pMenu) {
    if (!m_hWnd || !m_impl->isTopLevel()) {
        return FALSE;
    }
    QWidget* frame = m_impl->frame();
    const QSize client = m_impl->widget()->size();
    delete m_impl->menuBar.data();
    m_impl->menu = pMenu;
    if (pMenu) {
        auto* bar = new QMenuBar(frame);
        pMenu->GetImpl()->fill(bar, this);
        frame->layout()->setMenuBar(bar);
        m_impl->menuBar = bar;
    }
    const int barHeight = m_impl->menuBar ? m_impl->menuBar->sizeHint().height() : 0;
    frame->resize(client.width(), client.height() + barHeight);
    return TRUE;
}
