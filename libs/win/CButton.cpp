// CButton: check state and icons of buttons.
#include "win/CButton.h"

#include "CWndImpl.h"
#include "ControlFactory.h"
#include "ResourceRegistry.h"

#include <QCheckBox>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    QWidget* parent = ControlFactory::parentWidget(pParentWnd);
    if (m_hWnd || !parent) {
        return FALSE;
    }
    QAbstractButton* b = nullptr;
    switch (dwStyle & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        b = new QCheckBox(parent);
        break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        b = new QRadioButton(parent);
        break;
    default:
        b = new QPushButton(parent);
    }
    return ControlFactory::adopt(this, b, WndKind::Button, dwStyle, rect, nID,
                                 CString(lpszCaption));
}

int CButton::GetCheck() const {
    auto* b = qobject_cast<QAbstractButton*>(GetImpl()->widget());
    return (b && b->isChecked()) ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck) {
    CWndImpl::setButtonCheck(GetImpl()->widget(), nCheck != BST_UNCHECKED);
}

UINT CButton::GetButtonStyle() const {
    const WidgetInfo* i = GetImpl()->info();
    return i ? (i->style & 0xFFFF) : 0;
}

HICON CButton::SetIcon(HICON hIcon) {
    HICON previous = GetImpl()->icons[0];
    GetImpl()->icons[0] = hIcon;
    auto* b = qobject_cast<QAbstractButton*>(GetImpl()->widget());
    const ImageRecord* r = ResourceRegistry::instance().record(hIcon);
    if (!b) {
        return previous;
    }
    if (r && !r->image.isNull()) {
        const int side = std::max(8, std::min(b->width(), b->height()) - 8);
        b->setIcon(QIcon(QPixmap::fromImage(r->image)));
        b->setIconSize(QSize(side, side));
        b->setText(QString());
    } else {
        b->setIcon(QIcon());
        b->setText(b->property("velmoraText").toString());
    }
    return previous;
}

HICON CButton::GetIcon() const {
    return GetImpl()->icons[0];
}
