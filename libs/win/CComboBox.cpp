// CComboBox: list operations with Windows' selection rules (adding items selects nothing,
// removing the selected item clears the selection).
#include "win/CComboBox.h"

#include "ControlFactory.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <algorithm>

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

QComboBox* combo(const CWnd* w) {
    return qobject_cast<QComboBox*>(w->GetImpl()->widget());
}

bool inRange(const QComboBox* c, int i) {
    return c && i >= 0 && i < c->count();
}

} // namespace

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    QWidget* parent = ControlFactory::parentWidget(pParentWnd);
    if (m_hWnd || !parent) {
        return FALSE;
    }
    auto* c = new QComboBox(parent);
    if ((dwStyle & 3u) != CBS_DROPDOWNLIST) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    return ControlFactory::adopt(this, c, WndKind::ComboBox, dwStyle, rect, nID, CString());
}

int CComboBox::AddString(LPCTSTR lpszString) {
    QComboBox* c = combo(this);
    if (!c || !lpszString) {
        return CB_ERR;
    }
    int index = c->count();
    const WidgetInfo* i = GetImpl()->info();
    if (i && (i->style & CBS_SORT)) {
        const QString s = QString::fromUtf16(lpszString);
        index = 0;
        while (index < c->count() && c->itemText(index).compare(s, Qt::CaseInsensitive) <= 0) {
            ++index;
        }
    }
    return InsertString(index, lpszString);
}

int CComboBox::InsertString(int nIndex, LPCTSTR lpszString) {
    QComboBox* c = combo(this);
    if (!c || !lpszString || nIndex > c->count() || nIndex < -1) {
        return CB_ERR;
    }
    const int at = nIndex < 0 ? c->count() : nIndex;
    const int selected = c->currentIndex();
    const QSignalBlocker block(c);
    c->insertItem(at, QString::fromUtf16(lpszString));
    c->setItemData(at, QVariant::fromValue<qulonglong>(0));
    if (selected < 0) {
        c->setCurrentIndex(-1);
    }
    return at;
}

int CComboBox::DeleteString(UINT nIndex) {
    QComboBox* c = combo(this);
    const int i = static_cast<int>(nIndex);
    if (!inRange(c, i)) {
        return CB_ERR;
    }
    const bool wasSelected = c->currentIndex() == i;
    const QSignalBlocker block(c);
    c->removeItem(i);
    if (wasSelected) {
        c->setCurrentIndex(-1);
    }
    return c->count();
}

void CComboBox::ResetContent() {
    if (QComboBox* c = combo(this)) {
        const QSignalBlocker block(c);
        c->clear();
        c->setCurrentIndex(-1);
    }
}

int CComboBox::GetCount() const {
    QComboBox* c = combo(this);
    return c ? c->count() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect) {
    QComboBox* c = combo(this);
    if (!c) {
        return CB_ERR;
    }
    const QSignalBlocker block(c);
    if (!inRange(c, nSelect)) {
        c->setCurrentIndex(-1);
        return CB_ERR;
    }
    c->setCurrentIndex(nSelect);
    return nSelect;
}

int CComboBox::GetCurSel() const {
    QComboBox* c = combo(this);
    return (c && c->currentIndex() >= 0) ? c->currentIndex() : CB_ERR;
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    QComboBox* c = combo(this);
    if (!inRange(c, nIndex)) {
        return CB_ERR;
    }
    c->setItemData(nIndex, QVariant::fromValue<qulonglong>(dwItemData));
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    QComboBox* c = combo(this);
    if (!inRange(c, nIndex)) {
        return static_cast<DWORD_PTR>(CB_ERR);
    }
    return static_cast<DWORD_PTR>(c->itemData(nIndex).toULongLong());
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    QComboBox* c = combo(this);
    rString = inRange(c, nIndex) ? CString(c->itemText(nIndex).toStdU16String()) : CString();
}

int CComboBox::GetLBTextLen(int nIndex) const {
    QComboBox* c = combo(this);
    return inRange(c, nIndex) ? static_cast<int>(c->itemText(nIndex).size()) : CB_ERR;
}

int CComboBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    QComboBox* c = combo(this);
    if (!c || !lpszFind) {
        return CB_ERR;
    }
    const QString s = QString::fromUtf16(lpszFind);
    // Past the end, the search starts from the top, as for -1.
    const int start = nIndexStart < c->count() ? std::max(nIndexStart, -1) : -1;
    for (int k = 1; k <= c->count(); ++k) {
        const int i = (start + k) % c->count();
        if (c->itemText(i).compare(s, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return CB_ERR;
}
