// AfxApi: the message-box hook, cursors, icons, capture and the application object.
#include "win/AfxApi.h"

#include "CWndImpl.h"
#include "ResourceRegistry.h"
#include "WindowPlacement.h"
#include "png/CPngWriter.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

AFX_MESSAGEBOX_HOOK& hook() {
    static AFX_MESSAGEBOX_HOOK h;
    return h;
}

int defaultMessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) {
    if (!qApp) {
        return IDOK;
    }
    QMessageBox box(CWndImpl::of(owner) ? CWndImpl::of(owner)->frame() : nullptr);
    box.setWindowTitle(QString::fromStdU16String(caption.Str()));
    box.setText(QString::fromStdU16String(text.Str()));
    const UINT icon = type & 0xF0;
    box.setIcon(icon == MB_ICONERROR         ? QMessageBox::Critical
                : icon == MB_ICONQUESTION    ? QMessageBox::Question
                : icon == MB_ICONEXCLAMATION ? QMessageBox::Warning
                : icon == MB_ICONINFORMATION ? QMessageBox::Information
                                             : QMessageBox::NoIcon);
    switch (type & 0xF) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}

AFX_SAVEFILE_HOOK& saveFileHook() {
    static AFX_SAVEFILE_HOOK h;
    return h;
}

BOOL defaultSaveFile(CWnd* owner, const CString& title, const CString& filter, CString& path) {
    if (!qApp || QGuiApplication::platformName() == QLatin1String("offscreen")) {
        return FALSE;
    }
    const QString chosen = QFileDialog::getSaveFileName(
        CWndImpl::of(owner) ? CWndImpl::of(owner)->frame() : nullptr,
        QString::fromStdU16String(title.Str()), QString::fromStdU16String(path.Str()),
        QString::fromStdU16String(filter.Str()));
    if (chosen.isEmpty()) {
        return FALSE;
    }
    path = CString(chosen.toStdU16String());
    return TRUE;
}

HCURSOR& currentCursor() {
    static HCURSOR c = nullptr;
    return c;
}

} // namespace

AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK h) {
    return std::exchange(hook(), std::move(h));
}

int AfxShowMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    const CString text(lpszText);
    const CString caption(lpszCaption ? CString(lpszCaption) : CString(u"Velmora"));
    return hook() ? hook()(pOwner, text, caption, nType)
                  : defaultMessageBox(pOwner, text, caption, nType);
}

AFX_SAVEFILE_HOOK AfxSetSaveFileHook(AFX_SAVEFILE_HOOK h) {
    return std::exchange(saveFileHook(), std::move(h));
}

BOOL AfxGetSaveFileName(CWnd* pOwner, LPCTSTR lpszTitle, LPCTSTR lpszFilter, CString& path) {
    const CString title(lpszTitle ? lpszTitle : u"");
    const CString filter(lpszFilter ? lpszFilter : u"");
    return saveFileHook() ? saveFileHook()(pOwner, title, filter, path)
                          : defaultSaveFile(pOwner, title, filter, path);
}

BOOL AfxPlaceWindowBeside(CWnd* pWnd, const CWnd* pAnchor) {
    CWndImpl* impl = CWndImpl::of(pWnd);
    const CWndImpl* anchor = CWndImpl::of(pAnchor);
    if (!impl || !anchor || !pWnd->m_hWnd || !pAnchor->m_hWnd) {
        return FALSE;
    }
    CWndImpl* top = CWndImpl::of(pWnd->GetTopLevelParent());
    QWidget* frame = (top ? top : impl)->frame()->window();
    WindowPlacement::placeBeside(frame, anchor->frame());
    (top ? top : impl)->placed = true;
    return TRUE;
}

namespace {

// A window whose picture is what it shows gives the picture itself; any other is grabbed,
// reusing the pictures of its children that are current.
QImage shownImage(CWndImpl& impl) {
    QImage image = impl.shownPicture();
    if (image.isNull()) {
        CWndImpl::reusingPictures() = true;
        image = impl.frame()->grab().toImage();
        CWndImpl::reusingPictures() = false;
    }
    return image;
}

} // namespace

