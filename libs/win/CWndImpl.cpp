// CWndImpl: event translation, message dispatch, painting, timers and text of one window.
#include "CWndImpl.h"

#include "KeyMap.h"
#include "win/CScrollBar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <unordered_map>

namespace {

std::unordered_map<const QWidget*, WidgetInfo>& widgets() {
    static std::unordered_map<const QWidget*, WidgetInfo> map;
    return map;
}

// While set, the widget's own handling of the event in flight runs; its propagation to
// parents is swallowed (a message goes to one window only).
QWidget* g_nativeTarget = nullptr;
int g_eventDepth = 0;

UINT mouseKeys(Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    UINT k = 0;
    k |= (b & Qt::LeftButton) ? MK_LBUTTON : 0;
    k |= (b & Qt::RightButton) ? MK_RBUTTON : 0;
    k |= (b & Qt::MiddleButton) ? MK_MBUTTON : 0;
    k |= (m & Qt::ShiftModifier) ? MK_SHIFT : 0;
    k |= (m & Qt::ControlModifier) ? MK_CONTROL : 0;
    return k;
}

UINT mouseMessage(QEvent::Type t, Qt::MouseButton b) {
    if (t == QEvent::MouseMove) {
        return WM_MOUSEMOVE;
    }
    const bool down = t != QEvent::MouseButtonRelease;
    const bool dbl = t == QEvent::MouseButtonDblClick;
    if (b == Qt::RightButton) {
        return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    }
    if (b == Qt::MiddleButton) {
        return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
    return dbl ? WM_LBUTTONDBLCLK : (down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
}

// Statics without SS_NOTIFY and group boxes let the mouse through to their parent.
bool transparent(const WidgetInfo* i) {
    if (!i) {
        return true;
    }
    if (i->kind == WndKind::Static) {
        return (i->style & SS_NOTIFY) == 0;
    }
    return i->kind == WndKind::Button && (i->style & BS_TYPEMASK) == BS_GROUPBOX;
}

CWnd* mouseTarget(QWidget* w) {
    if (CWnd* c = CWndImpl::capture()) {
        return c;
    }
    CWnd* t = CWndImpl::windowOf(w);
    while (t && t->GetImpl()->widget()) {
        QWidget* tw = t->GetImpl()->widget();
        if (!transparent(CWndImpl::info(tw)) || t->GetImpl()->isTopLevel()) {
            break;
        }
        t = CWndImpl::windowOf(tw->parentWidget());
    }
    return t;
}

LPARAM packPoint(QPoint p) {
    return MAKELPARAM(static_cast<unsigned>(static_cast<short>(p.x())),
                      static_cast<unsigned>(static_cast<short>(p.y())));
}

} // namespace

CWnd*& CWndImpl::capture() {
    static CWnd* c = nullptr;
    return c;
}

QWidget*& CWndImpl::cursorWidget() {
    static QWidget* w = nullptr;
    return w;
}

CWndImpl::~CWndImpl() {
    killAllTimers();
    if (capture() == m_wnd) {
        capture() = nullptr;
    }
}

void CWndImpl::registerWidget(QWidget* w, WndKind kind, int id, DWORD style, DWORD exStyle) {
    WidgetInfo& i = widgets()[w];
    i.kind = kind;
    i.id = id;
    i.style = style;
    i.exStyle = exStyle;
    QObject::connect(w, &QObject::destroyed, [w] { widgets().erase(w); });
}

WidgetInfo* CWndImpl::info(const QWidget* w) {
    const auto it = widgets().find(w);
    return it == widgets().end() ? nullptr : &it->second;
}

CWnd* CWndImpl::fromWidget(const QWidget* w) {
    const WidgetInfo* i = info(w);
    return i ? i->wnd : nullptr;
}

CWnd* CWndImpl::windowOf(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (CWnd* c = fromWidget(w)) {
            return c;
        }
    }
    return nullptr;
}

WndKind CWndImpl::kind() const {
    const WidgetInfo* i = info();
    return i ? i->kind : WndKind::Generic;
}

void CWndImpl::installOn(QWidget* w) {
    w->installEventFilter(this);
    w->setMouseTracking(true);
    for (QWidget* child : w->findChildren<QWidget*>()) {
        if (!info(child)) {
            child->installEventFilter(this);
            child->setMouseTracking(true);
        }
    }
}

void CWndImpl::attach(QWidget* frame, QWidget* client, bool owns) {
    m_frame = frame;
    m_widget = client;
    m_owns = owns;
    WidgetInfo* i = info(client);
    if (i->wnd && i->wnd != m_wnd) {
        i->fallback = i->wnd;
        CWndImpl* old = i->wnd->GetImpl();
        sbMin = old->sbMin;
        sbMax = old->sbMax;
        sbPage = old->sbPage;
        old->uninstall();
    }
    i->wnd = m_wnd;
    m_wnd->m_hWnd = reinterpret_cast<HWND>(client);
    if (client->testAttribute(Qt::WA_SetCursor)) {
        m_nativeCursor = client->cursor();
    }
    installOn(client);
    if (frame != client) {
        frame->installEventFilter(this);
    }
    QObject::connect(client, &QObject::destroyed, this, [this] {
        m_wnd->m_hWnd = nullptr;
        m_widget = nullptr;
        m_frame = nullptr;
    });
}

void CWndImpl::uninstall() {
    if (!m_widget) {
        return;
    }
    m_widget->removeEventFilter(this);
    for (QWidget* child : m_widget->findChildren<QWidget*>()) {
        child->removeEventFilter(this);
    }
    if (m_frame) {
        m_frame->removeEventFilter(this);
    }
    QObject::disconnect(m_widget, nullptr, this, nullptr);
    m_wnd->m_hWnd = nullptr;
    m_widget = nullptr;
    m_frame = nullptr;
}

void CWndImpl::detach() {
    if (!m_widget) {
        return;
    }
    QWidget* w = m_widget;
    uninstall();
    WidgetInfo* i = info(w);
    if (i && i->wnd == m_wnd) {
        i->wnd = i->fallback;
        i->fallback = nullptr;
        if (i->wnd) {
            i->wnd->GetImpl()->attach(w, w, false);
        }
    }
}

void CWndImpl::destroyWidgets() {
    killAllTimers();
    QPointer<QWidget> frame = m_frame;
    const bool owns = m_owns;
    detach();
    if (owns && frame) {
        frame->hide();
        if (g_eventDepth > 0) {
            frame->deleteLater();
        } else {
            delete frame.data();
        }
    }
}

MSG CWndImpl::makeMsg(UINT message, WPARAM wParam, LPARAM lParam) const {
    MSG m{};
    m.hwnd = m_wnd->m_hWnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch());
    const QPoint g = QCursor::pos();
    m.pt = POINT{g.x(), g.y()};
    return m;
}

