// Facade layer of the single-channel windows: binds data, renderer, callback and class to the
// window of a class and shows it.
#include "facade/CVelmoraFace04DlgOneChnl.h"

#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "facade/CVelmoraFacezq.h"
#include "render/CMEGSpctm3DRndzq.h"

int CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmAct(CArrayMEDataSetzq* data, HostCallback callback,
                                                    CWnd*) {
    return showOneChnl(0, data, callback);
}

int CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmCtl(CArrayMEDataSetzq* data, HostCallback callback,
                                                    CWnd*) {
    return showOneChnl(1, data, callback);
}

int CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmRst(CArrayMEDataSetzq* data, HostCallback callback,
                                                    CWnd*) {
    return showOneChnl(2, data, callback);
}

int CVelmoraFace04DlgOneChnl::showOneChnl(int spectralClass, CArrayMEDataSetzq* data,
                                          HostCallback callback) {
    CDlgRnd3DSpctmOneChnl* dlg = checkCreateOneChnl(spectralClass);
    if (!dlg)
        return 0;
    checkInitMEGSpctm3DRnd(data);
    CStatOneChnlSpctm3Dzq& view = dlg->m_view;
    // The Control window takes the data set without the binding's reset of the view's state.
    if (spectralClass == 1)
        view.m_pMEDataSet = data;
    else
        view.setCbfGetMEGData(data);
    // The first picture names the channel and its point, so the session and trial are bound
    // now rather than at the first key press.
    view.updateMEGData();
    view.m_cbfHost = callback;
    view.m_pCbfOwner = dlg;
    if (spectralClass != 0) {
        view.autofitSensorCenter(nullptr);
        view.autofitColor2MeasureData(nullptr);
    }
    // Every window gets the facade so that its "setting" button works.
    dlg->m_pFace = static_cast<CVelmoraFacezq*>(this);
    view.m_pRnd = m_pRnd;
    dlg->setSpectralClass(spectralClass);
    checkInitSpctmStdSetDlg(&view);
    dlg->setDlgMEGData(data);
    dlg->ShowWindow(SW_SHOW);
    dlg->updateDlgShow();
    dlg->SetForegroundWindow();
    return 1;
}
