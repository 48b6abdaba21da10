// DialogBuilder: one native widget per template control, positioned in dialog units.
#include "DialogBuilder.h"

#include "CWndImpl.h"
#include "ResourceRegistry.h"
#include "win/AfxApi.h"
#include "win/CButton.h"
#include "win/CComboBox.h"
#include "win/CDialog.h"
#include "win/CEdit.h"
#include "win/CMenu.h"
#include "win/CScrollBar.h"
#include "win/CStatic.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

struct Built {
    QWidget* widget;
    WndKind kind;
};

QRect toPixels(const ControlTemplate& c, int bx, int by) {
    const int x = (c.x * bx + 2) / 4, y = (c.y * by + 4) / 8;
    const int w = (c.cx * bx + 2) / 4, h = (c.cy * by + 4) / 8;
    return QRect(x, y, w, h);
}

QWidget* makeStatic(QWidget* parent, const ControlTemplate& c) {
    auto* l = new QLabel(QString::fromStdU16String(c.text.Str()), parent);
    const DWORD type = c.style & SS_TYPEMASK;
    l->setAlignment(Qt::AlignTop | (type == SS_CENTER  ? Qt::AlignHCenter
                                    : type == SS_RIGHT ? Qt::AlignRight
                                                       : Qt::AlignLeft));
    if ((c.style & WS_BORDER) || type == SS_BLACKFRAME) {
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
    } else if ((c.exStyle & WS_EX_CLIENTEDGE) || (c.style & SS_SUNKEN)) {
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    return l;
}

QWidget* makeButton(QWidget* parent, const ControlTemplate& c, QButtonGroup*& group) {
    const QString text = QString::fromStdU16String(c.text.Str());
    switch (c.style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return new QCheckBox(text, parent);
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        auto* r = new QRadioButton(text, parent);
        r->setAutoExclusive(false);
        if (!group || (c.style & WS_GROUP)) {
            group = new QButtonGroup(parent);
        }
        group->addButton(r);
        return r;
    }
    case BS_GROUPBOX:
        return new QGroupBox(text, parent);
    default: {
        auto* b = new QPushButton(text, parent);
        b->setDefault((c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        b->setAutoDefault(false);
        return b;
    }
    }
}

QWidget* makeCombo(QWidget* parent, const ControlTemplate& c, const QRect& r) {
    auto* combo = new QComboBox(parent);
    const DWORD type = c.style & 3u;
    if (type == CBS_DROPDOWN || type == CBS_SIMPLE) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    const int rowHeight = std::max(1, QFontMetrics(combo->font()).height() + 2);
    combo->setMaxVisibleItems(std::max(3, r.height() / rowHeight - 1));
    return combo;
}

QWidget* makeEdit(QWidget* parent, const ControlTemplate& c) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(c.style & ES_READONLY);
    const DWORD align = c.style & 3u;
    e->setAlignment(align == ES_CENTER  ? Qt::AlignHCenter
                    : align == ES_RIGHT ? Qt::AlignRight
                                        : Qt::AlignLeft);
    e->setFrame((c.style & WS_BORDER) || (c.exStyle & WS_EX_CLIENTEDGE));
    e->setTextMargins(0, 0, 0, 0);
    return e;
}

QWidget* makeScrollBar(QWidget* parent, const ControlTemplate& c) {
    auto* s = new QScrollBar((c.style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
    s->setRange(0, 100);
    s->setPageStep(1);
    return s;
}

Built makeControl(QWidget* parent, const ControlTemplate& c, const QRect& r, QButtonGroup*& group) {
    if (c.className == "Button") {
        return {makeButton(parent, c, group), WndKind::Button};
    }
    if (c.className == "Edit") {
        return {makeEdit(parent, c), WndKind::Edit};
    }
    if (c.className == "ComboBox") {
        return {makeCombo(parent, c, r), WndKind::ComboBox};
    }
    if (c.className == "ScrollBar") {
        return {makeScrollBar(parent, c), WndKind::ScrollBar};
    }
    return {makeStatic(parent, c), WndKind::Static};
}

std::unique_ptr<CWnd> itemObject(WndKind kind) {
    switch (kind) {
    case WndKind::Button:
        return std::make_unique<CButton>();
    case WndKind::Edit:
        return std::make_unique<CEdit>();
    case WndKind::ComboBox:
        return std::make_unique<CComboBox>();
    case WndKind::ScrollBar:
        return std::make_unique<CScrollBar>();
    default:
        return std::make_unique<CStatic>();
    }
}

// A combo box keeps its closed height; the template's height is that of the open list.
QRect placement(const Built& b, QRect r) {
    if (b.kind == WndKind::ComboBox) {
        r.setHeight(std::max(b.widget->sizeHint().height(), 1));
    }
    return r;
}

void buildControls(CDialog* dlg, QWidget* client, const DialogTemplate& t) {
    CWndImpl* impl = dlg->GetImpl();
    QButtonGroup* group = nullptr;
    for (const ControlTemplate& c : t.controls) {
        const QRect r = toPixels(c, impl->baseX, impl->baseY);
        const Built b = makeControl(client, c, r, group);
        if (b.kind != WndKind::Button || !qobject_cast<QRadioButton*>(b.widget)) {
            group = nullptr;
        }
        CWndImpl::registerWidget(b.widget, b.kind, c.id, c.style, c.exStyle);
        b.widget->setGeometry(placement(b, r));
        b.widget->setEnabled(!(c.style & WS_DISABLED));
        b.widget->setVisible(c.style & WS_VISIBLE);
        b.widget->setProperty("velmoraText", QString::fromStdU16String(c.text.Str()));
        CWndImpl::wireNotifications(b.widget);
        impl->items.push_back(itemObject(b.kind));
        impl->items.back()->GetImpl()->attach(b.widget, b.widget, false);
    }
}

} // namespace

QFont DialogBuilder::templateFont(const std::string&, int pointSize) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(pointSize > 0 ? pointSize : 8);
    return f;
}

void DialogBuilder::baseUnits(const QFont& font, int& baseX, int& baseY) {
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX = (width / 26 + 1) / 2;
    baseY = fm.height();
}

bool DialogBuilder::build(CDialog* dlg, const DialogTemplate& t) {
    if (!AfxWinInit()) {
        return false;
    }
    CWndImpl* impl = dlg->GetImpl();
    impl->font = templateFont(t.fontFace, t.fontSize);
    baseUnits(impl->font, impl->baseX, impl->baseY);
    auto* frame = new QWidget(nullptr, Qt::Window);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new QWidget(frame);
    client->setFont(impl->font);
    frame->setFont(impl->font);
    layout->addWidget(client);
    CWndImpl::registerWidget(client, WndKind::Dialog, 0, t.style, t.exStyle);
    impl->clientSize = QSize((t.cx * impl->baseX + 2) / 4, (t.cy * impl->baseY + 4) / 8);
    client->resize(impl->clientSize);
    buildControls(dlg, client, t);
    impl->attach(frame, client, true);
    frame->setWindowTitle(QString::fromStdU16String(t.caption.Str()));
    return true;
}
