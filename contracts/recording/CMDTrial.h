// Trial base: the trial's channels, the current channel and the timing of its raw epochs.
#pragma once

#include "recording/CMDChannelzq.h"

#include <memory>
#include <vector>

class CMDTrial {
public:
    int getTotalChannel() const { return static_cast<int>(m_ptrs.size()); }
    // The channel pointers, getTotalChannel() of them; null when there is no channel.
    CMDChannelzq** getAllChannelPt() { return m_ptrs.empty() ? nullptr : m_ptrs.data(); }
    // Index of the current channel, -1 when there is no channel.
    int getCurntChnlIndx() const { return m_ptrs.empty() ? -1 : m_current; }
    // 1 and the channel becomes current; 0 (nothing changes) when out of range.
    int setCurrentChannel(int index);
    // Channel i, or the current channel for -1; null when out of range.
    CMDChannelzq* getChannel(int index);

    // Append an empty channel; null when memory runs out.
    CMDChannelzq* addChannel();
    // Drop the last channel (undoes an addChannel that could not be completed).
    void removeLastChannel();

    // Raw epoch timing, shared by all channels of the trial (rate 0 while none is set).
    double getSamplingRate() const { return m_rate; }
    double getFirstLatencyMs() const { return m_firstLatencyMs; }
    long long getEpochCount() const { return m_nEpochs; }
    long long getEpochLength() const { return m_nSamples; }
    bool hasRawTiming() const { return m_rate > 0.0 && m_nEpochs > 0 && m_nSamples > 0; }
    // Latency in ms of the last sample of an epoch.
    double getLastLatencyMs() const;
    void setRawTiming(double samplingRateHz, double firstLatencyMs, long long nEpochs,
                      long long nSamples);

private:
    std::vector<std::unique_ptr<CMDChannelzq>> m_channels;
    std::vector<CMDChannelzq*> m_ptrs;
    int m_current = 0;
    double m_rate = 0.0;
    double m_firstLatencyMs = 0.0;
    long long m_nEpochs = 0;
    long long m_nSamples = 0;
};
