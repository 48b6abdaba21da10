// Facade layer of the EEG contour-map windows.
#include "facade/CVelmoraFace07DlgEeg.h"

#include "viewbase/CStatD3DM.h"

int CVelmoraFace07DlgEeg::show3DContMapSpctmEegAct(CArrayMEDataSetzq* data, HostCallback callback,
                                                   CWnd*) {
    return showContourMap(0, CStatD3DM::kChnEeg, data, callback);
}

int CVelmoraFace07DlgEeg::show3DContMapSpctmEegCtl(CArrayMEDataSetzq* data, HostCallback callback,
                                                   CWnd*) {
    return showContourMap(1, CStatD3DM::kChnEeg, data, callback);
}

int CVelmoraFace07DlgEeg::show3DContMapSpctmEegRst(CArrayMEDataSetzq* data, HostCallback callback,
                                                   CWnd*) {
    return showContourMap(2, CStatD3DM::kChnEeg, data, callback);
}
