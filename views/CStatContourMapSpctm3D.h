// First layer of the contour-map view: the spectral parameters the sensor scene lacks, the
// contour-map window, the sensor colour query and the convex-hull contour mesh through the
// sensor positions, whose vertices carry the sensors' colours.
#pragma once

#include "viewbase/CStatD3DMzq.h"
#include "views/CGradPairs.h"

#include <vector>

class CMEGSpctm3DRndzq;
class CSpctmChnlzq;

class CStatContourMapSpctm3D : public CStatD3DMzq {
    DECLARE_DYNAMIC(CStatContourMapSpctm3D)
public:
    CStatContourMapSpctm3D();
    ~CStatContourMapSpctm3D() override;
    CStatContourMapSpctm3D(const CStatContourMapSpctm3D&) = delete;
    CStatContourMapSpctm3D& operator=(const CStatContourMapSpctm3D&) = delete;

    // Build the convex-hull mesh of the MEG sensors (EEG electrodes) into the MEG (EEG) hull
    // object: three vertices per hull triangle, flat facet normals, the sensors' colours. Null
    // data: the view's session. 1 when built, 0 when nothing was built.
    int initTriMegSnsHullVtx(CMEGDatazq* data);
    int initTriEegEltHullVtx(CMEGDatazq* data);

    // The contour-map window: from the renderer's cursor to the cursor plus width and height
    // (inclusive indices, never clamped). All zero without a renderer.
    struct CntmpWindow {
        long long t0 = 0, f0 = 0, t1 = 0, f1 = 0;
    };
    CntmpWindow getCntmpWindow() const;

    CMEGSpctm3DRndzq* m_pRnd = nullptr; // shared renderer, not owned
    int m_spectralClass = 0;
    int m_component = 0;
    long long m_winWidth = 30;
    long long m_winHeight = 30;
    long long m_stepTime = 10;
    long long m_stepFreq = 10;
    int m_snsActivity = 1;   // the dialog's "Sensor Act", kept between its refreshes
    CMMaterialzq m_matSpctm; // takes each sensor's colour just before it is drawn

protected:
    // The sensor colour query: the renderer's colour of the channel's values inside the window
    // into the material and the colour, whichever is given. 0 when no query was made: no
    // renderer, or the renderer found no data earlier in this build or paint (it told the user
    // once; the rest keep their colours).
    int querySnsColor(const CntmpWindow& w, CSpctmChnlzq* chnl, CMMaterialzq* material,
                      float* colour);
    // The same for channel i of trial; on a map of planar gradiometers in the standard
    // drawings, the colour of the value combined from both gradiometers of its place.
    int querySnsColor(const CntmpWindow& w, CMDTrialzq* trial, int i, CMMaterialzq* material,
                      float* colour);
    // The value that colours channel i in the standard drawings (the window mean, combined
    // for a gradiometer pair); 0 when the window holds no data.
    int windowValue(const CntmpWindow& w, CMDTrialzq* trial, int i, double& value);
    // Finds the gradiometer pairs of trial again when the map combines them.
    void findPairs(CMDTrialzq* trial);
    bool combinesPairs() const { return m_megSnsKind == kMegPlanarGrad && m_chnType == kChnMeg; }

    CGradPairs m_pairs;
    // One build or paint, for as long as it lives: the renderer may tell the user about missing
    // data once more. A build inside a paint belongs to the paint, which has told it already.
    class ColorQueryScope {
    public:
        explicit ColorQueryScope(CStatContourMapSpctm3D& view) : m_view(view) {
            if (m_view.m_queryDepth++ == 0)
                m_view.m_queriesOff = false;
        }
        ~ColorQueryScope() { --m_view.m_queryDepth; }
        ColorQueryScope(const ColorQueryScope&) = delete;
        ColorQueryScope& operator=(const ColorQueryScope&) = delete;

    private:
        CStatContourMapSpctm3D& m_view;
    };

    DECLARE_MESSAGE_MAP()

private:
    int initTriHullVtx(CMEGDatazq* data, int chnType);
    // Hull points of the shown channels that have a spectrum of the class and a sensor object.
    void collectHullPoints(CMDTrialzq* trial, int chnType, std::vector<R3>& pts);
    void writeHullVertices(CMDTrialzq* trial, const std::vector<R3>& unique,
                           const std::vector<Tri>& tris, D3DVTX_PNCd* vtx);

    bool m_queriesOff = false;
    int m_queryDepth = 0; // open colour-query scopes
};
