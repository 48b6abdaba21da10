// The data set a host hands to the display library: its sessions and the current one.
#pragma once

#include "recording/CMEGDatazq.h"

#include <memory>
#include <vector>

class CArrayMEDataSet {
public:
    int getSessionCount() const { return static_cast<int>(m_sessions.size()); }
    // Session i, or the current session for -1; null when out of range.
    CMEGDatazq* getSessionData(int index);
    // 1 and the session becomes current; 0 (nothing changes) when out of range.
    int setCurrentSession(int index);
    // Append an empty session; null when memory runs out.
    CMEGDatazq* addSession();

private:
    std::vector<std::unique_ptr<CMEGDatazq>> m_sessions;
    int m_current = 0;
};
