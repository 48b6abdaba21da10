// Units and titles of the values the views show: the channel's signal unit carried through
// the spectral class and data component by the session's spectrum settings.
#pragma once

#include "win/CString.h"

#include <functional>

class CMEGDatazq;
class CMDTrialzq;
class CMDChannelzq;

class CSpctmUnit {
public:
    // Unit of one channel's values of the class and component ("fT²", "dB", "" for a ratio).
    static CString ofChannel(const CMEGDatazq& session, CMDChannelzq& channel, int spectralClass,
                             int component);
    // Unit of the values of the trial's channels of a type (0 MEG, 1 EEG, -1 all) that have
    // a spectrum of the class: their one unit, or their units joined by ", " when they differ.
    static CString ofChannels(const CMEGDatazq& session, CMDTrialzq& trial, int channelType,
                              int spectralClass, int component);
    // The same over the channels that shown(channel, index) accepts.
    static CString ofChannels(const CMEGDatazq& session, CMDTrialzq& trial,
                              const std::function<bool(CMDChannelzq*, int)>& shown,
                              int spectralClass, int component);
    // What the values are, with their unit: "Power (fT²)", "Real part (µV)", "Power ratio".
    static CString valueTitle(int component, const CString& unit);
    // The title of values of the unit whose largest size is magnitude, in the unit with the
    // prefix that shows them in a few digits ("Power (µV²)" for 1e-9 V²); *factor gets what the
    // values are divided by to be shown in it.
    static CString scaledTitle(int component, const CString& unit, double magnitude,
                               double* factor);
};
