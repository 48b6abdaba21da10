// Facade layer that opens the single-channel spectrogram window of each spectral class.
#pragma once

#include "facade/CVelmoraFace.h"

class CVelmoraFace04DlgOneChnl : public CVelmoraFace {
public:
    using HostCallback = int (*)(int, int);

    // Shows the window of class 0 (Active), 1 (Control) or 2 (Result) bound to data, the
    // renderer and the host callback. parent is accepted and not used: windows are top-level.
    int show3DOneChnlSpctmAct(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);
    int show3DOneChnlSpctmCtl(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);
    int show3DOneChnlSpctmRst(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);

private:
    int showOneChnl(int spectralClass, CArrayMEDataSetzq* data, HostCallback callback);
};
