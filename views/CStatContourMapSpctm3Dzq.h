// The contour-map view that the contour-map window holds: paints the sensors coloured by their
// spectral power inside the contour-map window and the contour surface through them (convex
// hull or sensor fans), moves the window by the arrow keys, names it in a text line and fits
// the colour range to the sensors' values.
#pragma once

#include "views/CHeadMarks.h"
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
    // Colours that fit the quantity shown: with chooseDrawing, power and magnitude of the
    // Active and Control classes take the absolute-value drawing, signed values and every
    // Result contrast the polarity drawing; then the range is fitted to the shown sensors'
    // window values, from the smallest to the largest (absolute) or symmetric about 0 up to
    // the largest magnitude (polarity). 0 without data.
    int fitColor4Quantity(bool chooseDrawing);
    // One colour range for the windows that ticks animation steps from the current cursor
    // visit, fitted as fitColor4Quantity does over all of them; the cursor is left where it
    // was. 0 without data or steps.
    int fitColor4Sweep(long long ticks);
    // Build every fan of the MEG sensors (EEG electrodes) into the fan data of the type.
    int initTriMegSnsFanVtx();
    int initTriEegEltFanVtx();
    // Shows only the MEG sensors of one kind (kMegMagnetometer, kMegPlanarGrad, kMegAxialGrad)
    // or all of them (kMegAllKinds); planar gradiometer pairs then show one combined value
    // per place. 0 for another value, nothing changed.
    int setMegSnsKind(int kind);
    // The kinds of MEG sensor among the current trial's channels, in kind order.
    std::vector<int> getMegSnsKinds();
    // The same for any trial (none for null).
    static std::vector<int> megSnsKindsOf(CMDTrialzq* trial);
    // What the map shows, for people: "Magnetometers", "Planar gradiometers", "EEG electrodes".
    CString sensorLabel() const;
    // The lines that name what the picture shows: the window actually averaged (cut to the
    // grid) in ms and Hz, then class, component and sensors. None without data.
    std::vector<CString> describeWindow();
    // Nose and ear marks of the last paint (none when the layouts do not say where the front
    // is).
    const CHeadMarks& headMarks() const { return m_marks; }

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
    // Vertex colours, or the surface material's colour, for the surfaces drawn next.
    void setSurfaceColorMode(bool vertexColours);
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
    // The band under the 3D frame: the colour bar and the line naming the window.
    void drawOverlays(CDC& dc, const CRect& client);
    // Height of that band with the text lines of dc: the frame never reaches under it.
    int overlayBandHeight(CDC& dc, const CRect& client) const;
    // Nose and ears for the sensors of the channel type, drawn into the frame.
    void drawHeadMarks();
    // Unit of the values of the shown channels.
    CString shownUnit();

    // State of the build in progress: its window, trial and sphere.
    CntmpWindow m_buildWin;
    CMDTrialzq* m_pBuildTrial = nullptr;
    float m_buildSphere[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    CSnsFanChain m_chain;
    CMVBzq m_fanDraw;
    CHeadMarks m_marks;
    CMVBzq m_marksDraw;
};
