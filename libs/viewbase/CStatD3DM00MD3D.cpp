// Scene creation, target size and the way frames reach the control's picture.
#include "viewbase/CStatD3DM00MD3D.h"

#include "engine/CM3Dzq.h"
#include "win/CRect.h"

#include <algorithm>
#include <cstdint>

int CStatD3DM00MD3D::snsSrc3Dinit(CWnd* owner) {
    if (owner) {
        m_pOwner = owner;
    }
    if (!GetSafeHwnd()) {
        m_initError = "the control has no window yet: create or subclass it first";
        return 0;
    }
    if (!m_pM3D) {
        auto* m3d = new CM3Dzq();
        if (!m3d->initM3D()) {
            m_initError = std::string("no 3D device: ") + m3d->getLastError();
            delete m3d;
            return 0;
        }
        m_pM3D = m3d;
        m_pM3D->setPresentSink([this](const std::uint32_t* rgba, int width, int height) {
            SetFrameImage(rgba, width, height);
        });
    }
    m_mat.m_pM3D = m_pM3D;
    m_outmerg.m_pM3D = m_pM3D;
    checkTargetSize();
    applySceneFrame();
    m_initError.clear();
    return 1;
}

CRect CStatD3DM00MD3D::frameRect() const {
    CRect rc;
    if (!GetSafeHwnd())
        return rc;
    GetClientRect(&rc);
    if (rc.Height() > 1)
        rc.bottom = std::max(rc.top + 1, rc.bottom - m_frameMarginBottom);
    return rc;
}

void CStatD3DM00MD3D::setFrameMarginBottom(int pixels) {
    if (pixels == m_frameMarginBottom)
        return;
    m_frameMarginBottom = std::max(pixels, 0);
    checkTargetSize();
}

int CStatD3DM00MD3D::checkTargetSize() {
    if (!m_pM3D || !GetSafeHwnd()) {
        return 0;
    }
    const CRect rc = frameRect();
    if (rc.Width() < 1 || rc.Height() < 1) {
        return 0;
    }
    if (rc.Width() == m_pM3D->getTargetWidth() && rc.Height() == m_pM3D->getTargetHeight()) {
        return 1;
    }
    return m_pM3D->setTargetSize(rc.Width(), rc.Height());
}

void CStatD3DM00MD3D::applySceneFrame() {
    if (!m_pM3D || !(m_snsExtent > 0.0f)) {
        return;
    }
    std::copy(m_snsCenter, m_snsCenter + 3, m_pM3D->m_sceneCenter);
    m_pM3D->m_sceneSize = m_snsExtent;
}

int CStatD3DM00MD3D::presentFrame2Wnd() {
    if (!m_pM3D || !m_pM3D->getImage()) {
        return 0;
    }
    const std::uint32_t* img = m_pM3D->getImage();
    const int w = m_pM3D->getImageWidth(), h = m_pM3D->getImageHeight();
    return SetFrameImage(img, w, h);
}

void CStatD3DM00MD3D::OnSize(UINT, int cx, int cy) {
    if (m_pM3D && cx > 0 && cy > 0) {
        checkTargetSize();
        Invalidate(FALSE);
    }
}
