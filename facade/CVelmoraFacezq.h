// The facade the host instantiates: the last layer, carrying the host's command channel and
// the refresh of the Active contour map.
#pragma once

#include "facade/CVelmoraFace07DlgEeg.h"

class CMEGDatazq;

class CVelmoraFacezq : public CVelmoraFace07DlgEeg {
public:
    // Code 4 sets the data component (value, not checked) in every contour-map and
    // single-channel window: both copies and the component combo box, without a repaint.
    // Every code returns 1.
    int sendMessageX(int code, int value) override;
    // Binds data to the Active contour map's view, when that window exists. Returns 1.
    int setCbfGetMEGData(CArrayMEDataSetzq* data);
    // Repaints the Active contour map for new data: 1 when it exists, it and its view are
    // visible and the view accepts the session; else 0 and nothing is repainted.
    int update3DCntmapWave(CMEGDatazq* data);
};
