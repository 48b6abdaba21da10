// Facade layer that opens the spectral contour-map window of each spectral class for the MEG
// sensors of a recording.
#pragma once

#include "facade/CVelmoraFace04DlgOneChnl.h"

class CVelmoraFace06DlgMeg : public CVelmoraFace04DlgOneChnl {
public:
    // Shows the contour-map window of class 0 (Active), 1 (Control) or 2 (Result) for the MEG
    // sensors, bound to data, the renderer and the host callback; the single-channel window of
    // the class is made (hidden) if missing. parent is accepted and not used.
    int show3DContMapSpctmMegAct(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);
    int show3DContMapSpctmMegCtl(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);
    int show3DContMapSpctmMegRst(CArrayMEDataSetzq* data, HostCallback callback, CWnd* parent);

protected:
    // The contour-map window of the class for channel type 0 (MEG) or 1 (EEG); 0 when it
    // cannot be created.
    int showContourMap(int spectralClass, int chnType, CArrayMEDataSetzq* data,
                       HostCallback callback);
    // The contour field of class 0..2, null for any other class.
    CDlgContourMapSpctm3Dzq** contourSlot(int spectralClass);
    CDlgContourMapSpctm3Dzq* checkCreateContour(int spectralClass);
};
