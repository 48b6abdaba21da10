// Units and titles of spectral values.
#include "views/CSpctmUnit.h"

#include "recording/CMEGDatazq.h"
#include "views/CUnitPrefix.h"

#include <vector>

CString CSpctmUnit::ofChannel(const CMEGDatazq& session, CMDChannelzq& channel, int spectralClass,
                              int component) {
    return CString(session.getSpctmSettings().getSpctmUnit(channel.unit, spectralClass, component));
}

CString CSpctmUnit::ofChannels(const CMEGDatazq& session, CMDTrialzq& trial, int channelType,
                               int spectralClass, int component) {
    return ofChannels(
        session, trial,
        [channelType](CMDChannelzq* ch, int) {
            return channelType < 0 || ch->getChannelType() == channelType;
        },
        spectralClass, component);
}

CString CSpctmUnit::ofChannels(const CMEGDatazq& session, CMDTrialzq& trial,
                               const std::function<bool(CMDChannelzq*, int)>& shown,
                               int spectralClass, int component) {
    std::vector<CString> units;
    for (int i = 0; i < trial.getTotalChannel(); ++i) {
        CMDChannelzq* ch = trial.getChannel(i);
        if (!ch || !ch->getSpctmChnl(false, spectralClass) || !shown(ch, i))
            continue;
        const CString unit = ofChannel(session, *ch, spectralClass, component);
        bool known = false;
        for (const CString& u : units)
            known = known || u == unit;
        if (!known)
            units.push_back(unit);
    }
    CString joined;
    for (const CString& u : units)
        joined += joined.IsEmpty() ? u : CString(u", ") + u;
    return joined;
}

CString CSpctmUnit::valueTitle(int component, const CString& unit) {
    const char16_t* const names[] = {u"Real part", u"Imaginary part", u"Power"};
    const CString name = component >= 0 && component < 3 ? names[component] : u"Value";
    if (unit.IsEmpty())
        return component == 2 ? CString(u"Power ratio") : name;
    return name + u" (" + unit + u")";
}

CString CSpctmUnit::scaledTitle(int component, const CString& unit, double magnitude,
                                double* factor) {
    const CUnitPrefix::Scaled scaled = CUnitPrefix::fit(unit, magnitude);
    if (factor)
        *factor = scaled.factor;
    // A ratio has no unit; a power of ten in front of it still needs saying.
    if (unit.IsEmpty() && component == 2 && !scaled.unit.IsEmpty())
        return CString(u"Power ratio (") + scaled.unit + u")";
    return valueTitle(component, scaled.unit);
}
