// Base layer of the facade: lazy creation of the renderer and the windows, and their
// destruction in a fixed order.
#include "facade/CVelmoraFace.h"

#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgM3DRendStates.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "gfx/CGfxEglContext.h"
#include "recording/CArrayMEDataSetzq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "win/AfxApi.h"

#include <algorithm>
#include <new>

namespace {

template <class T>
void destroy(T*& p) {
    delete p;
    p = nullptr;
}

} // namespace

CVelmoraFace::CVelmoraFace() = default;

CVelmoraFace::~CVelmoraFace() {
    for (CArrayMEDataSetzq* data : m_watched)
        data->removeReleaseWatcher(this);
    // The render-state window may point at a view about to go.
    CDlgM3DRendStates::releaseShared();
    destroy(m_pRnd);
    destroy(m_pDlgStdSet);
    destroy(m_pDlgContourAct);
    destroy(m_pDlgContourCtl);
    destroy(m_pDlgContourRst);
    destroy(m_pDlgOneChnlAct);
    destroy(m_pDlgOneChnlCtl);
    destroy(m_pDlgOneChnlRst);
}

int CVelmoraFace::prepareDisplay() {
    return AfxWinInit() && CGfxEglContext::prepare() && CM3Dzq::prepareFrames() ? 1 : 0;
}

int CVelmoraFace::sendMessageX(int, int) {
    return 0;
}

int CVelmoraFace::checkInitMEGSpctm3DRnd(CArrayMEDataSetzq* data) {
    if (!m_pRnd)
        m_pRnd = new (std::nothrow) CMEGSpctm3DRndzq();
    if (!m_pRnd)
        return 0;
    if (data) {
        bindDataSet(data);
        m_pRnd->dataSet = data;
    }
    return 1;
}

void CVelmoraFace::bindDataSet(CArrayMEDataSetzq* data) {
    const std::vector<CArrayMEDataSetzq*> watched = m_watched;
    for (CArrayMEDataSetzq* other : watched)
        if (other != data)
            releaseDataSet(other);
    if (m_pDlgStdSet)
        m_pDlgStdSet->m_pData = data;
    if (std::find(m_watched.begin(), m_watched.end(), data) != m_watched.end())
        return;
    try {
        m_watched.push_back(data);
    } catch (const std::exception&) {
        return;
    }
    if (!data->addReleaseWatcher(this, [this, data] { releaseDataSet(data); }))
        m_watched.pop_back();
}

void CVelmoraFace::unwatch(CArrayMEDataSetzq* data) {
    data->removeReleaseWatcher(this);
    std::erase(m_watched, data);
}

bool CVelmoraFace::refersInto(CArrayMEDataSetzq* data, const CArrayMEDataSetzq* bound,
                              const CMEGDatazq* session) {
    if (!data)
        return bound || session;
    if (bound == data)
        return true;
    for (int i = 0; session && i < data->getSessionCount(); ++i)
        if (data->getSessionData(i) == session)
            return true;
    return false;
}

int CVelmoraFace::selectChannel(int channel) {
    CMEGDatazq* session = nullptr;
    if (m_pRnd)
        session = m_pRnd->dataSet ? m_pRnd->dataSet->getSessionData(-1) : m_pRnd->session;
    CMDTrialzq* trial = session ? session->getTrialzq(-1) : nullptr;
    if (!trial || channel < 0 || channel >= trial->getTotalChannel() ||
        !trial->setCurrentChannel(channel))
        return 0;
    for (CDlgRnd3DSpctmOneChnl* dlg : {m_pDlgOneChnlAct, m_pDlgOneChnlCtl, m_pDlgOneChnlRst}) {
        if (dlg && dlg->GetSafeHwnd()) {
            dlg->fillChnlCombo();
            dlg->m_view.updateSpctmSurface();
            dlg->m_view.Invalidate(FALSE);
        }
    }
    for (CDlgContourMapSpctm3Dzq* dlg : {m_pDlgContourAct, m_pDlgContourCtl, m_pDlgContourRst})
        if (dlg && dlg->m_view.GetSafeHwnd())
            dlg->m_view.Invalidate(FALSE);
    return 1;
}

