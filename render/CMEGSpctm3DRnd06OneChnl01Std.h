// Renderer layer of the standard single-channel drawings: magnitudes over the standard view
// range (absolute value) or signed values with the negative and positive palettes (polarity),
// lit at the renderer's normal detail.
#pragma once

#include "render/CMEGSpctm3DRnd06OneChnl.h"

class CMEGSpctm3DRnd06OneChnl01Std : public CMEGSpctm3DRnd06OneChnl {
    friend class CStatOneChnlSpctm3Dzq;

public:
    // polarity nonzero: the polarity drawing, else the absolute-value drawing.
    int drawOneSpctmColumnStd(COneSpctm3DVtx* vtx, CRect rect, int spectralClass, int component);

protected:
    int drawOneSpctmColumn01AbsoluteValue(COneSpctm3DVtx* vtx, CRect rect, int spectralClass,
                                          int component);
    int drawOneSpctmColumn2PolarityValue(COneSpctm3DVtx* vtx, CRect rect, int spectralClass,
                                         int component);

private:
    // The walk's normals for normalDetail, with the given whole-grid pass for Professional.
    NormalRule normalRuleFor(NormalRule pass) const;
};
