// Renderer layer of the standard single-channel drawings.
#include "render/CMEGSpctm3DRnd06OneChnl01Std.h"

#include "recording/CMEGDatazq.h"

int CMEGSpctm3DRnd06OneChnl01Std::drawOneSpctmColumnStd(COneSpctm3DVtx* vtx, CRect rect,
                                                        int spectralClass, int component) {
    if (polarity)
        return drawOneSpctmColumn2PolarityValue(vtx, rect, spectralClass, component);
    return drawOneSpctmColumn01AbsoluteValue(vtx, rect, spectralClass, component);
}

CMEGSpctm3DRnd06OneChnl::NormalRule
CMEGSpctm3DRnd06OneChnl01Std::normalRuleFor(NormalRule pass) const {
    switch (normalDetail) {
    case 0:
        return NormalRule::Basic;
    case 1:
        return NormalRule::Standard;
    case 2:
        return pass;
    default:
        return NormalRule::Keep;
    }
}

int CMEGSpctm3DRnd06OneChnl01Std::drawOneSpctmColumn01AbsoluteValue(COneSpctm3DVtx* vtx, CRect,
                                                                    int spectralClass,
                                                                    int component) {
    CSumChnlSpctmDatazq* record = fetchGroupRecord(vtx, spectralClass, component);
    if (!record)
        return 0;
    CSpctmChnlzq* chnl = currentChannelSpctm(spectralClass);
    if (!chnl)
        return 0;
    return walkGrid(vtx, chooseGrid(record, chnl, component, false), 1, ColorRule::Absolute,
                    normalRuleFor(NormalRule::PassAll));
}

int CMEGSpctm3DRnd06OneChnl01Std::drawOneSpctmColumn2PolarityValue(COneSpctm3DVtx* vtx, CRect,
                                                                   int spectralClass,
                                                                   int component) {
    CSumChnlSpctmDatazq* record = fetchGroupRecord(vtx, spectralClass, component);
    if (!record)
        return 0;
    if (record->nTime < 1 || record->nFreq < 1) {
        // An empty record is computed afresh before the drawing gives up.
        record =
            session->computTrialSpctm(trial, false, false, false, false, spectralClass, component);
        if (!record || record->nTime < 1 || record->nFreq < 1)
            return 0;
    }
    CSpctmChnlzq* chnl = showSource == 0 ? currentChannelSpctm(spectralClass) : nullptr;
    return walkGrid(vtx, chooseGrid(record, chnl, component, true), 0, ColorRule::Polarity,
                    normalRuleFor(NormalRule::PassOptim));
}
