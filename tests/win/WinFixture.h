// WinFixture: window tests run on the offscreen platform with the display library's resource
// script registered; they skip when no application can be made.
#pragma once

#include "win/CWinTestDriver.h"
#include "win/MessageBoxRecorder.h"
#include "win/afxwin.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const CString& s, std::ostream* os) {
    *os << '"' << s.ToUtf8() << '"';
}

inline void PrintTo(const CRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

class WinFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Where grabbed pictures go.
    static std::string pngPath(const std::string& name);
};

// A dialog that records what reaches its message map.
class CRecordingDialog : public CDialogEx {
public:
    std::vector<std::string> log;
    int intField = 5;
    long long wideField = 7;
    double realField = 1.5;
    float floatField = 2.5f;
    int check = 0;
    int radio = -1;
    bool swallowKeys = false;
    HCURSOR cursor = nullptr;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnCommandRange(UINT id);
    afx_msg void OnComboChange();
    afx_msg void OnEditChange();
    afx_msg void OnPolarity();
    DECLARE_MESSAGE_MAP()
};