BOOL AfxGetWindowImage(CWnd* pWnd, std::vector<std::uint32_t>& rgba, int& width, int& height) {
    CWndImpl* impl = CWndImpl::of(pWnd);
    if (!impl || !pWnd->m_hWnd)
        return FALSE;
    const QImage image = shownImage(*impl).convertToFormat(QImage::Format_RGBX8888);
    if (image.isNull())
        return FALSE;
    width = image.width();
    height = image.height();
    rgba.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        std::memcpy(rgba.data() + static_cast<size_t>(y) * width, image.constScanLine(y),
                    static_cast<size_t>(width) * 4);
    return TRUE;
}

BOOL AfxSaveWindowImage(CWnd* pWnd, const char* path) {
    CWndImpl* impl = CWndImpl::of(pWnd);
    if (!impl || !pWnd->m_hWnd || !path) {
        return FALSE;
    }
    QImage image = shownImage(*impl);
    // The encoder reads 32-bit pixels as B, G, R, A in memory.
    static_assert(std::endian::native == std::endian::little);
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    CPngWriter::Image pixels{image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                             CPngWriter::Layout::Bgra};
    pixels.premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    return CPngWriter::write(path, pixels) ? TRUE : FALSE;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    return AfxShowMessageBox(nullptr, lpszText, nullptr, nType);
}

BOOL ReleaseCapture() {
    CWndImpl::capture() = nullptr;
    return TRUE;
}

HCURSOR SetCursor(HCURSOR hCursor) {
    const HCURSOR previous = std::exchange(currentCursor(), hCursor);
    const ImageRecord* r = ResourceRegistry::instance().record(hCursor);
    QWidget* w = CWndImpl::cursorWidget();
    if (!w && qApp) {
        w = QApplication::widgetAt(QCursor::pos());
    }
    if (!w || !r) {
        return previous;
    }
    if (r->shape >= 0) {
        w->setCursor(QCursor(static_cast<Qt::CursorShape>(r->shape)));
    } else {
        w->setCursor(QCursor(QPixmap::fromImage(r->image), r->hotX, r->hotY));
    }
    CWnd* owner = CWndImpl::windowOf(w);
    QWidget* shown = owner ? CWndImpl::of(owner)->widget() : w;
    shown->setProperty("velmoraCursor",
                       QVariant::fromValue<qulonglong>(reinterpret_cast<std::uintptr_t>(hCursor)));
    return previous;
}

HCURSOR GetCursor() {
    return currentCursor();
}

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) {
        return FALSE;
    }
    const QPoint p = QCursor::pos();
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

HINSTANCE AfxGetResourceHandle() {
    static int anchor = 0;
    return reinterpret_cast<HINSTANCE>(&anchor);
}

HINSTANCE AfxGetInstanceHandle() {
    return AfxGetResourceHandle();
}

HCURSOR LoadCursor(HINSTANCE hInstance, UINT nIDResource) {
    return hInstance ? AfxLoadCursor(nIDResource)
                     : ResourceRegistry::instance().standardCursor(nIDResource);
}

HICON LoadIcon(HINSTANCE hInstance, UINT nIDResource) {
    return hInstance ? AfxLoadIcon(nIDResource) : nullptr;
}

HCURSOR AfxLoadCursor(UINT nIDResource) {
    HCURSOR c = ResourceRegistry::instance().cursor(nIDResource);
    return c ? c : ResourceRegistry::instance().standardCursor(nIDResource);
}

HICON AfxLoadIcon(UINT nIDResource) {
    return ResourceRegistry::instance().icon(nIDResource);
}

namespace {

QtMessageHandler g_qtHandler = nullptr;

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// What Qt says while the application object is being made, held until it is known whether
// the display opened.
std::mutex g_heldMutex;
bool g_holding = false;
std::vector<HeldMessage> g_held;

// Warnings that say nothing to a user: Qt makes its own runtime directory when the session
// has none, and the offscreen platform reports every window-manager request it cannot honour
// (raise, size hints).
bool isNoise(QtMsgType type, const QString& text) {
    return type == QtWarningMsg &&
           (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
            text.startsWith(QLatin1String("This plugin does not support")));
}

void passOn(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (g_qtHandler) {
        g_qtHandler(type, context, text);
    }
}

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (isNoise(type, text)) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(g_heldMutex);
        if (g_holding && type != QtFatalMsg) {
            g_held.push_back({type, QByteArray(context.category), text});
            return;
        }
    }
    passOn(type, context, text);
}

void holdMessages() {
    static const QtMessageHandler previous = qInstallMessageHandler(filterMessage);
    g_qtHandler = previous;
    std::lock_guard<std::mutex> lock(g_heldMutex);
    g_holding = true;
}