int CVelmoraFace::releaseDataSet(CArrayMEDataSetzq* data) {
    bool released = false;
    for (CDlgRnd3DSpctmOneChnl* dlg : {m_pDlgOneChnlAct, m_pDlgOneChnlCtl, m_pDlgOneChnlRst}) {
        if (dlg && (refersInto(data, dlg->m_pData, dlg->m_pSession) ||
                    refersInto(data, dlg->m_view.m_pMEDataSet, dlg->m_view.m_pMEGData))) {
            dlg->releaseData();
            released = true;
        }
    }
    for (CDlgContourMapSpctm3Dzq* dlg : {m_pDlgContourAct, m_pDlgContourCtl, m_pDlgContourRst}) {
        if (dlg && refersInto(data, dlg->m_view.m_pMEDataSet, dlg->m_view.m_pMEGData)) {
            dlg->releaseData();
            released = true;
        }
    }
    if (m_pDlgStdSet && refersInto(data, m_pDlgStdSet->m_pData, m_pDlgStdSet->m_pSession)) {
        m_pDlgStdSet->releaseData();
        released = true;
    }
    if (m_pRnd && refersInto(data, m_pRnd->dataSet, m_pRnd->session)) {
        m_pRnd->releaseData();
        released = true;
    }
    if (data) {
        unwatch(data);
    } else {
        for (CArrayMEDataSetzq* watched : std::vector<CArrayMEDataSetzq*>(m_watched))
            unwatch(watched);
    }
    return released ? 1 : 0;
}

CDlgSpctmRnd3DStdSet* CVelmoraFace::checkCreateStdSet() {
    if (m_pDlgStdSet)
        return m_pDlgStdSet;
    auto* dlg = new (std::nothrow) CDlgSpctmRnd3DStdSet();
    if (dlg && !dlg->createWnd()) {
        delete dlg;
        dlg = nullptr;
    }
    m_pDlgStdSet = dlg;
    return dlg;
}

int CVelmoraFace::checkInitSpctmStdSetDlg(CWnd* view) {
    CDlgSpctmRnd3DStdSet* dlg = checkCreateStdSet();
    if (!dlg)
        return 0;
    dlg->m_pFace = static_cast<CVelmoraFacezq*>(this);
    dlg->m_pRnd = m_pRnd;
    dlg->addViewWnd(view);
    return 1;
}

CDialog* CVelmoraFace::showSpctmStdSetDlg(CArrayMEDataSetzq* data, CWnd* view) {
    CDlgSpctmRnd3DStdSet* dlg = checkCreateStdSet();
    if (!dlg)
        return nullptr;
    checkInitMEGSpctm3DRnd(data);
    dlg->m_pFace = static_cast<CVelmoraFacezq*>(this);
    dlg->m_pData = data;
    dlg->m_pRnd = m_pRnd;
    dlg->addViewWnd(view);
    dlg->ShowWindow(SW_SHOWNORMAL);
    dlg->updateDlgShow();
    dlg->SetForegroundWindow();
    return dlg;
}

CDlgRnd3DSpctmOneChnl** CVelmoraFace::oneChnlSlot(int spectralClass) {
    switch (spectralClass) {
    case 0:
        return &m_pDlgOneChnlAct;
    case 1:
        return &m_pDlgOneChnlCtl;
    case 2:
        return &m_pDlgOneChnlRst;
    default:
        return nullptr;
    }
}

CDlgRnd3DSpctmOneChnl* CVelmoraFace::checkCreateOneChnl(int spectralClass) {
    CDlgRnd3DSpctmOneChnl** slot = oneChnlSlot(spectralClass);
    if (!slot)
        return nullptr;
    if (*slot)
        return *slot;
    auto* dlg = new (std::nothrow) CDlgRnd3DSpctmOneChnl();
    if (dlg && !dlg->createWnd()) {
        delete dlg;
        dlg = nullptr;
    }
    *slot = dlg;
    return dlg;
}

int CVelmoraFace::checkInitSpctmDlgSingleChnl(int spectralClass) {
    CDlgRnd3DSpctmOneChnl* dlg = checkCreateOneChnl(spectralClass);
    if (!dlg)
        return 0;
    dlg->setSpectralClass(spectralClass);
    return 1;
}
