// Facade layer that opens the spectral contour-map window of each spectral class for the EEG
// electrodes of a recording (the same windows as the MEG layer's).
#pragma once

#include "facade/CVelmoraFace06DlgMeg.h"

class CVelmoraFace07DlgEeg : public CVelmoraFace06DlgMeg {
public:
    int show3DContMapSpctmEegAct(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);
    int show3DContMapSpctmEegCtl(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);
    int show3DContMapSpctmEegRst(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);
};
