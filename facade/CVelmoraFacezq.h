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
    // Colours that fit the quantity the class's contour map shows: power and magnitude of the
    // Active and Control classes in the absolute-value drawing over the range of the values
    // shown, signed values and Result contrasts in the polarity drawing over a range symmetric
    // about 0. The parameters window shows the choice and every window is coloured anew. 0
    // without that contour map or its data.
    int fitColor4Quantity(int spectralClass);
    // Shows one kind of MEG sensor in the class's contour map (CStatD3DM00MEGData::MegSnsKind:
    // -1 all, 0 magnetometers, 1 planar gradiometers, pairs combined, 2 axial gradiometers),
    // with its own colour range. 0 without that window or for a kind its data lacks.
    int setCntmpSnsKind(int spectralClass, int kind);

private:
    CDlgContourMapSpctm3Dzq* contourOfClass(int spectralClass) const;
    // Shows the renderer's colours in the parameters window and every surface.
    void showNewColors();
};
