// The host's facade: the command channel and the Active contour map's refresh.
#include "facade/CVelmoraFacezq.h"

#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "render/CMEGSpctm3DRndzq.h"

namespace {
constexpr int kCodeDataComponent = 4;
}

int CVelmoraFacezq::sendMessageX(int code, int value) {
    if (code != kCodeDataComponent)
        return 1;
    for (CDlgContourMapSpctm3Dzq* dlg : {m_pDlgContourAct, m_pDlgContourCtl, m_pDlgContourRst})
        if (dlg)
            dlg->setDataComponent(value);
    for (CDlgRnd3DSpctmOneChnl* dlg : {m_pDlgOneChnlAct, m_pDlgOneChnlCtl, m_pDlgOneChnlRst})
        if (dlg)
            dlg->setDataComponent(value);
    return 1;
}

int CVelmoraFacezq::setCbfGetMEGData(CArrayMEDataSetzq* data) {
    if (m_pDlgContourAct)
        m_pDlgContourAct->m_view.setCbfGetMEGData(data);
    return 1;
}

int CVelmoraFacezq::update3DCntmapWave(CMEGDatazq* data) {
    CDlgContourMapSpctm3Dzq* dlg = m_pDlgContourAct;
    if (!dlg || !dlg->GetSafeHwnd() || !dlg->IsWindowVisible())
        return 0;
    CStatContourMapSpctm3Dzq& view = dlg->m_view;
    if (!view.GetSafeHwnd() || !view.IsWindowVisible() || !view.checkSns3DRnd1(data))
        return 0;
    view.Invalidate(TRUE);
    return 1;
}

CDlgContourMapSpctm3Dzq* CVelmoraFacezq::contourOfClass(int spectralClass) const {
    switch (spectralClass) {
    case 0:
        return m_pDlgContourAct;
    case 1:
        return m_pDlgContourCtl;
    case 2:
        return m_pDlgContourRst;
    default:
        return nullptr;
    }
}

int CVelmoraFacezq::fitColor4Quantity(int spectralClass) {
    CDlgContourMapSpctm3Dzq* dlg = contourOfClass(spectralClass);
    if (!dlg || !dlg->m_view.fitColor4Quantity(true))
        return 0;
    showNewColors();
    return 1;
}

int CVelmoraFacezq::setCntmpSnsKind(int spectralClass, int kind) {
    CDlgContourMapSpctm3Dzq* dlg = contourOfClass(spectralClass);
    if (!dlg || !dlg->setSensorKind(kind))
        return 0;
    showNewColors();
    return 1;
}

void CVelmoraFacezq::showNewColors() {
    if (m_pDlgStdSet && m_pRnd) {
        m_pDlgStdSet->m_polarity = m_pRnd->polarity;
        // The host's range stands: the window's own first fit must not replace it.
        m_pDlgStdSet->m_firstFit = 0;
        if (m_pDlgStdSet->GetSafeHwnd())
            m_pDlgStdSet->updateDlgShow();
    }
    for (CDlgRnd3DSpctmOneChnl* dlg : {m_pDlgOneChnlAct, m_pDlgOneChnlCtl, m_pDlgOneChnlRst})
        if (dlg && dlg->GetSafeHwnd()) {
            dlg->m_view.updateSpctmSurface();
            dlg->m_view.Invalidate(FALSE);
        }
    for (CDlgContourMapSpctm3Dzq* dlg : {m_pDlgContourAct, m_pDlgContourCtl, m_pDlgContourRst})
        if (dlg && dlg->GetSafeHwnd())
            dlg->m_view.Invalidate(FALSE);
}
