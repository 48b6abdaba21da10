// CEdit: a single-line edit box.
#include "win/CEdit.h"

#include "ControlFactory.h"

#include <QLineEdit>

IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace {
QLineEdit* edit(const CWnd* w) {
    return qobject_cast<QLineEdit*>(w->GetImpl()->widget());
}
} // namespace

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    QWidget* parent = ControlFactory::parentWidget(pParentWnd);
    if (m_hWnd || !parent) {
        return FALSE;
    }
    auto* e = new QLineEdit(parent);
    e->setReadOnly(dwStyle & ES_READONLY);
    return ControlFactory::adopt(this, e, WndKind::Edit, dwStyle, rect, nID, CString());
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
    QLineEdit* e = edit(this);
    if (!e) {
        return FALSE;
    }
    e->setReadOnly(bReadOnly != FALSE);
    return TRUE;
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL) {
    QLineEdit* e = edit(this);
    if (!e) {
        return;
    }
    const int length = static_cast<int>(e->text().size());
    const int start = nStartChar < 0 ? length : std::min(nStartChar, length);
    const int end = (nEndChar < 0 || nEndChar > length) ? length : nEndChar;
    e->setSelection(start, end - start);
}

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL) {
    if (QLineEdit* e = edit(this)) {
        e->insert(QString::fromUtf16(lpszNewText ? lpszNewText : u""));
    }
}

void CEdit::SetLimitText(UINT nMax) {
    if (QLineEdit* e = edit(this)) {
        e->setMaxLength(nMax == 0 || nMax > 32767 ? 32767 : static_cast<int>(nMax));
    }
}
