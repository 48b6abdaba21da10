// CWaitCursor: shows the wait cursor for the lifetime of the object.
#pragma once

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the wait cursor again after something changed the cursor.
    void Restore();

private:
    bool m_active = false;
};
