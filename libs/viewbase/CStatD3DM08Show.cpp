// Accepting new data and the plain sensor frame.
#include "viewbase/CStatD3DM08Show.h"

#include "engine/CM3Dzq.h"
#include "recording/CMEGDatazq.h"
#include "win/CPaintDC.h"

int CStatD3DM08Show::checkSns3DRnd1(CMEGDatazq* session) {
    CMDTrialzq* trial = session ? session->getCurrentTrialPt() : nullptr;
    if (!trial) {
        return 0;
    }
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        if (checkMegEegSensorVisibility(trial->getChannel(i), i, -1)) {
            m_pMEGData = session;
            m_pTrial = trial;
            return 1;
        }
    }
    return 0;
}

int CStatD3DM08Show::rendSns3DScene() {
    if (!m_pM3D || !checkTargetSize()) {
        return 0;
    }
    m_pM3D->rendB();
    m_pM3D->setLight(nullptr);
    m_pM3D->setMaterial(nullptr);
    m_pM3D->setVPCamera(nullptr);
    m_pM3D->setWorldTRS(nullptr);
    if (updateMEGData()) {
        m_chnType == kChnEeg ? drawEegEltAll() : drawMegSnsAll();
    }
    m_pM3D->rendE();
    m_pM3D->show(-1, nullptr);
    m_pM3D->releaseTargetSCB(0);
    return 1;
}

void CStatD3DM08Show::OnPaint() {
    CPaintDC dc(this);
    if (!GetSafeHwnd() || !IsWindowVisible()) {
        return;
    }
    if (!m_bScene3DInit || !m_pM3D) {
        if (!snsSrc3Dinit(m_pOwner)) {
            return;
        }
        m_bScene3DInit = 1;
    }
    rendSns3DScene();
}
