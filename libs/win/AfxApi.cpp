// AfxApi: the message-box hook, cursors, icons, capture and the application object.
#include "win/AfxApi.h"

#include "CWndImpl.h"
#include "ResourceRegistry.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>

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

BOOL AfxSaveWindowImage(CWnd* pWnd, const char* path) {
    CWndImpl* impl = CWndImpl::of(pWnd);
    if (!impl || !pWnd->m_hWnd || !path) {
        return FALSE;
    }
    return impl->frame()->grab().save(QString::fromUtf8(path), "PNG") ? TRUE : FALSE;
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

// The offscreen platform reports every window-manager request it cannot honour (raise, size
// hints); headless runs would drown in them, so they are dropped and the rest passed on.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    if (g_qtHandler) {
        g_qtHandler(type, context, text);
    }
}

} // namespace

BOOL AfxWinInit() {
    if (qApp) {
        return TRUE;
    }
    static int argc = 1;
    static char name[] = "velmora";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt's own statics are gone by the time static
    // destructors run, so the application object must never be destroyed from one.
    static QApplication* app = new QApplication(argc, argv);
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        g_qtHandler = qInstallMessageHandler(quietOffscreen);
    }
    return app ? TRUE : FALSE;
}

void AfxPumpMessages() {
    if (qApp) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

int AfxRunMessageLoop() {
    return AfxWinInit() ? QApplication::exec() : -1;
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
