// Sessions of a data set.
#include "recording/CArrayMEDataSet.h"

#include <exception>

CArrayMEDataSet::CArrayMEDataSet(CArrayMEDataSet&& other) noexcept {
    *this = std::move(other);
}

CArrayMEDataSet& CArrayMEDataSet::operator=(CArrayMEDataSet&& other) noexcept {
    if (this != &other) {
        tellWatchers();
        other.tellWatchers();
        m_sessions = std::move(other.m_sessions);
        m_current = other.m_current;
        other.m_sessions.clear();
        other.m_current = 0;
    }
    return *this;
}

CArrayMEDataSet::~CArrayMEDataSet() {
    tellWatchers();
}

void CArrayMEDataSet::tellWatchers() {
    // A watcher may remove itself while being told.
    auto watchers = std::move(m_watchers);
    m_watchers.clear();
    for (auto& watcher : watchers)
        watcher.second();
}

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

bool CArrayMEDataSet::addReleaseWatcher(const void* owner, std::function<void()> onRelease) {
    removeReleaseWatcher(owner);
    try {
        m_watchers.emplace_back(owner, std::move(onRelease));
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void CArrayMEDataSet::removeReleaseWatcher(const void* owner) {
    std::erase_if(m_watchers, [owner](const auto& w) { return w.first == owner; });
}
