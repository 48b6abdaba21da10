// The host's facade: the command channel and the Active contour map's refresh.
#include "facade/CVelmoraFacezq.h"

#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"

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
