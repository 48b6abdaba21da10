// Sizing the fan data for the session's channels.
#include "viewbase/CStatD3DM03SnsOptimize.h"

#include "recording/CMEGDatazq.h"

int CStatD3DM03SnsOptimize::fanInit(CMEGDatazq* session, int chnType) {
    CMEGDatazq* s = sessionOrBound(session);
    CMDTrialzq* trial = s ? s->getCurrentTrialPt() : nullptr;
    if (!trial) {
        return 0;
    }
    chnType == kChnMeg ? findMegSnsSphere(s) : findEegEltSphere(s);
    CSnsFanData4ContourMapx& fan = chnType == kChnMeg ? m_fanMeg : m_fanEeg;
    if (!fan.checkInitTriSnsVtx(chnType, m_pM3D, trial->getTotalChannel(), true)) {
        return 0;
    }
    fan.m_nFan = 0;
    fan.m_pTriVtx->m_nVtx = 0;
    return 1;
}

int CStatD3DM03SnsOptimize::triMegSnsFan11initx(CMEGDatazq* session) {
    return fanInit(session, kChnMeg);
}

int CStatD3DM03SnsOptimize::triEegEltFan11initx(CMEGDatazq* session) {
    return fanInit(session, kChnEeg);
}