LRESULT CWndImpl::dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool* wantsNative) {
    m_stack.push_back({makeMsg(message, wParam, lParam), false});
    QPointer<CWndImpl> alive(this);
    const LRESULT r = m_wnd->WindowProc(message, wParam, lParam);
    if (!alive) {
        return r;
    }
    if (wantsNative) {
        *wantsNative = m_stack.back().native;
    }
    m_stack.pop_back();
    return r;
}

BOOL CWndImpl::deliverPosted(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m = makeMsg(message, wParam, lParam);
    if (CWnd::WalkPreTranslateTree(nullptr, &m)) {
        return TRUE;
    }
    dispatch(message, wParam, lParam);
    return FALSE;
}

const MSG* CWndImpl::currentMessage() const {
    return m_stack.empty() ? nullptr : &m_stack.back().msg;
}

void CWndImpl::markDefault(UINT message) {
    if (!m_stack.empty() && m_stack.back().msg.message == message) {
        m_stack.back().native = true;
    }
}

bool CWndImpl::passNative(QWidget* w, QEvent* e) {
    QWidget* saved = g_nativeTarget;
    g_nativeTarget = w;
    QCoreApplication::sendEvent(w, e);
    g_nativeTarget = saved;
    return true;
}

bool CWndImpl::onMouse(QWidget* w, QEvent* e) {
    auto* me = static_cast<QMouseEvent*>(e);
    CWnd* target = mouseTarget(w);
    if (!target || !target->GetImpl()->widget()) {
        return false;
    }
    CWndImpl* t = target->GetImpl();
    const QPoint p = t->widget()->mapFromGlobal(me->globalPosition().toPoint());
    UINT message = mouseMessage(e->type(), me->button());
    if (message == WM_LBUTTONDBLCLK && !target->FindMessageEntry(WM_LBUTTONDBLCLK)) {
        message = WM_LBUTTONDOWN;
    }
    const WPARAM keys = mouseKeys(me->buttons(), me->modifiers());
    QPointer<CWndImpl> alive(t);
    if (!capture() && (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN)) {
        QWidget* saved = cursorWidget();
        cursorWidget() = w;
        t->dispatch(WM_SETCURSOR, reinterpret_cast<WPARAM>(target->m_hWnd),
                    MAKELPARAM(HTCLIENT, message));
        cursorWidget() = saved;
    }
    if (!alive) {
        return true;
    }
    MSG m = t->makeMsg(message, keys, packPoint(p));
    if (CWnd::WalkPreTranslateTree(nullptr, &m) || !alive) {
        return true;
    }
    bool native = false;
    t->dispatch(message, keys, packPoint(p), &native);
    if (alive && native && CWndImpl::windowOf(w) == target) {
        passNative(w, e);
    }
    if (alive && message == WM_LBUTTONUP && t->kind() == WndKind::ScrollBar) {
        notifyScroll(t->widget(), SB_ENDSCROLL, 0);
    }
    return true;
}

