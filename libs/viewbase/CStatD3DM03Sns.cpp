// Drawing all MEG sensors of the current trial, and the sensor loop shared with EEG electrodes.
#include "viewbase/CStatD3DM03Sns.h"

#include "engine/CM3Dzq.h"
#include "recording/CMEGDatazq.h"

int CStatD3DM03Sns::drawMegSnsAll() {
    if (!m_pM3D || !m_pMEGData || !m_pTrial) {
        return 0;
    }
    const CMEGDatazq& s = *m_pMEGData;
    if (!makeCoilShape(static_cast<float>(s.megCoilSize)) ||
        !makeDirShape(static_cast<float>(s.dirGlyphSize2), static_cast<float>(s.dirGlyphSize1)) ||
        !makeMarkShape(static_cast<float>(s.dirGlyphSize2),
                       static_cast<float>(6 * s.megCoilSize))) {
        return 0;
    }
    drawSensorsOfType(kChnMeg);
    return 1;
}

void CStatD3DM03Sns::drawSensorsOfType(int chnType) {
    m_pM3D->setMaterial(&m_matSns);
    // All glyphs in one draw.
    beginGlyphBatch();
    const int drawMode = m_pMEGData->snsDrawMode;
    const int current = m_pTrial->getCurntChnlIndx();
    for (int i = 0; i < m_pTrial->getTotalChannel(); ++i) {
        CMDChannelzq* ch = m_pTrial->getChannel(i);
        if (!checkMegEegSensorVisibility(ch, i, chnType)) {
            continue;
        }
        const int drawn = chnType == kChnMeg ? drawSnsCoils(ch->getMEGSensorzq(), drawMode)
                                             : drawElectrode(ch->getEegElectrode(0), drawMode);
        double p[3];
        if (drawn && i == current && m_markOn && getSnsPositionD(ch, chnType, p)) {
            rendMark(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
        }
    }
    endGlyphBatch();
}
