// Base layer of the facade: lazy creation of the renderer and the windows, and their
// destruction in a fixed order.
#include "facade/CVelmoraFace.h"

#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgM3DRendStates.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "facade/CVelmoraFacezq.h"
#include "render/CMEGSpctm3DRndzq.h"

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

int CVelmoraFace::sendMessageX(int, int) {
    return 0;
}

int CVelmoraFace::checkInitMEGSpctm3DRnd(CArrayMEDataSetzq* data) {
    if (!m_pRnd)
        m_pRnd = new (std::nothrow) CMEGSpctm3DRndzq();
    if (!m_pRnd)
        return 0;
    if (data)
        m_pRnd->dataSet = data;
    return 1;
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