bool CWndImpl::onWheel(QWidget* w, QEvent* e) {
    auto* we = static_cast<QWheelEvent*>(e);
    CWnd* target = capture() ? capture() : windowOf(w);
    if (!target) {
        return false;
    }
    const QPoint g = we->globalPosition().toPoint();
    const WPARAM wp = MAKEWPARAM(mouseKeys(we->buttons(), we->modifiers()),
                                 static_cast<unsigned>(static_cast<short>(we->angleDelta().y())));
    CWndImpl* t = target->GetImpl();
    QPointer<CWndImpl> alive(t);
    MSG m = t->makeMsg(WM_MOUSEWHEEL, wp, packPoint(g));
    if (CWnd::WalkPreTranslateTree(nullptr, &m) || !alive) {
        return true;
    }
    bool native = false;
    t->dispatch(WM_MOUSEWHEEL, wp, packPoint(g), &native);
    if (alive && native && windowOf(w) == target) {
        passNative(w, e);
    }
    return true;
}

bool CWndImpl::onKey(QWidget* w, QEvent* e) {
    auto* ke = static_cast<QKeyEvent*>(e);
    CWnd* target = windowOf(w);
    const UINT vk = KeyMap::toVk(ke->key());
    if (!target || vk == 0) {
        return false;
    }
    const UINT message = e->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
    LPARAM lp = 1 | (static_cast<LPARAM>(ke->nativeScanCode() & 0xFF) << 16);
    lp |= ke->isAutoRepeat() ? (1L << 30) : 0;
    lp |= message == WM_KEYUP ? (3L << 30) : 0;
    CWndImpl* t = target->GetImpl();
    QPointer<CWndImpl> alive(t);
    MSG m = t->makeMsg(message, vk, lp);
    if (CWnd::WalkPreTranslateTree(nullptr, &m) || !alive) {
        return true;
    }
    bool native = false;
    t->dispatch(message, vk, lp, &native);
    if (alive && native) {
        passNative(w, e);
    }
    if (alive && message == WM_KEYUP && t->kind() == WndKind::ScrollBar) {
        notifyScroll(t->widget(), SB_ENDSCROLL, 0);
    }
    return true;
}

