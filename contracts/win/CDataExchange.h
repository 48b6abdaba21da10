// CDataExchange and the DDX_ routines: moving values between dialog controls and fields.
// A failed conversion shows the framework's prompt, keeps the field and stops the exchange
// (every later DDX_ call of the same exchange does nothing); UpdateData then returns FALSE.
// Reals (double and float alike) are shown with at most six significant digits ("NaN", "Inf"
// for values that are no numbers, never "-0"); a box whose text is still the one last shown
// reads back the exact value shown, so saving without editing changes no field.
#pragma once

#include "win/CString.h"
#include "win/WinDefs.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control nIDC of the dialog, or null (and the exchange fails) when there is none.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);
    // Ends the exchange: focuses the control last prepared, later DDX_ calls do nothing.
    void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    BOOL m_bFailed = FALSE;

private:
    int m_idLastControl = 0;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, LONGLONG& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group (a WS_GROUP control up to the next WS_GROUP
// control); value is the index of the checked button, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// Attaches rControl to control nIDC the first time (SubclassDlgItem).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// While saving: a value outside [minVal, maxVal] (or NaN) shows the framework's range prompt
// and fails the exchange; the control last prepared gets the focus.
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
