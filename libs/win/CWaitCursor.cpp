// CWaitCursor: the wait cursor over the whole application while the object lives.
#include "win/CWaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

CWaitCursor::CWaitCursor() {
    Restore();
}

CWaitCursor::~CWaitCursor() {
    if (m_active && qGuiApp) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void CWaitCursor::Restore() {
    if (!qGuiApp) {
        return;
    }
    if (m_active) {
        QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_active = true;
    }
}
