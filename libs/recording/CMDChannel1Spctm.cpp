// The spectral side of a channel.
#include "recording/CMDChannel1Spctm.h"

CSpctmChnlzq* CMDChannel1Spctm::getSpctmChnl(bool evenIfEmpty, int spectralClass) {
    if (spectralClass < 0 || spectralClass > 2) {
        return nullptr;
    }
    CSpctmChnlzq* s = &m_spctm[spectralClass];
    return evenIfEmpty || !s->isEmpty() ? s : nullptr;
}
