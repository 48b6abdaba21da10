// CWinTestDriver: native input events for tests, delivered to the widget under the point.
#include "win/CWinTestDriver.h"

#include "CMenuImpl.h"
#include "CWndImpl.h"
#include "KeyMap.h"
#include "ResourceRegistry.h"
#include "win/AfxApi.h"
#include "win/CComboBox.h"
#include "win/CScrollBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace {

QPointer<QWidget>& pressed() {
    static QPointer<QWidget> w;
    return w;
}

Qt::MouseButtons& heldButtons() {
    static Qt::MouseButtons b = Qt::NoButton;
    return b;
}

Qt::MouseButton qtButton(UINT button) {
    return button == MK_RBUTTON ? Qt::RightButton
                                : (button == MK_MBUTTON ? Qt::MiddleButton : Qt::LeftButton);
}

Qt::KeyboardModifiers modifiers(UINT keys) {
    Qt::KeyboardModifiers m = Qt::NoModifier;
    m |= (keys & MK_SHIFT) ? Qt::ShiftModifier : Qt::NoModifier;
    m |= (keys & MK_CONTROL) ? Qt::ControlModifier : Qt::NoModifier;
    return m;
}

// The deepest widget under pt (client coordinates of wnd), and pt in its coordinates.
QWidget* widgetAt(CWnd* wnd, CPoint pt, QPoint& local) {
    QWidget* client = CWndImpl::of(wnd)->widget();
    QWidget* w = client->childAt(QPoint(pt.x, pt.y));
    w = w ? w : client;
    local = w->mapFrom(client, QPoint(pt.x, pt.y));
    return w;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, UINT keys) {
    QMouseEvent e(type, local, w->mapToGlobal(local), button, heldButtons(), modifiers(keys));
    QApplication::sendEvent(w, &e);
}

} // namespace

BOOL CWinTestDriver::EnsureApplication() {
    return AfxWinInit();
}

void CWinTestDriver::ProcessEvents() {
    AfxPumpMessages();
}

void CWinTestDriver::MouseDown(CWnd* wnd, CPoint pt, UINT button, UINT keys) {
    if (!wnd || !wnd->m_hWnd) {
        return;
    }
    QPoint local;
    QWidget* w = widgetAt(wnd, pt, local);
    pressed() = w;
    heldButtons() |= qtButton(button);
    sendMouse(w, QEvent::MouseButtonPress, local, qtButton(button), keys);
}

void CWinTestDriver::MouseMove(CWnd* wnd, CPoint pt, UINT) {
    if (!wnd || !wnd->m_hWnd) {
        return;
    }
    QPoint local;
    QWidget* w = widgetAt(wnd, pt, local);
    if (pressed()) {
        w = pressed();
        local = w->mapFrom(CWndImpl::of(wnd)->widget(), QPoint(pt.x, pt.y));
    }
    sendMouse(w, QEvent::MouseMove, local, Qt::NoButton, 0);
}

void CWinTestDriver::MouseUp(CWnd* wnd, CPoint pt, UINT button, UINT keys) {
    if (!wnd || !wnd->m_hWnd) {
        return;
    }
    QPoint local;
    QWidget* w = widgetAt(wnd, pt, local);
    if (pressed()) {
        w = pressed();
        local = w->mapFrom(CWndImpl::of(wnd)->widget(), QPoint(pt.x, pt.y));
    }
    heldButtons() &= ~qtButton(button);
    pressed() = nullptr;
    sendMouse(w, QEvent::MouseButtonRelease, local, qtButton(button), keys);
}

void CWinTestDriver::Drag(CWnd* wnd, CPoint from, CPoint to, int steps) {
    MouseDown(wnd, from);
    const int n = std::max(steps, 1);
    for (int i = 1; i <= n; ++i) {
        MouseMove(wnd, CPoint(from.x + (to.x - from.x) * i / n, from.y + (to.y - from.y) * i / n),
                  MK_LBUTTON);
    }
    MouseUp(wnd, to);
}

