// Renderer layer of the single-channel spectrogram: the professional window and peak views,
// the mouse pick, the link to the contour map's cursor and the placeholder drawings.
#pragma once

#include "render/CMEGSpctm3DRnd02Nml.h"
#include "win/CPoint.h"
#include "win/CRect.h"

#include <cstdint>

class COneSpctm3DVtx;
class CSumChnlSpctmDatazq;
class CSpctmChnlzq;
class CStatOneChnlSpctm3Dzq;

class CMEGSpctm3DRnd06OneChnl : public CMEGSpctm3DRnd02Nml {
    // The single-channel view picks the drawing itself when it rebuilds its surface.
    friend class CStatOneChnlSpctm3Dzq;

public:
    CMEGSpctm3DRnd06OneChnl();

    // proDisplayMode 0 or 1: window view; any other value: peak view. The rectangle is unused.
    int drawOneSpctmColumn(COneSpctm3DVtx* vtx, CRect rect, int spectralClass, int component);
    // The grid point under a control pixel, relative to the pick origin and the linked point;
    // not clipped to the grid. 0 (outputs untouched) when the data is missing.
    int getSpctmOneSelect4MousePt(CPoint point, long long& timeIndex, long long& freqIndex, int,
                                  int);
    // Copies the cursor into the linked point.
    int linkContourmap2OneShow();

    // Placeholders that draw nothing; their results are part of the interface.
    int drawOneWaveColumn(COneSpctm3DVtx* vtx, CRect rect, int spectralClass, int component);
    int drawOneSpctmMeasures(COneSpctm3DVtx* vtx, CRect rect, int, int);
    int drawOneSpctmSelectInfo(COneSpctm3DVtx* vtx, CRect rect, int, int);
    int drawOneSpctmSelectInfo_Acum(COneSpctm3DVtx* vtx, CRect rect, int, int);
    int drawOneSpctmSelectInfo_RTcw(COneSpctm3DVtx* vtx, CRect rect, int, int);
    int drawOneWaveColumn_Acum(COneSpctm3DVtx* vtx, CRect rect, int, int);
    int drawOneWaveColumn_RTcw(COneSpctm3DVtx* vtx, CRect rect, int, int);

    std::uint8_t showInfo = 0;
    long long pickOriginX = 0;
    long long pickOriginY = 0;
    long long linkTime = 0;
    long long linkFreq = 0;
    int showSource = 0; // 0 the channel's own spectrum, 1-6 the group grids

protected:
    int drawOneSpctmColumnWindView(COneSpctm3DVtx* vtx, CRect rect, int spectralClass,
                                   int component);
    int drawOneSpctmColumnPeakView(COneSpctm3DVtx* vtx, CRect rect, int spectralClass,
                                   int component);

    // How the walk colours a vertex from its raw value.
    enum class ColorRule { Window, Peak, Absolute, Polarity };
    // Normals: left as they are, straight up, forward differences per pair, or one
    // whole-grid pass (six or four neighbours) after the walk and before the join.
    enum class NormalRule { Keep, Basic, Standard, PassAll, PassOptim };

    // The grid chosen for drawing and its size.
    struct GridChoice {
        double* grid = nullptr;
        long long nTime = 0;
        long long nFreq = 0;
    };

    // Fetch steps shared by every drawing: vertex grid given, session, trial and current
    // channel present; then the group record of the class and component (null when missing).
    CSumChnlSpctmDatazq* fetchGroupRecord(COneSpctm3DVtx* vtx, int spectralClass, int component);
    // The current channel's spectrum of the class, or null.
    CSpctmChnlzq* currentChannelSpctm(int spectralClass);
    // The grid of showSource: the channel's own (counts from it where it has them) or a group
    // grid of the record. grid stays null for a missing grid or an unknown display choice.
    GridChoice chooseGrid(CSumChnlSpctmDatazq* record, CSpctmChnlzq* chnl, int component,
                          bool timeFromChannel);
    // Sizes the vertex grid, fills strips firstRow..M-2 with rows firstRow..N-2 (shifted so
    // the first row and strip lie at -N/2 and -M/2), empties the other strips, and joins.
    // 0 when the vertex grid cannot be sized.
    int walkGrid(COneSpctm3DVtx* vtx, const GridChoice& g, long long firstRow, ColorRule color,
                 NormalRule normals);
};
