// Mouse, wheel and key operations on the scene, by operation mode.
#include "viewbase/CStatD3DM07Operation.h"

#include "engine/CM3Dzq.h"
#include "win/AfxApi.h"

#include <cmath>

namespace {

// Zoom factor per pixel of vertical drag and per wheel notch.
constexpr float kZoomPerPixel = 0.01f;
constexpr float kZoomPerNotch = 1.1f;
// Arrow keys turn by this many degrees; the arc-ball turns 180 degrees per view width.
constexpr float kKeyTurnDeg = 5.0f;

} // namespace

UINT CStatD3DM07Operation::cursorId4Mode(int mode) {
    switch (mode) {
    case kModeNormal:
        return IDC_ARROW;
    case kModeRotate:
        return IDC_HAND;
    case kModeZoom:
        return IDC_SIZENS;
    case kModeMove:
        return IDC_SIZEALL;
    case kModePick:
        return IDC_CROSS;
    case kModeSnsSize:
        return IDC_SIZEWE;
    default:
        return 0;
    }
}

int CStatD3DM07Operation::rotateByPixels(float dx, float dy) {
    if (!m_pM3D) {
        return 0;
    }
    m_pM3D->m_archBall.rotateByMouse(dx, dy, static_cast<float>(m_pM3D->getTargetWidth()),
                                     static_cast<float>(m_pM3D->getTargetHeight()));
    return 1;
}

int CStatD3DM07Operation::mouseMoveSns(CPoint point) {
    const float dx = static_cast<float>(point.x - m_ptLast.x);
    const float dy = static_cast<float>(point.y - m_ptLast.y);
    m_ptLast = point;
    if (!m_pM3D || (dx == 0 && dy == 0)) {
        return 0;
    }
    CTRSmArchBallzq& ball = m_pM3D->m_archBall;
    switch (m_operMode) {
    case kModeNormal:
    case kModeRotate:
        rotateByPixels(dx, dy);
        break;
    case kModeZoom:
        ball.zoomBy(std::exp(-dy * kZoomPerPixel));
        break;
    case kModeMove:
        ball.panBy(dx / static_cast<float>(m_pM3D->getTargetWidth()),
                   -dy / static_cast<float>(m_pM3D->getTargetHeight()));
        break;
    case kModeSnsSize:
        m_snsSizeScale =
            std::fmin(std::fmax(m_snsSizeScale * std::exp(-dy * kZoomPerPixel), 0.1f), 10.0f);
        break;
    default:
        return 0;
    }
    Invalidate(FALSE);
    return 1;
}

int CStatD3DM07Operation::mouseWheelSns(UINT, short delta, CPoint) {
    if (!m_pM3D || delta == 0) {
        return 0;
    }
    m_pM3D->m_archBall.zoomBy(std::pow(kZoomPerNotch, static_cast<float>(delta) / WHEEL_DELTA));
    Invalidate(FALSE);
    return 1;
}

int CStatD3DM07Operation::preTranslateMessage(MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN || !m_pM3D || !GetSafeHwnd()) {
        return 0;
    }
    const CWnd* parent = GetParent();
    if (msg->hwnd != GetSafeHwnd() && !(parent && msg->hwnd == parent->GetSafeHwnd())) {
        return 0;
    }
    // Pixels of drag that turn the arc-ball by the key step.
    const float w = static_cast<float>(m_pM3D->getTargetWidth()) * kKeyTurnDeg / 180.0f;
    const float h = static_cast<float>(m_pM3D->getTargetHeight()) * kKeyTurnDeg / 180.0f;
    CTRSmArchBallzq& ball = m_pM3D->m_archBall;
    switch (msg->wParam) {
    case VK_LEFT:
        rotateByPixels(-w, 0);
        break;
    case VK_RIGHT:
        rotateByPixels(w, 0);
        break;
    case VK_UP:
        rotateByPixels(0, -h);
        break;
    case VK_DOWN:
        rotateByPixels(0, h);
        break;
    case VK_PRIOR:
        ball.zoomBy(kZoomPerNotch);
        break;
    case VK_NEXT:
        ball.zoomBy(1.0f / kZoomPerNotch);
        break;
    case VK_HOME:
        ball.reset();
        break;
    default:
        return 0;
    }
    Invalidate(FALSE);
    return 1;
}

void CStatD3DM07Operation::OnLButtonDown(UINT, CPoint point) {
    m_ptLast = m_ptAnchor = point;
    if (m_operMode == kModePick) {
        if (pick3DSnsr02(point)) {
            Invalidate(FALSE);
        }
        return;
    }
    SetCapture();
}

void CStatD3DM07Operation::OnLButtonUp(UINT, CPoint) {
    if (GetCapture() == this) {
        ReleaseCapture();
    }
}

void CStatD3DM07Operation::OnMouseMove(UINT, CPoint point) {
    if (GetCapture() == this) {
        mouseMoveSns(point);
    }
}

BOOL CStatD3DM07Operation::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    return mouseWheelSns(nFlags, zDelta, pt) ? TRUE : FALSE;
}