// Passes the held messages on, or drops them: the complaints of a platform that was tried and
// passed over are no news to the host, which hears of a display it could not open from
// AfxWinInit.
void releaseMessages(bool passThem) {
    std::vector<HeldMessage> held;
    {
        std::lock_guard<std::mutex> lock(g_heldMutex);
        g_holding = false;
        held.swap(g_held);
    }
    if (!passThem) {
        return;
    }
    for (const HeldMessage& m : held) {
        passOn(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()), m.text);
    }
}

// A platform entry may carry options: "offscreen:fontengine=freetype".
QByteArray nameOf(const QByteArray& platform) {
    return platform.split(':').front();
}

// The platforms asked for: QT_QPA_PLATFORM, else Wayland when the session has a Wayland
// display, then X11.
QByteArrayList askedPlatforms() {
    QByteArrayList asked = qgetenv("QT_QPA_PLATFORM").split(';');
    asked.removeAll(QByteArray());
    if (asked.isEmpty()) {
        asked = qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? QByteArrayList{"xcb"}
                                                               : QByteArrayList{"wayland", "xcb"};
    }
    return asked;
}

// Offscreen comes last unless asked for, so that a display that cannot be opened ends in a
// refusal instead of Qt's abort.
QByteArrayList platformsToTry(bool& headlessAsked) {
    QByteArrayList platforms = askedPlatforms();
    headlessAsked = std::any_of(platforms.begin(), platforms.end(),
                                [](const QByteArray& p) { return nameOf(p) == "offscreen"; });
    if (!headlessAsked) {
        platforms.append("offscreen");
    }
    return platforms;
}

// Qt keeps argc and argv for the life of the application object and takes the options it
// understands out of them, so they are set afresh for every start.
QApplication* startApplication(const QByteArrayList& platforms) {
    static QByteArray platformList;
    static char name[] = "velmora";
    static char platformOption[] = "-platform";
    static char* argv[4];
    static int argc;
    platformList = platforms.join(';');
    argc = 3;
    argv[0] = name;
    argv[1] = platformOption;
    argv[2] = platformList.data();
    argv[3] = nullptr;
    return new QApplication(argc, argv);
}

} // namespace

BOOL AfxWinInit() {
    if (qApp) {
        return TRUE;
    }
    bool headlessAsked = false;
    const QByteArrayList platforms = platformsToTry(headlessAsked);
    holdMessages();
    // Kept to the end of the process: Qt's own statics are gone by the time static
    // destructors run, so the application object must never be destroyed from one.
    QApplication* app = startApplication(platforms);
    const QByteArray opened = QGuiApplication::platformName().toUtf8();
    releaseMessages(opened == nameOf(platforms.front()));
    if (!headlessAsked && opened == "offscreen") {
        // Nothing stays of a refused start: the host may ask for offscreen and try again.
        delete app;
        return FALSE;
    }
    return TRUE;
}

void AfxPumpMessages() {
    if (qApp) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

namespace {

// A window a user can close; pop-ups (menus, drop-down lists) and tooltips come and go on
// their own.
bool isShownWindow(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return w->isVisible() && type != Qt::Popup && type != Qt::ToolTip;
}

// Ends the message loop once no window is shown any more. Closing a dialog only hides it (it
// is kept for its next showing), so Qt's own last-window-closed never comes.
class LastWindowWatch : public QObject {
public:
    LastWindowWatch() {
        qApp->installEventFilter(this);
        // A loop started with nothing shown has nothing to wait for.
        QMetaObject::invokeMethod(this, &LastWindowWatch::check, Qt::QueuedConnection);
    }
    ~LastWindowWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            // Checked once the hiding is over: a window may be hidden to be shown again.
            QMetaObject::invokeMethod(this, &LastWindowWatch::check, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void check() {
        const QWidgetList windows = QApplication::topLevelWidgets();
        if (std::none_of(windows.begin(), windows.end(), isShownWindow)) {
            QCoreApplication::exit(0);
        }
    }
};

} // namespace

int AfxRunMessageLoop() {
    if (!AfxWinInit()) {
        return -1;
    }
    LastWindowWatch watch;
    return QApplication::exec();
}

void AfxPostQuitMessage(int nExitCode) {
    if (qApp) {
        QCoreApplication::exit(nExitCode);
    }
}

DWORD GetTickCount() {
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return static_cast<DWORD>(clock.elapsed());
}
