// First layer of the contour-map window: its fields (the view, the controls' variables, the
// animation state) and the exchange of the controls with them.
#pragma once

#include "views/CStatContourMapSpctm3Dzq.h"
#include "win/afxwin.h"

class CVelmoraFacezq;

class CDlgContourMapSpctm3D : public CDialogEx {
    DECLARE_DYNAMIC(CDlgContourMapSpctm3D)
public:
    CDlgContourMapSpctm3D();
    ~CDlgContourMapSpctm3D() override;

    int m_spectralClass = 0;
    int m_component = 0;
    CStatContourMapSpctm3Dzq m_view;
    CComboBox m_cmbComponent;
    CPoint m_ptLast;
    int m_autofitColor = 0;
    int m_autofitPlace = 0;
    int m_sensors = 0;
    int m_snsActivity = 0;
    int m_contourmap = 0;
    int m_contourColor = 0;
    int m_mark = 0;
    CButton m_btnAnimate;
    int m_speed = 100;
    int m_running = 0;
    UINT_PTR m_timerId = 0;
    CVelmoraFacezq* m_pFace = nullptr;
    CString m_title;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
