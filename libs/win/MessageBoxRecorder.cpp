// CMessageBoxRecorder: a message-box hook that records and answers at once.
#include "win/MessageBoxRecorder.h"

CMessageBoxRecorder::CMessageBoxRecorder(int answer) {
    m_previous = AfxSetMessageBoxHook(
        [this, answer](CWnd* owner, const CString& text, const CString& caption, UINT type) {
            m_records.push_back({owner, text, caption, type});
            return answer;
        });
}

CMessageBoxRecorder::~CMessageBoxRecorder() {
    AfxSetMessageBoxHook(std::move(m_previous));
}

CString CMessageBoxRecorder::LastText() const {
    return m_records.empty() ? CString() : m_records.back().text;
}
