// CWnd: window operations and the message-map dispatch of MFC.
#include "win/CWnd.h"

#include "CWndImpl.h"
#include "ResourceRegistry.h"
#include "WindowPlacement.h"
#include "win/AfxApi.h"
#include "win/CDC.h"
#include "win/CMenu.h"
#include "win/CScrollBar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QVBoxLayout>
#include <cerrno>
#include <climits>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

CWnd::CWnd() : m_impl(std::make_unique<CWndImpl>(this)) {}

CWnd::~CWnd() {
    m_impl->destroyWidgets();
}

namespace {

// A top-level window: a frame holding an optional menu bar above the client widget.
QWidget* makeFrame(QWidget* client) {
    auto* frame = new QWidget(nullptr, Qt::Window);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    client->setParent(frame);
    layout->addWidget(client);
    return frame;
}

} // namespace

BOOL CWnd::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID) {
    if (m_hWnd || !AfxWinInit() || (pParentWnd && !pParentWnd->m_hWnd)) {
        return FALSE;
    }
    const bool child = pParentWnd && (dwStyle & WS_CHILD);
    auto* client = new QWidget(child ? pParentWnd->GetImpl()->widget() : nullptr);
    CWndImpl::registerWidget(client, WndKind::Generic, static_cast<int>(nID), dwStyle, 0);
    QWidget* frame = child ? client : makeFrame(client);
    m_impl->attach(frame, client, true);
    if (!child) {
        m_impl->owner = pParentWnd;
    }
    SetWindowText(lpszWindowName);
    MoveWindow(&rect, FALSE);
    if (dwStyle & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) {
        return FALSE;
    }
    SendMessage(WM_DESTROY);
    m_impl->destroyWidgets();
    PostNcDestroy();
    return TRUE;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    return CWndImpl::fromWidget(reinterpret_cast<QWidget*>(hWnd));
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    CWnd* item = pParent ? pParent->GetDlgItem(static_cast<int>(nID)) : nullptr;
    return item ? SubclassWindow(item->m_hWnd) : FALSE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    auto* w = reinterpret_cast<QWidget*>(hWnd);
    if (m_hWnd || !w || !CWndImpl::info(w)) {
        return FALSE;
    }
    m_impl->attach(w, w, false);
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    HWND h = m_hWnd;
    m_impl->detach();
    return h;
}

int CWnd::GetDlgCtrlID() const {
    const WidgetInfo* i = m_impl->info();
    return i ? i->id : 0;
}

CWnd* CWnd::GetParent() const {
    if (!m_hWnd) {
        return nullptr;
    }
    if (m_impl->isTopLevel() || m_impl->widget()->isWindow()) {
        return m_impl->owner;
    }
    return CWndImpl::windowOf(m_impl->widget()->parentWidget());
}

CWnd* CWnd::GetOwner() const {
    return m_impl->owner ? m_impl->owner : GetParent();
}

void CWnd::SetOwner(CWnd* pOwner) {
    m_impl->owner = pOwner;
}

CWnd* CWnd::GetTopLevelParent() const {
    const CWnd* w = this;
    while (w && w->m_hWnd && !w->m_impl->isTopLevel()) {
        CWnd* p = CWndImpl::windowOf(w->m_impl->widget()->parentWidget());
        if (!p) {
            break;
        }
        w = p;
    }
    return const_cast<CWnd*>(w);
}

DWORD CWnd::GetStyle() const {
    const WidgetInfo* i = m_impl->info();
    if (!i) {
        return 0;
    }
    DWORD s = i->style & ~(WS_VISIBLE | WS_DISABLED);
    s |= m_impl->frame()->isHidden() ? 0 : WS_VISIBLE;
    s |= m_impl->widget()->isEnabled() ? 0 : WS_DISABLED;
    return s;
}

