// The instantiated sensor-scene control: its message map and cursors.
#include "viewbase/CStatD3DMzq.h"

#include "win/AfxApi.h"

IMPLEMENT_DYNAMIC(CStatD3DMzq, CStatic)

BEGIN_MESSAGE_MAP(CStatD3DMzq, CStatic)
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

BOOL CStatD3DMzq::OnSetCursor(CWnd* pWnd, UINT, UINT) {
    const UINT id = cursorId4Mode(m_operMode);
    if (pWnd != this || id == 0) {
        return FALSE;
    }
    SetCursor(LoadCursor(nullptr, id));
    return TRUE;
}
