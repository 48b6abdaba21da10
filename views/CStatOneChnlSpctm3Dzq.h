// The 3D view of the single-channel window: owns the spectrogram's vertex grid, has the
// renderer fill it and draws it, lit and vertex-coloured, into the scene of its sensor-scene
// base, with axes in ms, Hz and the values' unit. Optionally overlays a colour bar and an
// information line.
//
// The surface is shown with time to the right and frequency away from the viewer (upwards
// when seen from above), heights towards the viewer; it opens seen obliquely from the
// front-left and above, whole in view with its axes.
#pragma once

#include "viewbase/CStatD3DMzq.h"
#include "views/CSpctmAxes3D.h"

#include <cstdint>

class COneSpctm3DVtx;
class CMEGSpctm3DRndzq;

class CStatOneChnlSpctm3Dzq : public CStatD3DMzq {
    DECLARE_DYNAMIC(CStatOneChnlSpctm3Dzq)
public:
    CStatOneChnlSpctm3Dzq();
    ~CStatOneChnlSpctm3Dzq() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Has the renderer rebuild the strips for the view's class and component. Always 1.
    int updateSpctmSurface();
    // Draws every strip by itself (rebuilding first); 1 when drawn.
    int rendSpctmStrips();
    // Drops the vertex grid; the next paint creates and builds a new one.
    void deleteVertexGrid();
    // Gives a message that reached the owning dialog to this view's own dispatch.
    void relayOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The information line as the paint draws it: channel, class, component, display choice,
    // the latency and frequency of the renderer's linked point, and what the values are.
    // Empty without renderer.
    CString infoLine();
    // Writes the view's picture to a PNG file (path in UTF-8): at scale 1 what the view shows,
    // axis labels, text and colour bar included; at 2 to 4 the 3D frame with the axis lines,
    // rendered at that multiple of the view's size. 0 without a window or scene, or when the
    // file cannot be written.
    int savePicture(const char* path, int scale);

    // Axes on or off (on at the start); the surface is fitted again to make room for them.
    void showAxes(bool on);
    bool axesShown() const { return m_axesOn; }
    // Straight down on the surface (the time-frequency map, as Escape gives it, zoomed to
    // fill the view) and back to the orientation it had before, or to the opening one. No
    // effect before the scene exists.
    void toggleTopView();
    bool isTopView() const;
    // The opening orientation: obliquely from the front-left and above, whole in view.
    void setObliqueView();
    // The axes as the last paint laid them out (labels in client pixels).
    const CSpctmAxes3D& axes() const { return m_axes; }
    // The unit and title of the values shown ("fT²", "Power (fT²)"); empty without data.
    CString valueUnit();
    CString valueTitle();
    // The data component shown, -1 without data (axes and bar then name no values).
    int shownComponent() const;
    // The name of display choice 0, the channel's own spectrum, for the channel's kind of
    // sensor: "EEG Electrode" for an electrode, else "MEG Sensor".
    static CString ownSpectrumLabel(CMDChannelzq* channel);

    std::uint8_t m_colorBar = 1;
    std::uint8_t m_flag2 = 0;
    double m_leftRight = 1.0;
    double m_antPost = 1.0;
    double m_vRatio = 1.0;
    int m_spectralClass = 0;
    int m_component = 0;
    CMEGSpctm3DRndzq* m_pRnd = nullptr;
    COneSpctm3DVtx* m_pVtx = nullptr;
    int drawCombined = 1;
    int vertexColorMode = 14;
    long long m_reserved = 0;

protected:
    afx_msg void OnPaint();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // Mouse buttons and moves go to the owning window, which drives the operation (and the
    // V Ratio drag) in its own coordinates; without a parent the base handles them.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Scene creation at the first visible paint; 0 when it failed.
    int checkInitScene();
    // Light and material constants of the pixel shader.
    void setShading();
    // Creates an empty vertex grid when missing; 0 when it cannot be made.
    int checkCreateVertexGrid();
    void drawJoined();
    // Uploads and draws one buffer with its own shaders and stride.
    void drawBuffer(CMVBzq& vb);
    // Scales and moves the surface (the buffers' model transform) into the scene sphere,
    // with its axes when they are on, and turns frequency away from the viewer.
    void fitSurfaceToScene();
    // The session and trial the surface was drawn from (the renderer's), else the view's.
    CMEGDatazq* shownSession() const;
    CMDTrialzq* shownTrial() const;
    // Where the grid the renderer just built lies, for the axes.
    void keepGrid(int drawn);
    // Lines of the axes into the frame; their labels and the overlays' places are set.
    void layoutAxes(CDC& dc);
    // The colour bar, axis labels and information line over the frame that show() put into
    // the picture.
    void drawOverlays(CDC& dc);
    // One frame of the surface and the axis lines into the engine's target, presented.
    void renderFrame(CDC& dc);
    CRect infoLineRect(CDC& dc, const CRect& client);
    void drawInfoLine(CDC& dc, const CRect& client);

    // The arc-ball and view angle the top view replaced.
    struct Orientation {
        float quat[4];
        float zoom;
        float pan[2];
        float viewAngle;
    };
    bool m_axesOn = true;
    CSpctmAxes3D m_axes;
    CSpctmAxes3D::Grid m_grid;
    double m_heightLow = 0.0, m_heightHigh = 0.0;
    CSize m_fittedSize;      // the frame size the last fit was made for
    CRect m_fittedRect;      // where the fitted surface with its axes lands in the frame
    CSize m_bandClient;      // the client size the colour bar's band was chosen for
    float m_openFov = 30.0f; // the camera's field of view outside the top view
    float m_topZoom = 1.0f;  // the zoom at which the top view's map fills the view
    Orientation m_beforeTop{};
    bool m_hasBeforeTop = false;
    // Sends a mouse message to the parent in its client coordinates; false without parent.
    bool passMouseToParent(UINT message, UINT nFlags, CPoint point);
};