DWORD CWnd::GetExStyle() const {
    const WidgetInfo* i = m_impl->info();
    return i ? i->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT) {
    WidgetInfo* i = m_impl->info();
    if (!i) {
        return FALSE;
    }
    i->style = (i->style & ~dwRemove) | dwAdd;
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (!m_hWnd) {
        return FALSE;
    }
    QWidget* f = m_impl->frame();
    const BOOL wasVisible = f->isVisible() ? TRUE : FALSE;
    const bool show = nCmdShow != SW_HIDE;
    if (show != static_cast<bool>(wasVisible)) {
        SendMessage(WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    }
    if (show && f->isWindow() && !m_impl->placed) {
        const CWnd* owner = GetOwner();
        WindowPlacement::placeNew(f, owner && owner->m_hWnd ? owner->m_impl->frame() : nullptr);
        m_impl->placed = true;
    }
    switch (nCmdShow) {
    case SW_HIDE:
        f->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        f->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        f->showMaximized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        f->isWindow() ? f->showNormal() : f->show();
        break;
    default:
        f->show();
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return (m_hWnd && m_impl->widget()->isVisible()) ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (!m_hWnd) {
        return FALSE;
    }
    const BOOL wasDisabled = m_impl->widget()->isEnabled() ? FALSE : TRUE;
    m_impl->widget()->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return (m_hWnd && m_impl->widget()->isEnabled()) ? TRUE : FALSE;
}

BOOL CWnd::SetForegroundWindow() {
    if (!m_hWnd) {
        return FALSE;
    }
    m_impl->frame()->raise();
    m_impl->frame()->activateWindow();
    return TRUE;
}

void CWnd::BringWindowToTop() {
    if (m_hWnd) {
        m_impl->frame()->raise();
    }
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (m_hWnd) {
        m_impl->widget()->setFocus(Qt::OtherFocusReason);
    }
    return previous;
}

CWnd* CWnd::GetFocus() {
    return qApp ? CWndImpl::windowOf(QApplication::focusWidget()) : nullptr;
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    if (!lpRect) {
        return;
    }
    *lpRect = RECT{0, 0, 0, 0};
    if (m_hWnd) {
        QWidget* f = m_impl->frame();
        const QPoint tl = f->isWindow() ? f->frameGeometry().topLeft() : f->mapToGlobal(QPoint());
        const QSize s = f->size() + WindowPlacement::decorations(f);
        *lpRect = RECT{tl.x(), tl.y(), tl.x() + s.width(), tl.y() + s.height()};
    }
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (lpRect) {
        const QSize s = m_hWnd ? m_impl->widget()->size() : QSize();
        *lpRect = RECT{0, 0, s.width(), s.height()};
    }
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    if (!m_hWnd) {
        return;
    }
    QWidget* f = m_impl->frame();
    // The rectangle is the frame's, as GetWindowRect reports it: the decorations come off.
    const QSize d = WindowPlacement::decorations(f);
    const QSize size(std::max(nWidth - d.width(), 0), std::max(nHeight - d.height(), 0));
    f->move(x, y);
    m_impl->placed = true;
    // A frame the user cannot resize is still resized by the program.
    if (f->isWindow() && f->minimumSize() == f->maximumSize()) {
        f->setFixedSize(size);
    } else {
        f->resize(size);
    }
    if (bRepaint) {
        Invalidate(TRUE);
    }
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    if (lpRect) {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
    }
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    if (lpPoint && m_hWnd) {
        const QPoint g = m_impl->widget()->mapToGlobal(QPoint(lpPoint->x, lpPoint->y));
        *lpPoint = POINT{g.x(), g.y()};
    }
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    if (lpRect) {
        ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->left));
        ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->right));
    }
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    if (lpPoint && m_hWnd) {
        const QPoint c = m_impl->widget()->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
        *lpPoint = POINT{c.x(), c.y()};
    }
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    if (lpRect) {
        ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->left));
        ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->right));
    }
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const {
    if (!m_hWnd) {
        return nullptr;
    }
    QWidget* w = m_impl->widget();
    const QPoint p(point.x, point.y);
    if (!w->rect().contains(p)) {
        return nullptr;
    }
    for (QObject* o : w->children()) {
        auto* c = qobject_cast<QWidget*>(o);
        CWnd* cw = c ? CWndImpl::fromWidget(c) : nullptr;
        if (cw && !c->isWindow() && c->geometry().contains(p)) {
            return cw;
        }
    }
    return const_cast<CWnd*>(this);
}

