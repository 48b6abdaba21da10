// CDialog: modeless dialogs from templates, data exchange and the dialog keys.
#include "win/CDialog.h"

#include "CWndImpl.h"
#include "DialogBuilder.h"
#include "ResourceRegistry.h"
#include "win/AfxApi.h"
#include "win/CDataExchange.h"
#include "win/CMenu.h"

#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

namespace {

// The frame holds the menu bar and the client area of the template's size.
void fitFrame(CWndImpl* impl, bool resizable) {
    QWidget* frame = impl->frame();
    const int menuHeight = impl->menuBar ? impl->menuBar->sizeHint().height() : 0;
    const QSize size(impl->clientSize.width(), impl->clientSize.height() + menuHeight);
    frame->resize(size);
    if (!resizable) {
        frame->setFixedSize(size);
    }
}

} // namespace

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    const DialogTemplate* t = ResourceRegistry::instance().findDialog(nIDTemplate);
    if (m_hWnd || !t || !DialogBuilder::build(this, *t)) {
        return FALSE;
    }
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    SetOwner(pParentWnd);
    if (t->iconId) {
        HICON icon = AfxLoadIcon(t->iconId);
        SetIcon(icon, TRUE);
        SetIcon(icon, FALSE);
    }
    if (t->menuId) {
        GetImpl()->ownMenu = std::make_unique<CMenu>();
        if (GetImpl()->ownMenu->LoadMenu(t->menuId)) {
            SetMenu(GetImpl()->ownMenu.get());
        }
    }
    fitFrame(GetImpl(), (t->style & WS_THICKFRAME) != 0);
    SendMessage(WM_INITDIALOG);
    OnInitDialog();
    if (t->style & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
    }
    return TRUE;
}

BOOL CDialog::Create(LPCTSTR, LPCTSTR, DWORD, const RECT&, CWnd* pParentWnd, UINT nID) {
    return Create(nID ? nID : m_nIDTemplate, pParentWnd);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd) {
        return FALSE;
    }
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    ShowWindow(SW_HIDE);
}

DWORD CDialog::GetDefID() const {
    for (const auto& item : GetImpl()->items) {
        auto* b = qobject_cast<QPushButton*>(item->GetImpl()->widget());
        if (b && b->isDefault()) {
            return static_cast<DWORD>(CWndImpl::info(b)->id);
        }
    }
    return IDOK;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg || pMsg->message != WM_KEYDOWN) {
        return FALSE;
    }
    if (pMsg->wParam == VK_ESCAPE) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return TRUE;
    }
    if (pMsg->wParam != VK_RETURN) {
        return FALSE;
    }
    CWnd* focus = GetFocus();
    const bool pushButton = focus && focus->GetParent() == this &&
                            qobject_cast<QPushButton*>(focus->GetImpl()->widget()) != nullptr;
    const UINT id = pushButton ? static_cast<UINT>(focus->GetDlgCtrlID()) : GetDefID();
    CWnd* button = GetDlgItem(static_cast<int>(id));
    if (!button || button->IsWindowEnabled()) {
        SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button ? button->m_hWnd : nullptr));
    }
    return TRUE;
}

void CDialog::MapDialogRect(LPRECT lpRect) const {
    if (!lpRect) {
        return;
    }
    const int bx = GetImpl()->baseX, by = GetImpl()->baseY;
    lpRect->left = (lpRect->left * bx + 2) / 4;
    lpRect->right = (lpRect->right * bx + 2) / 4;
    lpRect->top = (lpRect->top * by + 4) / 8;
    lpRect->bottom = (lpRect->bottom * by + 4) / 8;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