void CWinTestDriver::Wheel(CWnd* wnd, CPoint pt, short delta, UINT keys) {
    if (!wnd || !wnd->m_hWnd) {
        return;
    }
    QPoint local;
    QWidget* w = widgetAt(wnd, pt, local);
    QWheelEvent e(local, w->mapToGlobal(local), QPoint(), QPoint(0, delta), heldButtons(),
                  modifiers(keys), Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

void CWinTestDriver::Click(CWnd* wnd) {
    if (!wnd || !wnd->m_hWnd) {
        return;
    }
    CRect r;
    wnd->GetClientRect(&r);
    MouseDown(wnd, r.CenterPoint());
    MouseUp(wnd, r.CenterPoint());
}

void CWinTestDriver::KeyPress(CWnd* wnd, UINT vk) {
    if (!wnd || !wnd->m_hWnd) {
        return;
    }
    QWidget* w = CWndImpl::of(wnd)->widget();
    w->window()->activateWindow();
    w->setFocus();
    QWidget* target = w->focusProxy() ? w->focusProxy() : w;
    const int key = KeyMap::fromVk(vk);
    const QString text = (vk >= '0' && vk <= 'Z') ? QString(QChar(vk)).toLower() : QString();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void CWinTestDriver::TypeText(CWnd* edit, LPCTSTR text) {
    auto* line =
        edit && edit->m_hWnd ? qobject_cast<QLineEdit*>(CWndImpl::of(edit)->widget()) : nullptr;
    if (!line) {
        return;
    }
    line->setFocus();
    line->selectAll();
    for (const QChar ch : QString::fromUtf16(text ? text : u"")) {
        const int key = ch.isLetterOrNumber() ? ch.toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(line, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(line, &release);
    }
}

void CWinTestDriver::SelectComboItem(CComboBox* combo, int index) {
    auto* c =
        combo && combo->m_hWnd ? qobject_cast<QComboBox*>(CWndImpl::of(combo)->widget()) : nullptr;
    if (!c || index < 0 || index >= c->count()) {
        return;
    }
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void CWinTestDriver::ScrollAction(CScrollBar* bar, UINT sbCode, int thumbPos) {
    auto* b = bar && bar->m_hWnd ? qobject_cast<QScrollBar*>(CWndImpl::of(bar)->widget()) : nullptr;
    if (!b) {
        return;
    }
    static const std::map<UINT, QAbstractSlider::SliderAction> actions = {
        {SB_LINELEFT, QAbstractSlider::SliderSingleStepSub},
        {SB_LINERIGHT, QAbstractSlider::SliderSingleStepAdd},
        {SB_PAGELEFT, QAbstractSlider::SliderPageStepSub},
        {SB_PAGERIGHT, QAbstractSlider::SliderPageStepAdd},
        {SB_LEFT, QAbstractSlider::SliderToMinimum},
        {SB_RIGHT, QAbstractSlider::SliderToMaximum}};
    if (sbCode == SB_THUMBTRACK || sbCode == SB_THUMBPOSITION) {
        b->setSliderDown(true);
        b->setSliderPosition(thumbPos);
        b->setSliderDown(false);
    } else if (const auto it = actions.find(sbCode); it != actions.end()) {
        b->triggerAction(it->second);
    }
    CWndImpl::notifyScroll(b, SB_ENDSCROLL, 0);
}

BOOL CWinTestDriver::FireTimer(CWnd* wnd, UINT_PTR id) {
    return wnd ? CWndImpl::of(wnd)->fireTimer(id) : FALSE;
}

BOOL CWinTestDriver::HasTimer(CWnd* wnd, UINT_PTR id) {
    return TimerPeriod(wnd, id) != 0 ? TRUE : FALSE;
}

UINT CWinTestDriver::TimerPeriod(CWnd* wnd, UINT_PTR id) {
    return wnd ? CWndImpl::of(wnd)->timerPeriod(id) : 0;
}

BOOL CWinTestDriver::GrabToPng(CWnd* wnd, const char* path) {
    return AfxSaveWindowImage(wnd, path);
}

std::vector<std::uint32_t> CWinTestDriver::GrabClient(CWnd* wnd, int* width, int* height) {
    if (!wnd || !wnd->m_hWnd) {
        return {};
    }
    const QImage image =
        CWndImpl::of(wnd)->widget()->grab().toImage().convertToFormat(QImage::Format_RGBA8888);
    if (width) {
        *width = image.width();
    }
    if (height) {
        *height = image.height();
    }
    std::vector<std::uint32_t> pixels(static_cast<size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::copy(row, row + image.width(),
                  pixels.begin() + static_cast<size_t>(y) * image.width());
    }
    return pixels;
}

HCURSOR CWinTestDriver::ShownCursor(CWnd* wnd) {
    if (!wnd || !wnd->m_hWnd) {
        return nullptr;
    }
    const QVariant v = CWndImpl::of(wnd)->widget()->property("velmoraCursor");
    return v.isValid() ? reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(v.toULongLong()))
                       : nullptr;
}

UINT CWinTestDriver::ShownCursorId(CWnd* wnd) {
    const ImageRecord* r = ResourceRegistry::instance().record(ShownCursor(wnd));
    return r ? r->idc : IDC_ARROW;
}

BOOL CWinTestDriver::PickMenuItem(CWnd* wnd, UINT id) {
    CMenu* menu = wnd ? wnd->GetMenu() : nullptr;
    MenuItem* item = menu ? menu->GetImpl()->find(id, MF_BYCOMMAND) : nullptr;
    if (!item) {
        return FALSE;
    }
    for (const QPointer<QAction>& a : item->actions) {
        if (a && a->isEnabled()) {
            a->trigger();
            return TRUE;
        }
    }
    return FALSE;
}