bool CWndImpl::onPaint(QEvent* e) {
    if (!m_wnd->FindMessageEntry(WM_PAINT)) {
        m_invalid = QRegion();
        return false;
    }
    // A picture that no one invalidated since it was painted at this size is still what the
    // window shows: a grab of a frame just presented need not render it a second time.
    if (!(reusingPictures() && pictureIsCurrent())) {
        m_invalid += static_cast<QPaintEvent*>(e)->region();
        QPointer<CWndImpl> alive(this);
        dispatch(WM_PAINT, 0, 0);
        if (!alive || !m_widget) {
            return true;
        }
        m_invalid = QRegion();
        m_paintedSize = m_widget->size();
    }
    QPainter p(m_widget);
    const QImage& shown = picture();
    if (m_pictureOpaque) {
        // Over what lies below, an opaque picture shows the same when copied as when blended;
        // read as RGB32 (the same bytes), it is copied row by row into an RGB32 backing store.
        const QImage opaque(shown.constBits(), shown.width(), shown.height(), shown.bytesPerLine(),
                            QImage::Format_RGB32);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, opaque);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        p.drawImage(0, 0, shown);
    }
    paintEdge(p);
    return true;
}

bool CWndImpl::pictureIsCurrent() const {
    return m_invalid.isEmpty() && m_paintedSize == m_widget->size();
}

void CWndImpl::paintEdge(QPainter& p) const {
    const WidgetInfo* i = info();
    if (i && (i->style & WS_BORDER)) {
        p.setPen(QColor(100, 100, 100));
        p.drawRect(m_widget->rect().adjusted(0, 0, -1, -1));
    } else if (i && (i->exStyle & WS_EX_CLIENTEDGE)) {
        p.setPen(QColor(130, 130, 130));
        p.drawLine(0, 0, m_widget->width() - 1, 0);
        p.drawLine(0, 0, 0, m_widget->height() - 1);
        p.setPen(Qt::white);
        p.drawLine(1, m_widget->height() - 1, m_widget->width() - 1, m_widget->height() - 1);
        p.drawLine(m_widget->width() - 1, 1, m_widget->width() - 1, m_widget->height() - 1);
    }
}

QImage CWndImpl::shownPicture() {
    if (!m_widget || isTopLevel() || !m_wnd->FindMessageEntry(WM_PAINT) || !pictureIsCurrent())
        return QImage();
    for (const QWidget* child : m_widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(m_widget))
            return QImage();
    QImage shown = picture();
    const WidgetInfo* i = info();
    if (i && ((i->style & WS_BORDER) || (i->exStyle & WS_EX_CLIENTEDGE))) {
        QPainter p(&shown);
        paintEdge(p);
    }
    return shown;
}

void CWndImpl::onResize() {
    m_erasePending = true;
    const QSize s = m_widget->size();
    dispatch(WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<unsigned>(s.width()), static_cast<unsigned>(s.height())));
}

