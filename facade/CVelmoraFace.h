// Base layer of the exported facade: the one renderer and every window the library opens,
// created lazily and owned until the facade is destroyed.
#pragma once

#include <vector>

class CArrayMEDataSetzq;
class CMEGDatazq;
class CDialog;
class CWnd;
class CMEGSpctm3DRndzq;
class CDlgContourMapSpctm3Dzq;
class CDlgRnd3DSpctmOneChnl;
class CDlgSpctmRnd3DStdSet;

class CVelmoraFace {
public:
    CVelmoraFace();
    // Destroys the renderer, the parameters window, the contour windows, then the
    // single-channel windows, each in class order.
    virtual ~CVelmoraFace();
    CVelmoraFace(const CVelmoraFace&) = delete;
    CVelmoraFace& operator=(const CVelmoraFace&) = delete;

    // Starts the window system, loads the 3D device, readies its shader compiler and draws a
    // throw-away frame with the views' pipeline now, the process's one-time set-up that the
    // first show does otherwise, so that a host can have it
    // done ahead (while it loads its data, say). 1 when all is ready, 0 without a window system
    // or OpenGL 3.3; repeating it costs nothing.
    static int prepareDisplay();

    // The command channel into the library; this layer ignores every code and returns 0.
    virtual int sendMessageX(int code, int value);

    // Creates the renderer once; a non-null data set becomes its data-set reference and the
    // one data set of the facade (see releaseDataSet).
    int checkInitMEGSpctm3DRnd(CArrayMEDataSetzq* data);
    // Every window, view and the renderer let go of data, its sessions and trials (null: of
    // whatever they refer to), so that the host may free it; they then behave as without data
    // until a show binds one again. The facade shows one data set at a time: a show with
    // another data set releases the previous one, and destroying a data set that the facade
    // shows releases it first. 1 when something let go.
    int releaseDataSet(CArrayMEDataSetzq* data);
    // Makes channel the current channel of the shown trial, as picking it in a window's channel
    // list does: the single-channel windows rebuild their surface and every window repaints.
    // 0 (nothing changes) without a trial or for a channel it does not have.
    int selectChannel(int channel);
    // Opens (creating on first need) the parameters window bound to data and the renderer and
    // registers view with it; null when the window cannot be created.
    CDialog* showSpctmStdSetDlg(CArrayMEDataSetzq* data, CWnd* view);
    // Creates the parameters window if missing and registers view; 1 unless creation failed.
    int checkInitSpctmStdSetDlg(CWnd* view);
    // Creates, hidden, the single-channel window of class 0..2 and sets its class; 0 for any
    // other class or a failed creation.
    int checkInitSpctmDlgSingleChnl(int spectralClass);

    CMEGSpctm3DRndzq* m_pRnd = nullptr;
    CDlgContourMapSpctm3Dzq* m_pDlgContourAct = nullptr;
    CDlgContourMapSpctm3Dzq* m_pDlgContourCtl = nullptr;
    CDlgContourMapSpctm3Dzq* m_pDlgContourRst = nullptr;
    CDlgRnd3DSpctmOneChnl* m_pDlgOneChnlAct = nullptr;
    CDlgRnd3DSpctmOneChnl* m_pDlgOneChnlCtl = nullptr;
    CDlgRnd3DSpctmOneChnl* m_pDlgOneChnlRst = nullptr;
    CDlgSpctmRnd3DStdSet* m_pDlgStdSet = nullptr;

protected:
    // The single-channel field of class 0..2, null for any other class.
    CDlgRnd3DSpctmOneChnl** oneChnlSlot(int spectralClass);
    // The window of the slot, created from its template when missing; null on failure.
    CDlgRnd3DSpctmOneChnl* checkCreateOneChnl(int spectralClass);
    CDlgSpctmRnd3DStdSet* checkCreateStdSet();

private:
    // data becomes the facade's data set: the others are released, data is watched.
    void bindDataSet(CArrayMEDataSetzq* data);
    void unwatch(CArrayMEDataSetzq* data);
    // Whether a binding to (bound, session) refers into data; into anything for null data.
    static bool refersInto(CArrayMEDataSetzq* data, const CArrayMEDataSetzq* bound,
                           const CMEGDatazq* session);

    std::vector<CArrayMEDataSetzq*> m_watched; // data sets that tell the facade when they go
};
