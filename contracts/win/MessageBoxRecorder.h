// CMessageBoxRecorder: for tests, records every message box instead of showing it and
// answers with a fixed button; the previous hook returns when it goes out of scope.
#pragma once

#include "win/AfxApi.h"

#include <vector>

class CMessageBoxRecorder {
public:
    struct Record {
        CWnd* owner;
        CString text;
        CString caption;
        UINT type;
    };

    explicit CMessageBoxRecorder(int answer = IDOK);
    ~CMessageBoxRecorder();
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    const std::vector<Record>& Records() const { return m_records; }
    int Count() const { return static_cast<int>(m_records.size()); }
    // Text of the last message box, empty when there was none.
    CString LastText() const;
    void Clear() { m_records.clear(); }

private:
    std::vector<Record> m_records;
    AFX_MESSAGEBOX_HOOK m_previous;
};