bool CWndImpl::eventFilter(QObject* obj, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(obj);
    if (!w || !m_widget) {
        return false;
    }
    if (g_nativeTarget) {
        return w != g_nativeTarget;
    }
    struct Depth {
        Depth() { ++g_eventDepth; }
        ~Depth() { --g_eventDepth; }
    } depth;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        e->accept();
        return onMouse(w, e);
    case QEvent::Wheel:
        e->accept();
        return onWheel(w, e);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return onKey(w, e);
    case QEvent::Paint:
        return w == m_widget && onPaint(e);
    case QEvent::Resize:
        if (w == m_widget) {
            onResize();
        }
        return false;
    case QEvent::Show:
        m_erasePending = true;
        return false;
    case QEvent::Close:
        if (w == m_frame) {
            e->ignore();
            dispatch(WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool& CWndImpl::reusingPictures() {
    static bool reusing = false;
    return reusing;
}

QImage& CWndImpl::picture() {
    const QSize s = m_widget ? m_widget->size() : QSize(1, 1);
    if (m_picture.size() != s && !s.isEmpty()) {
        QImage next(s, QImage::Format_ARGB32_Premultiplied);
        const QColor fill = m_widget ? m_widget->palette().color(QPalette::Window) : Qt::white;
        next.fill(fill);
        // The old picture blends over an opaque fill, so the result is as opaque as the fill.
        m_pictureOpaque = fill.alpha() == 255;
        if (!m_picture.isNull()) {
            QPainter(&next).drawImage(0, 0, m_picture);
        }
        m_picture = std::move(next);
    }
    return m_picture;
}

void CWndImpl::eraseBackground() {
    if (m_widget) {
        const QColor fill = m_widget->palette().color(QPalette::Window);
        picture().fill(fill);
        m_pictureOpaque = fill.alpha() == 255;
    }
}

void CWndImpl::defaultCursor(WPARAM) {
    QWidget* w = cursorWidget() ? cursorWidget() : m_widget.data();
    if (!w) {
        return;
    }
    CWndImpl* owner = of(windowOf(w));
    if (owner && owner->m_nativeCursor && owner->m_widget == w) {
        w->setCursor(*owner->m_nativeCursor);
    } else {
        w->unsetCursor();
    }
    if (owner && owner->m_widget) {
        owner->m_widget->setProperty("velmoraCursor", QVariant());
    }
}

LRESULT CWndImpl::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* parent = isTopLevel() ? nullptr : m_wnd->GetParent();
    switch (message) {
    case WM_PAINT:
        m_invalid = QRegion();
        return 0;
    case WM_ERASEBKGND:
        eraseBackground();
        m_erasePending = false;
        return 1;
    case WM_SETCURSOR:
        if (parent && parent->SendMessage(WM_SETCURSOR, wParam, lParam)) {
            return TRUE;
        }
        defaultCursor(wParam);
        return FALSE;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        markDefault(message);
        return parent ? parent->SendMessage(message, wParam, lParam) : 0;
    case WM_RBUTTONUP: {
        markDefault(message);
        CPoint p(lParam);
        m_wnd->ClientToScreen(&p);
        return m_wnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_wnd->m_hWnd),
                                  packPoint(QPoint(p.x, p.y)));
    }
    case WM_CLOSE:
        m_wnd->DestroyWindow();
        return 0;
    default:
        markDefault(message);
        return 0;
    }
}

UINT_PTR CWndImpl::setTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
    const UINT period = elapse < USER_TIMER_MINIMUM
                            ? USER_TIMER_MINIMUM
                            : (elapse > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM : elapse);
    Timer& t = m_timers[id];
    if (!t.timer) {
        t.timer = std::make_unique<QTimer>();
        QObject::connect(t.timer.get(), &QTimer::timeout, this, [this, id] { fireTimer(id); });
    }
    t.proc = proc;
    t.period = period;
    t.timer->start(static_cast<int>(period));
    return id;
}

BOOL CWndImpl::killTimer(UINT_PTR id) {
    return m_timers.erase(id) ? TRUE : FALSE;
}

void CWndImpl::killAllTimers() {
    m_timers.clear();
}

BOOL CWndImpl::fireTimer(UINT_PTR id) {
    const auto it = m_timers.find(id);
    if (it == m_timers.end()) {
        return FALSE;
    }
    if (TIMERPROC proc = it->second.proc) {
        proc(m_wnd->m_hWnd, WM_TIMER, id, static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()));
        return TRUE;
    }
    deliverPosted(WM_TIMER, id, 0);
    return TRUE;
}

UINT CWndImpl::timerPeriod(UINT_PTR id) const {
    const auto it = m_timers.find(id);
    return it == m_timers.end() ? 0 : it->second.period;
}

