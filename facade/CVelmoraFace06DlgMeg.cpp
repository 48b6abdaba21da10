// Facade layer of the MEG contour-map windows, and the show road shared with the EEG layer.
#include "facade/CVelmoraFace06DlgMeg.h"

#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "facade/CVelmoraFacezq.h"

#include <new>

int CVelmoraFace06DlgMeg::show3DContMapSpctmMegAct(CArrayMEDataSetzq* data, HostCallback callback,
                                                   CWnd*) {
    return showContourMap(0, CStatD3DM::kChnMeg, data, callback);
}

int CVelmoraFace06DlgMeg::show3DContMapSpctmMegCtl(CArrayMEDataSetzq* data, HostCallback callback,
                                                   CWnd*) {
    return showContourMap(1, CStatD3DM::kChnMeg, data, callback);
}

int CVelmoraFace06DlgMeg::show3DContMapSpctmMegRst(CArrayMEDataSetzq* data, HostCallback callback,
                                                   CWnd*) {
    return showContourMap(2, CStatD3DM::kChnMeg, data, callback);
}

CDlgContourMapSpctm3Dzq** CVelmoraFace06DlgMeg::contourSlot(int spectralClass) {
    switch (spectralClass) {
    case 0:
        return &m_pDlgContourAct;
    case 1:
        return &m_pDlgContourCtl;
    case 2:
        return &m_pDlgContourRst;
    default:
        return nullptr;
    }
}

CDlgContourMapSpctm3Dzq* CVelmoraFace06DlgMeg::checkCreateContour(int spectralClass) {
    CDlgContourMapSpctm3Dzq** slot = contourSlot(spectralClass);
    if (!slot)
        return nullptr;
    if (*slot)
        return *slot;
    auto* dlg = new (std::nothrow) CDlgContourMapSpctm3Dzq();
    if (dlg && !dlg->createWnd()) {
        delete dlg;
        dlg = nullptr;
    }
    *slot = dlg;
    return dlg;
}

int CVelmoraFace06DlgMeg::showContourMap(int spectralClass, int chnType, CArrayMEDataSetzq* data,
                                         HostCallback callback) {
    CDlgContourMapSpctm3Dzq* dlg = checkCreateContour(spectralClass);
    if (!dlg)
        return 0;
    checkInitMEGSpctm3DRnd(data);
    CStatContourMapSpctm3Dzq& view = dlg->m_view;
    view.m_spectralClass = spectralClass;
    view.m_chnType = chnType;
    view.m_pRnd = m_pRnd;
    view.setCbfGetMEGData(data);
    view.m_cbfHost = callback;
    view.m_pCbfOwner = dlg;
    view.autofitSensorCenter(nullptr);
    view.autofitColor2MeasureData(nullptr);
    // Every window gets the facade so that its "Settings" button works.
    dlg->m_pFace = static_cast<CVelmoraFacezq*>(this);
    // The contour map goes on without its single-channel window when that cannot be made.
    checkInitSpctmDlgSingleChnl(spectralClass);
    checkInitSpctmStdSetDlg(&view);
    dlg->ShowWindow(SW_SHOW);
    dlg->updateDlg4View();
    dlg->SetForegroundWindow();
    return 1;
}
