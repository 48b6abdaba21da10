// The contour-map window's fields and data exchange.
#include "dialogs/CDlgContourMapSpctm3D.h"

#include "dialogs/res/resource.h"

IMPLEMENT_DYNAMIC(CDlgContourMapSpctm3D, CDialogEx)

BEGIN_MESSAGE_MAP(CDlgContourMapSpctm3D, CDialogEx)
END_MESSAGE_MAP()

CDlgContourMapSpctm3D::CDlgContourMapSpctm3D() : CDialogEx(IDD_SPCTM_CONTOURMAP_3D) {}

CDlgContourMapSpctm3D::~CDlgContourMapSpctm3D() = default;

void CDlgContourMapSpctm3D::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CM_VIEW, m_view);
    DDX_Check(pDX, IDC_CM_SENSORS, m_sensors);
    DDX_Check(pDX, IDC_CM_AUTOFITCOLOR, m_autofitColor);
    DDX_Check(pDX, IDC_CM_AUTOFITPLACE, m_autofitPlace);
    DDX_Check(pDX, IDC_CM_SENSORACT, m_snsActivity);
    DDX_Check(pDX, IDC_CM_CONTOURMAP, m_contourmap);
    DDX_Check(pDX, IDC_CM_CONTOURACT, m_contourColor);
    DDX_Check(pDX, IDC_CM_MARKSELECT, m_mark);
    DDX_Control(pDX, IDC_CM_COMPONENT, m_cmbComponent);
    DDX_Control(pDX, IDC_CM_ANIMATE, m_btnAnimate);
    DDX_Text(pDX, IDC_CM_SPEED, m_speed);
    if (!m_view.GetSafeHwnd())
        return;
    DDX_Text(pDX, IDC_CM_WINWIDTH, m_view.m_winWidth);
    DDX_Text(pDX, IDC_CM_WINHEIGHT, m_view.m_winHeight);
    DDX_Text(pDX, IDC_CM_STEPX, m_view.m_stepTime);
    DDX_Text(pDX, IDC_CM_STEPY, m_view.m_stepFreq);
}