void CWndImpl::setText(const CString& text) {
    const QString q = QString::fromStdU16String(text.Str());
    QWidget* w = m_widget;
    if (!w) {
        return;
    }
    if (isTopLevel()) {
        m_frame->setWindowTitle(q);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setProperty("velmoraText", q);
        b->setToolTip((info()->style & BS_ICON) ? q : QString());
        if (!(info()->style & BS_ICON) || b->icon().isNull()) {
            b->setText(q);
        }
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        // As an edit control does, a new text shows from its first character.
        e->setText(q);
        e->setCursorPosition(0);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        c->setEditText(q);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(q);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(q);
    }
    w->setProperty("velmoraText", q);
}

CString CWndImpl::text() const {
    QWidget* w = m_widget;
    if (!w) {
        return CString();
    }
    if (isTopLevel()) {
        return CString(m_frame->windowTitle().toStdU16String());
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        return CString(e->text().toStdU16String());
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        return CString(c->currentText().toStdU16String());
    }
    return CString(w->property("velmoraText").toString().toStdU16String());
}

void CWndImpl::setButtonCheck(QWidget* button, bool checked) {
    auto* b = qobject_cast<QAbstractButton*>(button);
    if (!b) {
        return;
    }
    QButtonGroup* g = b->group();
    const bool exclusive = g && g->exclusive();
    if (exclusive) {
        g->setExclusive(false);
    }
    b->setChecked(checked);
    if (exclusive) {
        g->setExclusive(true);
    }
}

void CWndImpl::notifyParent(QWidget* control, UINT code) {
    const WidgetInfo* i = info(control);
    CWnd* parent = windowOf(control->parentWidget());
    if (i && parent) {
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(i->id), code),
                            reinterpret_cast<LPARAM>(control));
    }
}

void CWndImpl::notifyScroll(QWidget* bar, UINT code, int pos) {
    const WidgetInfo* i = info(bar);
    CWnd* parent = windowOf(bar->parentWidget());
    if (!i || !parent) {
        return;
    }
    const UINT message = (i->style & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    parent->SendMessage(message, MAKEWPARAM(code, static_cast<unsigned>(pos)),
                        reinterpret_cast<LPARAM>(bar));
}

namespace {

UINT scrollCode(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINERIGHT;
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINELEFT;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGERIGHT;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGELEFT;
    case QAbstractSlider::SliderToMinimum:
        return SB_LEFT;
    case QAbstractSlider::SliderToMaximum:
        return SB_RIGHT;
    default:
        return SB_THUMBTRACK;
    }
}

void wireScrollBar(QScrollBar* bar) {
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int action) {
        const int track = bar->sliderPosition();
        // The bar does not move by itself: the parent's handler sets the position.
        bar->setSliderPosition(bar->value());
        CWndImpl* impl = CWndImpl::of(CWndImpl::fromWidget(bar));
        const UINT code = scrollCode(action);
        if (impl && code == SB_THUMBTRACK) {
            impl->sbTrack = track;
        }
        CWndImpl::notifyScroll(bar, code, code == SB_THUMBTRACK ? track : 0);
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [bar] {
        CWndImpl* impl = CWndImpl::of(CWndImpl::fromWidget(bar));
        CWndImpl::notifyScroll(bar, SB_THUMBPOSITION, impl ? impl->sbTrack : bar->value());
    });
}

} // namespace

void CWndImpl::wireNotifications(QWidget* control) {
    if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(b, &QAbstractButton::clicked, b, [b] { notifyParent(b, BN_CLICKED); });
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        QObject::connect(c, &QComboBox::activated, c, [c] { notifyParent(c, CBN_SELCHANGE); });
        if (c->lineEdit()) {
            QObject::connect(c->lineEdit(), &QLineEdit::textEdited, c,
                             [c] { notifyParent(c, CBN_EDITCHANGE); });
        }
    } else if (auto* e = qobject_cast<QLineEdit*>(control)) {
        QObject::connect(e, &QLineEdit::textChanged, e, [e] { notifyParent(e, EN_CHANGE); });
    } else if (auto* s = qobject_cast<QScrollBar*>(control)) {
        wireScrollBar(s);
    }
}
