// CDataExchange: DDX_ routines with the framework's parse rules and prompts.
#include "win/CDataExchange.h"

#include "CWndImpl.h"
#include "win/AfxApi.h"
#include "win/CButton.h"
#include "win/CComboBox.h"
#include "win/CWnd.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QVariant>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

const char16_t* const promptInt = u"Please enter an integer.";
const char16_t* const promptUint = u"Please enter a positive integer.";
const char16_t* const promptReal = u"Please enter a number.";

std::string trimmed(CWnd* ctrl) {
    CString s;
    ctrl->GetWindowText(s);
    return s.Trim().ToUtf8();
}

// Whole text must be one integer (blanks around allowed) within [lo, hi].
bool parseInt(const std::string& t, long long lo, long long hi, long long& out) {
    if (t.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno == ERANGE || *end != '\0' || v < lo || v > hi) {
        return false;
    }
    out = v;
    return true;
}

bool parseReal(const std::string& t, double& out) {
    if (t.empty()) {
        return false;
    }
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) {
        return false;
    }
    out = v;
    return true;
}

void failWith(CDataExchange* pDX, const char16_t* prompt) {
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class T>
void exchangeInt(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi,
                 const char16_t* prompt) {
    CWnd* ctrl = pDX->PrepareEditCtrl(nIDC);
    if (!ctrl) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!parseInt(trimmed(ctrl), lo, hi, v)) {
            failWith(pDX, prompt);
            return;
        }
        value = static_cast<T>(v);
        return;
    }
    CString s;
    s.Format(u"%I64d", static_cast<long long>(value));
    ctrl->SetWindowText(s);
}

// What an edit box shows of a real: at most six significant digits, no "-0", and words for
// the values that are no numbers.
CString realText(double value) {
    if (std::isnan(value)) {
        return CString(u"NaN");
    }
    if (std::isinf(value)) {
        return CString(value > 0 ? u"Inf" : u"-Inf");
    }
    CString s;
    s.Format(u"%.6g", value == 0.0 ? 0.0 : value);
    return s;
}

// Each edit box remembers the text it was last given with the exact value behind it, so that
// reading back a box nobody edited returns that value, not its six-digit rounding.
const char* const kShownText = "velmoraShownReal";
const char* const kShownValue = "velmoraShownRealValue";

void rememberShown(CWnd* ctrl, const CString& text, double value) {
    QWidget* w = ctrl->GetImpl()->widget();
    w->setProperty(kShownText, QString::fromStdU16String(text.Str()));
    w->setProperty(kShownValue, value);
}

bool unchangedSinceShown(CWnd* ctrl, double& value) {
    const QWidget* w = ctrl->GetImpl()->widget();
    const QVariant shown = w->property(kShownText);
    CString now;
    ctrl->GetWindowText(now);
    if (!shown.isValid() || shown.toString() != QString::fromStdU16String(now.Str())) {
        return false;
    }
    value = w->property(kShownValue).toDouble();
    return true;
}

void exchangeReal(CDataExchange* pDX, int nIDC, double& value, double limit) {
    CWnd* ctrl = pDX->PrepareEditCtrl(nIDC);
    if (!ctrl) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (unchangedSinceShown(ctrl, v)) {
            value = v;
            return;
        }
        if (!parseReal(trimmed(ctrl), v) || std::fabs(v) > limit) {
            failWith(pDX, promptReal);
            return;
        }
        value = v;
        return;
    }
    const CString s = realText(value);
    ctrl->SetWindowText(s);
    rememberShown(ctrl, s, value);
}

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

CWnd* CDataExchange::PrepareCtrl(int nIDC) {
    if (m_bFailed || !m_pDlgWnd) {
        return nullptr;
    }
    CWnd* c = m_pDlgWnd->GetDlgItem(nIDC);
    if (!c) {
        m_bFailed = TRUE;
        return nullptr;
    }
    m_idLastControl = nIDC;
    return c;
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC) {
    return PrepareCtrl(nIDC);
}

void CDataExchange::Fail() {
    if (m_pDlgWnd && m_idLastControl) {
        if (CWnd* c = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
            c->SetFocus();
        }
    }
    m_bFailed = TRUE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    exchangeInt(pDX, nIDC, value, INT_MIN, INT_MAX, promptInt);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    exchangeInt(pDX, nIDC, value, 0, UINT_MAX, promptUint);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    exchangeInt(pDX, nIDC, value, LONG_MIN, LONG_MAX, promptInt);
}

void DDX_Text(CDataExchange* pDX, int nIDC, LONGLONG& value) {
    exchangeInt(pDX, nIDC, value, LLONG_MIN, LLONG_MAX, promptInt);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    exchangeReal(pDX, nIDC, value, DBL_MAX);
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value) {
    double v = value;
    exchangeReal(pDX, nIDC, v, FLT_MAX);
    value = static_cast<float>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* ctrl = pDX->PrepareEditCtrl(nIDC);
    if (!ctrl) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        ctrl->GetWindowText(value);
    } else {
        ctrl->SetWindowText(value);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* ctrl = pDX->PrepareCtrl(nIDC);
    auto* b = ctrl ? qobject_cast<QAbstractButton*>(ctrl->GetImpl()->widget()) : nullptr;
    if (!b) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    } else {
        CWndImpl::setButtonCheck(b, value != BST_UNCHECKED);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* ctrl = pDX->PrepareCtrl(nIDC);
    auto* b = ctrl ? qobject_cast<QAbstractButton*>(ctrl->GetImpl()->widget()) : nullptr;
    QButtonGroup* group = b ? b->group() : nullptr;
    if (!group) {
        return;
    }
    const QList<QAbstractButton*> buttons = group->buttons();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < buttons.size(); ++i) {
            value = buttons[i]->isChecked() ? i : value;
        }
        return;
    }
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i) {
        buttons[i]->setChecked(i == value);
    }
    group->setExclusive(true);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    auto* combo = dynamic_cast<CComboBox*>(pDX->PrepareCtrl(nIDC));
    if (!combo) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        index = combo->GetCurSel();
    } else {
        combo->SetCurSel(index);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) {
        return;
    }
    CWnd* item = pDX->PrepareCtrl(nIDC);
    if (item) {
        rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
    }
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal) {
    if (!pDX->m_bSaveAndValidate || pDX->m_bFailed || (value >= minVal && value <= maxVal)) {
        return;
    }
    CString prompt;
    prompt.Format(u"Please enter a number between %.15g and %.15g.", minVal, maxVal);
    failWith(pDX, prompt);
}
