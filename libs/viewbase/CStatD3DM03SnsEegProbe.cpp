// Drawing all EEG electrodes of the current trial.
#include "viewbase/CStatD3DM03SnsEegProbe.h"

#include "engine/CM3Dzq.h"
#include "recording/CMEGDatazq.h"

int CStatD3DM03SnsEegProbe::drawEegEltAll() {
    if (!m_pM3D || !m_pMEGData || !m_pTrial) {
        return 0;
    }
    drawSensorsOfType(kChnEeg);
    return 1;
}
