// Channels and raw timing of a trial.
#include "recording/CMDTrial.h"

#include <exception>

int CMDTrial::setCurrentChannel(int index) {
    if (index < 0 || index >= getTotalChannel()) {
        return 0;
    }
    m_current = index;
    return 1;
}

CMDChannelzq* CMDTrial::getChannel(int index) {
    if (index == -1) {
        index = m_current;
    }
    return index >= 0 && index < getTotalChannel() ? m_ptrs[static_cast<std::size_t>(index)]
                                                   : nullptr;
}

CMDChannelzq* CMDTrial::addChannel() {
    try {
        m_ptrs.reserve(m_ptrs.size() + 1);
        m_channels.push_back(std::make_unique<CMDChannelzq>());
    } catch (const std::exception&) {
        return nullptr;
    }
    m_ptrs.push_back(m_channels.back().get());
    return m_ptrs.back();
}

void CMDTrial::removeLastChannel() {
    if (!m_channels.empty()) {
        m_ptrs.pop_back();
        m_channels.pop_back();
        m_current = m_current < getTotalChannel() ? m_current : 0;
    }
}

double CMDTrial::getLastLatencyMs() const {
    if (!hasRawTiming()) {
        return m_firstLatencyMs;
    }
    return m_firstLatencyMs + 1000.0 * static_cast<double>(m_nSamples - 1) / m_rate;
}

void CMDTrial::setRawTiming(double samplingRateHz, double firstLatencyMs, long long nEpochs,
                            long long nSamples) {
    m_rate = samplingRateHz;
    m_firstLatencyMs = firstLatencyMs;
    m_nEpochs = nEpochs;
    m_nSamples = nSamples;
}
