// Data layer: the bound data set, the session and trial shown, which channels have a sensor
// of the view's channel type, and the fits of the scene frame and colour range to the data.
#pragma once

#include "viewbase/CStatD3DM00MD3D.h"

class CMDChannelzq;

class CStatD3DM00MEGData : public CStatD3DM00MD3D {
public:
    // Which MEG sensors the view shows: all of them, or one kind (the kinds of CMEGSensor).
    enum MegSnsKind {
        kMegAllKinds = -1,
        kMegMagnetometer = 0,
        kMegPlanarGrad = 1,
        kMegAxialGrad = 2
    };

    // Binds the data set (null unbinds) and forgets the session and trial shown.
    int setCbfGetMEGData(CArrayMEDataSetzq* data);
    // Lets go of the data set, the session and trial shown and the meshes built from them, so
    // that nothing refers into data the host is about to free; unlike a null binding, no
    // session stays in use.
    void releaseMEGData();
    // Takes the data set's current session when the view has none; nonzero when it has one.
    int checkGetNewMEGData();
    // Refreshes the session (the data set's current one, or the session already shown when no
    // data set is bound) and its current trial; nonzero when both exist.
    int updateMEGData();
    // Nonzero when the channel has a sensor (selector 0) of the view's MEG kind, an electrode
    // (1) or, for -1, such a probe of the view's channel type, at a finite position.
    int checkMegEegSensorVisibility(CMDChannelzq* channel, int index, int selector);
    // Nonzero when the channel's MEG sensor is of the kind (any sensor for kMegAllKinds).
    static int checkMegSnsKind(CMDChannelzq* channel, int kind);
    // Centres the scene on the sensors of the view's channel type and sizes it to hold them.
    // Null session: the bound data. 0 when there are no such sensors.
    int autofitSensorCenter(CMEGDatazq* session);
    // Fits the colour range of getD3DColor4ChnVStd to the channels' values. Null session: the
    // bound data. 0 when no channel has a value.
    int autofitColor2MeasureData(CMEGDatazq* session);

    // Position (metres) of the probe of channel type: coil 0 or the electrode. 0 without one.
    static int getSnsPositionD(CMDChannelzq* channel, int chnType, double xyz[3]);
    // The value that colours a channel: mean power of its Active spectrum (finite values
    // only). 0 when it has none.
    static int getChnValue4Color(CMDChannelzq* channel, double& value);

    int m_megSnsKind = kMegAllKinds;

protected:
    // session, else the bound data's current session (refreshed); null when none.
    CMEGDatazq* sessionOrBound(CMEGDatazq* session);
};
