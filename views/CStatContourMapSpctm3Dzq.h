// The contour-map view that the contour-map window holds: paints the sensors coloured by their
// spectral power inside the contour-map window and the contour surface through them (convex
// hull or sensor fans), moves the window by the arrow keys, names it in a text line and fits
// the colour range to the sensors' values.
#pragma once

#include "views/CSnsFanChain.h"
#include "views/CStatContourMapSpctm3D.h"

class CDC;

class CStatContourMapSpctm3Dzq : public CStatContourMapSpctm3D {
    DECLARE_DYNAMIC(CStatContourMapSpctm3Dzq)
public:
    // Operation mode of the window's "Move" button: drag and arrow keys move the window.
    static constexpr int kModeWindowMove = 902;

    CStatContourMapSpctm3Dzq();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Sensors and contour surface of one frame; call between the engine's frame begin and end.
    int drawSpctmCntmp3D();
    // The MEG sensors (EEG electrodes), each in its spectral colour.
    int drawMegSnsSpctm();
    int drawEegEltSpctm();
    // The line "Time:...ms(...); Freq:...Hz (...)" at the bottom left of client.
    int drawTimeFreqInfo(CDC* dc, const RECT* client);
    // The renderer's standard range becomes the span of the shown sensors' window means.
    int autofitColor4SnsWin();
    // Build every fan of the MEG sensors (EEG electrodes) into the fan data of the type.
    int initTriMegSnsFanVtx();
    int initTriEegEltFanVtx();
    // Writes the picture to a PNG file (path in UTF-8): at scale 1 what the view shows, text
    // and colour bar included; at 2 to 4 the 3D frame rendered at that multiple of the view's
    // size. 0 without a window or scene, or when the file cannot be written.
    int savePicture(const char* path, int scale);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    int checkInitScene();
    // Renders and presents one frame of the scene (no text).
    void renderFrame();
    int drawSnsSpctm(int chnType);
    // The surface of the channel type: hull (when out of date rebuilt first) or fans.
    int drawContourSurface(int chnType);
    void setSurfaceColorMode();
    // What the hull's colours stand for besides the window: a change asks for a new mesh.
    unsigned long long colorKey() const;
    // Draws vertices [first, end) of vb as a triangle list with the engine's lit pipeline.
    void drawTriangles(CMVBzq& vb, const std::vector<std::pair<long long, long long>>& runs);
    int initTriFanVtx(int chnType);
    // One fan of the channel i at place fans.m_nFan; 0 when the build must stop.
    int buildFan(CSnsFanData4ContourMapx& fans, int chnType, int i, long long& v);
    void writeFanVertex(D3DVTX_PNCd& out, const double pos[3], int channel);
    bool isNeighbour(int chnType, const double p[3], const double q[3]) const;
    // Gives a full fan's farther neighbour at place k the candidate j at q; 0 when its colour
    // cannot be made.
    int replaceNeighbour(CSnsFan4ContourMapx& fan, int chnType, int k, int j, const double q[3]);
    // The fans as triangles (closed round a centre whose ring closes) into the fan draw buffer.
    void makeFanTriangles(CSnsFanData4ContourMapx& fans, int chnType);
    // Second info line (class, component, colour range) and the colour bar.
    void drawOverlays(CDC& dc, const CRect& client);

    // State of the build in progress: its window, trial and sphere.
    CntmpWindow m_buildWin;
    CMDTrialzq* m_pBuildTrial = nullptr;
    float m_buildSphere[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    CSnsFanChain m_chain;
    CMVBzq m_fanDraw;
};
