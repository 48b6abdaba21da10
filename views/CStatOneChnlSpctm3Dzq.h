// The 3D view of the single-channel window: owns the spectrogram's vertex grid, has the
// renderer fill it and draws it, lit and vertex-coloured, into the scene of its sensor-scene
// base. Optionally overlays a colour bar and an information line.
#pragma once

#include "viewbase/CStatD3DMzq.h"

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
    // and the latency and frequency of the renderer's linked point. Empty without renderer.
    CString infoLine();

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
    // The scene's first orientation: the surface seen obliquely from the front and above.
    void tiltTowardsViewer();
    // Light and material constants of the pixel shader.
    void setShading();
    // Creates an empty vertex grid when missing; 0 when it cannot be made.
    int checkCreateVertexGrid();
    void drawJoined();
    // Uploads and draws one buffer with its own shaders and stride.
    void drawBuffer(CMVBzq& vb);
    // Scales and moves the surface (the buffers' model transform) into the scene sphere.
    void fitSurfaceToScene();
    // The colour bar and information line over the frame that show() put into the picture.
    void drawOverlays(CDC& dc);
    // Sends a mouse message to the parent in its client coordinates; false without parent.
    bool passMouseToParent(UINT message, UINT nFlags, CPoint point);
};
