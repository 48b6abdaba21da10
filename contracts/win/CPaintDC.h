// CPaintDC: the device context of a WM_PAINT handler; constructing it validates the window.
#pragma once

#include "win/CDC.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};
    HWND m_hWnd = nullptr;
};
