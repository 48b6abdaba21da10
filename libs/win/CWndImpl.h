// CWndImpl: the native side of a CWnd. It holds the window's widget, turns the widget's Qt
// events into Windows messages (PreTranslateMessage walk, then the message map), keeps the
// invalid region, the picture that WM_PAINT draws on, the timers, icons and menu.
#pragma once

#include "win/CMenu.h"
#include "win/CWnd.h"

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QMenuBar;

enum class WndKind { Generic, Dialog, Static, Button, Edit, ComboBox, ScrollBar };

// What a widget is as a window: kept with the widget, whichever CWnd is attached to it.
struct WidgetInfo {
    CWnd* wnd = nullptr;
    CWnd* fallback = nullptr; // the default object, restored when a subclass detaches
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    WndKind kind = WndKind::Generic;
};

class CWndImpl : public QObject {
public:
    explicit CWndImpl(CWnd* wnd) : m_wnd(wnd) {}
    ~CWndImpl() override;

    // Registers a new widget as a window (before any CWnd is attached).
    static void registerWidget(QWidget* w, WndKind kind, int id, DWORD style, DWORD exStyle);
    static WidgetInfo* info(const QWidget* w);
    static CWnd* fromWidget(const QWidget* w);
    // The window of w or of its nearest ancestor that is one.
    static CWnd* windowOf(const QWidget* w);
    static CWndImpl* of(const CWnd* w) { return w ? w->GetImpl() : nullptr; }
    // The window holding the mouse capture, null when none does.
    static CWnd*& capture();
    // The widget whose WM_SETCURSOR is being handled (where SetCursor applies), or null.
    static QWidget*& cursorWidget();
    // Sends WM_COMMAND with the control's id and the code to the control's parent.
    static void notifyParent(QWidget* control, UINT code);
    // Sends a scroll code of a scroll-bar control to its parent.
    static void notifyScroll(QWidget* bar, UINT code, int pos);
    // Sets a button's check state alone: a radio button of a group is set or cleared without
    // touching the others, as BM_SETCHECK does; nothing is notified.
    static void setButtonCheck(QWidget* button, bool checked);
    // Connects the native signals of a control to the notifications Windows sends.
    static void wireNotifications(QWidget* control);

    // frame: the top-level window (or the widget itself for children); client: the widget
    // whose events and coordinates are the window's.
    void attach(QWidget* frame, QWidget* client, bool owns);
    void detach();
    // Stops handling the widget's events, leaving its bookkeeping to the next window.
    void uninstall();
    void destroyWidgets();

    CWnd* wnd() const { return m_wnd; }
    QWidget* widget() const { return m_widget; }
    QWidget* frame() const { return m_frame; }
    WidgetInfo* info() const { return info(m_widget); }
    WndKind kind() const;
    bool isTopLevel() const { return m_frame && m_frame != m_widget; }

    // Messages.
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool* wantsNative = nullptr);
    BOOL deliverPosted(UINT message, WPARAM wParam, LPARAM lParam);
    const MSG* currentMessage() const;
    // Default processing that the layer does itself (the rest is the widget's own).
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    void markDefault(UINT message);
    MSG makeMsg(UINT message, WPARAM wParam, LPARAM lParam) const;

    // Painting.
    QImage& picture();
    // The painter of the device context drawing on the picture right now, if any: a picture
    // takes one painter at a time, so everything drawn meanwhile goes through it.
    QPainter*& picturePainter() { return m_picturePainter; }
    // Whether every pixel of the picture is opaque, as far as its painting tells; showing an
    // opaque picture needs no blending.
    bool& pictureOpaque() { return m_pictureOpaque; }
    QRegion& invalid() { return m_invalid; }
    bool& erasePending() { return m_erasePending; }
    void eraseBackground();
    // While set, the paints of a window grab show the pictures of windows painted since their
    // last invalidation as they are, instead of painting them again.
    static bool& reusingPictures();
    // What a paint would show now without painting again, edge included, when the picture was
    // painted at this size, nothing was invalidated since and no child window lies over it;
    // a null image otherwise.
    QImage shownPicture();

    // Timers.
    UINT_PTR setTimer(UINT_PTR id, UINT elapse, TIMERPROC proc);
    BOOL killTimer(UINT_PTR id);
    void killAllTimers();
    BOOL fireTimer(UINT_PTR id);
    UINT timerPeriod(UINT_PTR id) const;

    // Text of the window, by kind.
    void setText(const CString& text);
    CString text() const;

    // Dialog data: template font and base units, default objects of the items, menu.
    QFont font;
    QSize clientSize;
    int baseX = 0;
    int baseY = 0;
    std::vector<std::unique_ptr<CWnd>> items;
    CWnd* owner = nullptr;
    // A top-level window has its place once the program moved it or it was shown.
    bool placed = false;
    HICON icons[2] = {nullptr, nullptr};
    CMenu* menu = nullptr;
    std::unique_ptr<CMenu> ownMenu;
    QPointer<QMenuBar> menuBar;
    // Scroll-bar data: Windows' range and page (the native bar keeps the position).
    int sbMin = 0;
    int sbMax = 100;
    UINT sbPage = 0;
    int sbTrack = 0;

protected:
    bool eventFilter(QObject* obj, QEvent* e) override;

private:
    struct Dispatch {
        MSG msg;
        bool native;
    };
    struct Timer {
        std::unique_ptr<QTimer> timer;
        TIMERPROC proc;
        UINT period;
    };

    bool onMouse(QWidget* w, QEvent* e);
    bool onWheel(QWidget* w, QEvent* e);
    bool onKey(QWidget* w, QEvent* e);
    bool onPaint(QEvent* e);
    bool pictureIsCurrent() const;
    // The border or client edge of the window's style, over the picture.
    void paintEdge(QPainter& p) const;
    void onResize();
    bool passNative(QWidget* w, QEvent* e);
    void defaultCursor(WPARAM hwnd);
    void installOn(QWidget* w);

    CWnd* m_wnd;
    QPointer<QWidget> m_widget;
    QPointer<QWidget> m_frame;
    bool m_owns = false;
    QImage m_picture;
    QPainter* m_picturePainter = nullptr;
    bool m_pictureOpaque = false;
    QRegion m_invalid;
    bool m_erasePending = true;
    QSize m_paintedSize; // size of the last painting of the picture; empty before the first
    std::vector<Dispatch> m_stack;
    std::map<UINT_PTR, Timer> m_timers;
    std::optional<QCursor> m_nativeCursor;
};
