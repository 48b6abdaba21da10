// Sessions of a data set.
#include "recording/CArrayMEDataSet.h"

#include <exception>

CMEGDatazq* CArrayMEDataSet::getSessionData(int index) {
    if (index == -1) {
        index = m_current;
    }
    return index >= 0 && index < getSessionCount()
               ? m_sessions[static_cast<std::size_t>(index)].get()
               : nullptr;
}

int CArrayMEDataSet::setCurrentSession(int index) {
    if (index < 0 || index >= getSessionCount()) {
        return 0;
    }
    m_current = index;
    return 1;
}

CMEGDatazq* CArrayMEDataSet::addSession() {
    try {
        m_sessions.push_back(std::make_unique<CMEGDatazq>());
    } catch (const std::exception&) {
        return nullptr;
    }
    return m_sessions.back().get();
}
