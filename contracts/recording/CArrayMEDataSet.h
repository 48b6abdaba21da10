// The data set a host hands to the display library: its sessions and the current one.
#pragma once

#include "recording/CMEGDatazq.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class CArrayMEDataSet {
public:
    CArrayMEDataSet() = default;
    CArrayMEDataSet(const CArrayMEDataSet&) = delete;
    CArrayMEDataSet& operator=(const CArrayMEDataSet&) = delete;
    // Moving takes the sessions; the watchers of both sides are told first, since the sessions
    // they refer to leave their data set. Watchers do not move.
    CArrayMEDataSet(CArrayMEDataSet&& other) noexcept;
    CArrayMEDataSet& operator=(CArrayMEDataSet&& other) noexcept;
    // Tells every watcher, once, before the sessions go.
    ~CArrayMEDataSet();

    int getSessionCount() const { return static_cast<int>(m_sessions.size()); }
    // Session i, or the current session for -1; null when out of range.
    CMEGDatazq* getSessionData(int index);
    // 1 and the session becomes current; 0 (nothing changes) when out of range.
    int setCurrentSession(int index);
    // Append an empty session; null when memory runs out.
    CMEGDatazq* addSession();

    // Displays that keep references into the data set watch it, so that a host freeing it
    // while windows are open leaves nothing dangling: onRelease runs when the data set is
    // destroyed. An owner watches at most once (a second call replaces the first); false when
    // memory runs out.
    bool addReleaseWatcher(const void* owner, std::function<void()> onRelease);
    void removeReleaseWatcher(const void* owner);

private:
    void tellWatchers();

    std::vector<std::pair<const void*, std::function<void()>>> m_watchers;
    std::vector<std::unique_ptr<CMEGDatazq>> m_sessions;
    int m_current = 0;
};
