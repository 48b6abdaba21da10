// Trials and selection of a session.
#include "recording/CMEGData.h"

#include <exception>

CMDTrialzq* CMEGData::getTrialzq(int index) {
    if (index == -1) {
        index = m_current;
    }
    return index >= 0 && index < getTrialCount() ? m_trials[static_cast<std::size_t>(index)].get()
                                                 : nullptr;
}

int CMEGData::setCurrentTrial(int index) {
    if (index < 0 || index >= getTrialCount()) {
        return 0;
    }
    if (index != m_current) {
        m_current = index;
        markChanged();
    }
    return 1;
}

CMDTrialzq* CMEGData::addTrial() {
    try {
        m_trials.push_back(std::make_unique<CMDTrialzq>());
    } catch (const std::exception&) {
        return nullptr;
    }
    markChanged();
    return m_trials.back().get();
}

void CMEGData::removeLastTrial() {
    if (!m_trials.empty()) {
        m_trials.pop_back();
        m_current = m_current < getTrialCount() ? m_current : 0;
        markChanged();
    }
}

int CMEGData::getSelect(long long& trialIndex, long long& stamp) const {
    trialIndex = m_current;
    stamp = m_stamp;
    return 1;
}