void CWnd::Invalidate(BOOL bErase) {
    InvalidateRect(nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    if (!m_hWnd) {
        return;
    }
    QWidget* w = m_impl->widget();
    const QRect r = lpRect ? QRect(QPoint(lpRect->left, lpRect->top),
                                   QPoint(lpRect->right - 1, lpRect->bottom - 1))
                           : w->rect();
    m_impl->invalid() += r;
    m_impl->erasePending() = m_impl->erasePending() || bErase;
    w->update(r);
}

void CWnd::ValidateRect(LPCRECT lpRect) {
    if (!lpRect) {
        m_impl->invalid() = QRegion();
        return;
    }
    m_impl->invalid() -=
        QRect(QPoint(lpRect->left, lpRect->top), QPoint(lpRect->right - 1, lpRect->bottom - 1));
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL) {
    const QRect r = m_impl->invalid().boundingRect();
    if (lpRect) {
        *lpRect =
            r.isEmpty() ? RECT{0, 0, 0, 0} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    return r.isEmpty() ? FALSE : TRUE;
}

void CWnd::UpdateWindow() {
    if (m_hWnd && !m_impl->invalid().isEmpty() && m_impl->widget()->isVisible()) {
        m_impl->widget()->repaint(m_impl->invalid());
    }
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    const CString text(lpszString);
    if (m_hWnd && m_impl->text() != text) {
        m_impl->setText(text);
    }
}

void CWnd::GetWindowText(CString& rString) const {
    rString = m_impl->text();
}

int CWnd::GetWindowTextLength() const {
    return m_impl->text().GetLength();
}

CWnd* CWnd::GetDlgItem(int nID) const {
    if (!m_hWnd) {
        return nullptr;
    }
    for (QObject* o : m_impl->widget()->children()) {
        auto* c = qobject_cast<QWidget*>(o);
        const WidgetInfo* i = c ? CWndImpl::info(c) : nullptr;
        if (i && i->id == nID && i->wnd) {
            return i->wnd;
        }
    }
    return nullptr;
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
    if (CWnd* w = GetDlgItem(nID)) {
        w->SetWindowText(lpszString);
    }
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    if (CWnd* w = GetDlgItem(nID)) {
        w->GetWindowText(rString);
    }
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    CString s;
    if (bSigned) {
        s.Format(u"%d", static_cast<int>(nValue));
    } else {
        s.Format(u"%u", nValue);
    }
    SetDlgItemText(nID, s);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    CString s;
    GetDlgItemText(nID, s);
    const std::string t = s.Trim().ToUtf8();
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    // Like Windows, a value outside the 32-bit range of the signedness is no translation.
    const bool inRange = bSigned ? (v >= INT_MIN && v <= INT_MAX) : (v >= 0 && v <= UINT_MAX);
    const bool ok = !t.empty() && end && *end == '\0' && errno != ERANGE && inRange;
    if (lpTrans) {
        *lpTrans = ok ? TRUE : FALSE;
    }
    return ok ? static_cast<UINT>(v) : 0;
}

void CWnd::CheckDlgButton(int nID, UINT nCheck) {
    if (CWnd* w = GetDlgItem(nID)) {
        CWndImpl::setButtonCheck(w->GetImpl()->widget(), nCheck != BST_UNCHECKED);
    }
}

UINT CWnd::IsDlgButtonChecked(int nID) const {
    CWnd* w = GetDlgItem(nID);
    auto* b = w ? qobject_cast<QAbstractButton*>(w->GetImpl()->widget()) : nullptr;
    return (b && b->isChecked()) ? BST_CHECKED : BST_UNCHECKED;
}

CWnd* CWnd::SetCapture() {
    CWnd* previous = CWndImpl::capture();
    CWndImpl::capture() = m_hWnd ? this : nullptr;
    return previous;
}

CWnd* CWnd::GetCapture() {
    return CWndImpl::capture();
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return m_hWnd ? m_impl->setTimer(nIDEvent, nElapse, lpfnTimer) : 0;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return m_impl->killTimer(nIDEvent);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    HICON& slot = m_impl->icons[bBigIcon ? 1 : 0];
    HICON previous = slot;
    slot = hIcon;
    const ImageRecord* r = ResourceRegistry::instance().record(hIcon);
    if (m_hWnd && r && !r->image.isNull()) {
        m_impl->frame()->setWindowIcon(QIcon(QPixmap::fromImage(r->image)));
    }
    return previous;
}

HICON CWnd::GetIcon(BOOL bBigIcon) const {
    return m_impl->icons[bBigIcon ? 1 : 0];
}

CMenu* CWnd::GetMenu() const {
    return m_impl->menu;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hWnd ? m_impl->dispatch(message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) {
        return FALSE;
    }
    CWndImpl* impl = m_impl.get();
    QMetaObject::invokeMethod(
        impl, [impl, message, wParam, lParam] { impl->deliverPosted(message, wParam, lParam); },
        Qt::QueuedConnection);
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (CWnd* w = pMsg ? FromHandle(pMsg->hwnd) : nullptr; w;) {
        if (w->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
        if (w->m_hWnd == hWndStop || w->m_impl->isTopLevel() || !w->m_hWnd) {
            break;
        }
        w = CWndImpl::windowOf(w->m_impl->widget()->parentWidget());
    }
    return FALSE;
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    return AfxShowMessageBox(this, lpszText, lpszCaption, nType);
}

const MSG* CWnd::GetCurrentMessage() const {
    return m_impl->currentMessage();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        const BOOL handled = OnCommand(wParam, lParam);
        if (pResult) {
            *pResult = handled ? 1 : 0;
        }
        return handled;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message);
    return entry ? DispatchEntry(entry, wParam, lParam, pResult) : FALSE;
}

BOOL CWnd::DispatchEntry(const AFX_MSGMAP_ENTRY* e, WPARAM wParam, LPARAM lParam,
                         LRESULT* pResult) {
    LRESULT r = 0;
    const CPoint pt(lParam);
    auto as = [e](auto sig) { return std::bit_cast<decltype(sig)>(e->pfn); };
    switch (e->nSig) {
    case AfxSig_vv:
        (this->*as(static_cast<void (CWnd::*)()>(nullptr)))();
        break;
    case AfxSig_vwii:
        (this->*as(static_cast<void (CWnd::*)(UINT, int, int)>(nullptr)))(
            static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vt:
        (this->*as(static_cast<void (CWnd::*)(UINT_PTR)>(nullptr)))(wParam);
        break;
    case AfxSig_vwwS: {
        auto* bar = dynamic_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam)));
        (this->*as(static_cast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(nullptr)))(
            LOWORD(wParam), HIWORD(wParam), bar);
        break;
    }
    case AfxSig_vwp:
        (this->*as(static_cast<void (CWnd::*)(UINT, CPoint)>(nullptr)))(static_cast<UINT>(wParam),
                                                                        pt);
        break;
    case AfxSig_bwsp:
        r = (this->*as(static_cast<BOOL (CWnd::*)(UINT, short, CPoint)>(nullptr)))(
            LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), pt);
        break;
    case AfxSig_vwww:
        (this->*as(static_cast<void (CWnd::*)(UINT, UINT, UINT)>(nullptr)))(
            static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_bWww:
        r = (this->*as(static_cast<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(nullptr)))(
            FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_bD:
        r = (this->*as(static_cast<BOOL (CWnd::*)(CDC*)>(nullptr)))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case AfxSig_vbw:
        (this->*as(static_cast<void (CWnd::*)(BOOL, UINT)>(nullptr)))(static_cast<BOOL>(wParam),
                                                                      static_cast<UINT>(lParam));
        break;
    case AfxSig_vWp:
        (this->*as(static_cast<void (CWnd::*)(CWnd*, CPoint)>(nullptr)))(
            FromHandle(reinterpret_cast<HWND>(wParam)), pt);
        break;
    case AfxSig_lwl:
        r = (this->*as(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(nullptr)))(wParam, lParam);
        break;
    default:
        return FALSE;
    }
    if (pResult) {
        *pResult = r;
    }
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_impl->defaultProc(message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG* m = m_impl->currentMessage();
    return m ? DefWindowProc(m->message, m->wParam, m->lParam) : 0;
}

void CWnd::OnPaint() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}
