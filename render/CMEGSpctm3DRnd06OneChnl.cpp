// Renderer layer of the single-channel spectrogram: grid walk, window and peak views, pick.
#include "render/CMEGSpctm3DRnd06OneChnl.h"

#include "geometry/CNmlMath.h"
#include "geometry/COneSpctm3DVtx.h"
#include "recording/CMEGDatazq.h"
#include "render/CRndPaletteIndex.h"

#include <algorithm>
#include <cmath>

namespace {

// A palette as four floats per entry, converted once per drawing instead of once per vertex.
using FloatPalette = float[1024][4];

int toFloats(const std::uint32_t* palette, int entries, FloatPalette& out) {
    const int n = entries < 1024 ? entries : 1024;
    for (int k = 0; k < n; ++k)
        CADRindex2Colorzq::color2Float4(palette[k], out[k]);
    return n;
}

// Each colour rule maps a raw grid value to its colour; the walk is instantiated once per rule
// so that the choice is not made per vertex.

struct WindowColor {
    const FloatPalette* palette;
    int entries;
    double lower, upper, scale;
    int middle;
    bool outsideToMiddle;
    const float* operator()(double v) const {
        if (outsideToMiddle && (v <= lower || v >= upper))
            return (*palette)[middle];
        if (v <= lower)
            return (*palette)[0];
        if (v >= upper)
            return (*palette)[entries - 1];
        return (*palette)[CRndPaletteIndex::entry(std::fabs((v - lower) * scale), entries)];
    }
};

struct PeakColor {
    const FloatPalette* negative;
    const FloatPalette* positive;
    int entries;
    double lower, upper, lowScale, upScale, split;
    const float* operator()(double v) const {
        if (v < lower && v < split)
            return (*negative)[CRndPaletteIndex::entry(std::fabs((v - lower) * lowScale), entries)];
        if (v > upper && v > split)
            return (*positive)[CRndPaletteIndex::entry((v - upper) * upScale, entries)];
        return (*negative)[0];
    }
};

// Standard rule: the magnitude over the standard view range; with a negative palette the sign
// chooses the palette (0 counts as positive).
struct StdColor {
    const FloatPalette* negative; // null: one continuous palette in `positive`
    const FloatPalette* positive;
    int entries;
    double lower, upper, scale;
    const float* operator()(double v) const {
        const FloatPalette& palette = negative && v < 0.0 ? *negative : *positive;
        const double a = std::fabs(v);
        if (a <= lower)
            return palette[0];
        if (a >= upper)
            return palette[entries - 1];
        return palette[CRndPaletteIndex::entry(std::fabs((a - lower) * scale), entries)];
    }
};

// A span of exactly 0 is replaced so that the scale stays finite.
double nonZero(double span, double replacement) {
    return span == 0.0 ? replacement : span;
}

} // namespace

CMEGSpctm3DRnd06OneChnl::CMEGSpctm3DRnd06OneChnl() {
    scaleValue = 1.0;
}

int CMEGSpctm3DRnd06OneChnl::drawOneSpctmColumn(COneSpctm3DVtx* vtx, CRect rect, int spectralClass,
                                                int component) {
    if (proDisplayMode == 0 || proDisplayMode == 1)
        return drawOneSpctmColumnWindView(vtx, rect, spectralClass, component);
    return drawOneSpctmColumnPeakView(vtx, rect, spectralClass, component);
}

CSumChnlSpctmDatazq* CMEGSpctm3DRnd06OneChnl::fetchGroupRecord(COneSpctm3DVtx* vtx,
                                                               int spectralClass, int component) {
    if (!vtx || !fetch() || !trial->getChannel(-1))
        return nullptr;
    CSpctmTrialzq* st = trial->getSpctmTrial(false, spectralClass);
    return st ? st->getSumChnlSpctmData(component) : nullptr;
}

CSpctmChnlzq* CMEGSpctm3DRnd06OneChnl::currentChannelSpctm(int spectralClass) {
    CMDChannelzq* channel = trial ? trial->getChannel(-1) : nullptr;
    return channel ? channel->getSpctmChnl(false, spectralClass) : nullptr;
}

CMEGSpctm3DRnd06OneChnl::GridChoice CMEGSpctm3DRnd06OneChnl::chooseGrid(CSumChnlSpctmDatazq* record,
                                                                        CSpctmChnlzq* chnl,
                                                                        int component,
                                                                        bool timeFromChannel) {
    GridChoice g;
    g.nTime = record->nTime;
    g.nFreq = record->nFreq;
    if (showSource == 0) {
        if (!chnl)
            return g;
        long long nTime = 0;
        long long nFreq = 0;
        double* grid = chnl->getSpctmDataPtr(component, &nTime, &nFreq);
        g.nFreq = nFreq;
        if (timeFromChannel)
            g.nTime = nTime;
        // Rows beyond the channel's own grid cannot be read.
        if (g.nTime <= nTime)
            g.grid = grid;
        return g;
    }
    double* const groups[] = {record->pMean,   record->pMin,    record->pMax,
                              record->pAvgPos, record->pAvgNeg, record->pRms};
    if (showSource >= 1 && showSource <= 6)
        g.grid = groups[showSource - 1];
    return g;
}

namespace {

// Normal rules of the walk, applied per vertex pair from the heights of its quad (first digit
// time, second frequency); instantiated separately so the choice is not made per vertex.
struct KeepNormals {
    void operator()(float, float, float, float, D3DVTX_PNCd*) const {}
};

struct BasicNormals {
    void operator()(float, float, float, float, D3DVTX_PNCd* p) const {
        const __m128 up = _mm_setr_ps(0.0f, 1.0f, 0.0f, 1.0f);
        _mm_storeu_ps(p[0].nml, up);
        _mm_storeu_ps(p[1].nml, up);
    }
};

struct StdNormals {
    float s;
    void operator()(float h00, float h01, float h10, float h11, D3DVTX_PNCd* p) const {
        CNmlMath::stdPair(h00, h01, h10, h11, s, p[0].nml, p[1].nml);
    }
};

// Where the walk goes: rows firstRow..N-2 of strips firstRow..M-2, shifted so that the first
// row and strip lie at -N/2 and -M/2.
struct WalkShape {
    const double* grid;
    long long N, M, firstRow;
    double scaleTime, scaleFreq, scaleValue;
};

// Fills strip f with one vertex pair per row, written sequentially; each row's lower heights
// are carried into the next row instead of being converted twice.
template <typename Color, typename Normals>
void fillStrip(const WalkShape& w, long long f, CMVBzq& strip, const Color& color,
               const Normals& normals) {
    strip.m_nVtx = 0;
    D3DVTX_PNCd* p = strip.getBufPtr();
    if (!p)
        return;
    const long long M = w.M;
    const double sv = w.scaleValue;
    const double z0 = static_cast<double>(f - w.firstRow - w.M / 2) * w.scaleFreq;
    const float z = static_cast<float>(z0);
    const float zNext = static_cast<float>(z0 + w.scaleFreq);
    const double* v = w.grid + w.firstRow * M + f;
    float h0 = static_cast<float>(v[0] * sv);
    float h1 = static_cast<float>(v[1] * sv);
    for (long long t = w.firstRow; t <= w.N - 2; ++t, v += M, p += 2) {
        const float x =
            static_cast<float>(static_cast<double>(t - w.firstRow - w.N / 2) * w.scaleTime);
        const float h2 = static_cast<float>(v[M] * sv);
        const float h3 = static_cast<float>(v[M + 1] * sv);
        _mm_storeu_ps(p[0].pos, _mm_setr_ps(x, h0, z, 1.0f));
        _mm_storeu_ps(p[1].pos, _mm_setr_ps(x, h1, zNext, 1.0f));
        _mm_storeu_ps(p[0].clr, _mm_loadu_ps(color(v[0])));
        _mm_storeu_ps(p[1].clr, _mm_loadu_ps(color(v[1])));
        normals(h0, h1, h2, h3, p);
        h0 = h2;
        h1 = h3;
    }
    strip.m_nVtx = 2 * (w.N - 1 - w.firstRow);
}

template <typename Color, typename Normals>
void fillStrips(const WalkShape& w, COneSpctm3DVtx& vtx, const Color& color,
                const Normals& normals) {
    for (long long f = w.firstRow; f <= w.M - 2; ++f)
        fillStrip(w, f, vtx.strips[f], color, normals);
}

// Picks the normal rule once for the whole walk.
template <typename Color>
void fillStrips(const WalkShape& w, COneSpctm3DVtx& vtx, const Color& color, bool basic,
                bool standard) {
    if (basic)
        fillStrips(w, vtx, color, BasicNormals{});
    else if (standard)
        fillStrips(w, vtx, color,
                   StdNormals{static_cast<float>((w.scaleTime + w.scaleFreq) * 0.5)});
    else
        fillStrips(w, vtx, color, KeepNormals{});
}

} // namespace

int CMEGSpctm3DRnd06OneChnl::walkGrid(COneSpctm3DVtx* vtx, const GridChoice& g, long long firstRow,
                                      ColorRule color, NormalRule normals) {
    const int pair = peakPair();
    const int kPeak = peakSize();
    const int kCont = continuousSize();
    const std::uint32_t* continuous = continuousPalette();
    const std::uint32_t* negative = getNegativePalette(pair);
    const std::uint32_t* positive = getPositivePalette(pair);
    const bool peakPalettes = color == ColorRule::Peak || color == ColorRule::Polarity;
    if (peakPalettes ? !negative || !positive || kPeak < 1 : !continuous)
        return 0;
    if (!vtx || !g.grid || !vtx->checkInitVtxBuf(g.nTime, g.nFreq))
        return 0;
    const WalkShape w{g.grid, g.nTime, g.nFreq, firstRow, scaleTime, scaleFreq, scaleValue};
    // Strips the walk does not reach must not carry an earlier drawing into the join.
    for (long long s = 0; s < firstRow && s < vtx->stripCount; ++s)
        vtx->strips[s].m_nVtx = 0;
    const bool basic = normals == NormalRule::Basic;
    const bool standard = normals == NormalRule::Standard;
    alignas(16) FloatPalette first;
    alignas(16) FloatPalette second;
    const int k =
        peakPalettes ? std::min(toFloats(negative, kPeak, first), toFloats(positive, kPeak, second))
                     : toFloats(continuous, kCont, first);
    switch (color) {
    case ColorRule::Window: {
        const double scale = k / nonZero(proUpper - proLower, 1.0);
        const WindowColor c{&first, k, proLower, proUpper, scale, k / 2, proDisplayMode == 1};
        fillStrips(w, *vtx, c, basic, standard);
        break;
    }
    case ColorRule::Peak: {
        const double upScale = k / nonZero(std::fabs(proUpperLimit - proUpper), 1e-7);
        const double lowScale = k / nonZero(std::fabs(proLowerLimit - proLower), 1e-7);
        const double split = proDisplayMode == 2 ? 0.0 : (proUpperLimit + proLowerLimit) / 2;
        const PeakColor c{&first, &second, k, proLower, proUpper, lowScale, upScale, split};
        fillStrips(w, *vtx, c, basic, standard);
        break;
    }
    case ColorRule::Absolute:
    case ColorRule::Polarity: {
        const bool signedValues = color == ColorRule::Polarity;
        const StdColor c{signedValues ? &first : nullptr,
                         signedValues ? &second : &first,
                         k,
                         stdLower,
                         stdUpper,
                         k / nonZero(stdUpper - stdLower, 1e-7)};
        fillStrips(w, *vtx, c, basic, standard);
        break;
    }
    }
    if (normals == NormalRule::PassAll)
        vtx->normalAll();
    else if (normals == NormalRule::PassOptim)
        vtx->normalOptim();
    // Nothing joinable must not leave an earlier surface on screen.
    if (vtx->combineVb4Spctm() == 0)
        vtx->combined.m_nVtx = 0;
    return 1;
}

int CMEGSpctm3DRnd06OneChnl::drawOneSpctmColumnWindView(COneSpctm3DVtx* vtx, CRect,
                                                        int spectralClass, int component) {
    CSumChnlSpctmDatazq* record = fetchGroupRecord(vtx, spectralClass, component);
    if (!record)
        return 0;
    CSpctmChnlzq* chnl = currentChannelSpctm(spectralClass);
    if (!chnl)
        return 0;
    return walkGrid(vtx, chooseGrid(record, chnl, component, false), 1, ColorRule::Window,
                    NormalRule::Standard);
}

int CMEGSpctm3DRnd06OneChnl::drawOneSpctmColumnPeakView(COneSpctm3DVtx* vtx, CRect,
                                                        int spectralClass, int component) {
    CSumChnlSpctmDatazq* record = fetchGroupRecord(vtx, spectralClass, component);
    if (!record)
        return 0;
    CSpctmChnlzq* chnl = showSource == 0 ? currentChannelSpctm(spectralClass) : nullptr;
    return walkGrid(vtx, chooseGrid(record, chnl, component, false), 0, ColorRule::Peak,
                    NormalRule::Standard);
}

int CMEGSpctm3DRnd06OneChnl::getSpctmOneSelect4MousePt(CPoint point, long long& timeIndex,
                                                       long long& freqIndex, int, int) {
    if (!fetch())
        return 0;
    const double t =
        std::trunc((static_cast<double>(point.x) - static_cast<double>(pickOriginX)) / scaleValue +
                   static_cast<double>(linkTime));
    const double f =
        std::trunc((static_cast<double>(pickOriginY) - static_cast<double>(point.y)) / scaleValue +
                   static_cast<double>(linkFreq));
    // A zero or non-finite scale gives no grid point.
    constexpr double kLimit = 9.2e18;
    if (!(std::fabs(t) < kLimit) || !(std::fabs(f) < kLimit))
        return 0;
    timeIndex = static_cast<long long>(t);
    freqIndex = static_cast<long long>(f);
    return 1;
}

int CMEGSpctm3DRnd06OneChnl::linkContourmap2OneShow() {
    linkTime = timePos;
    linkFreq = freqPos;
    return 1;
}

int CMEGSpctm3DRnd06OneChnl::drawOneWaveColumn(COneSpctm3DVtx* vtx, CRect, int spectralClass, int) {
    if (!vtx || !fetch())
        return 0;
    CSpctmTrialzq* st = trial->getSpctmTrial(false, spectralClass);
    return st && st->isAccumSpctm() ? 1 : 0;
}

int CMEGSpctm3DRnd06OneChnl::drawOneSpctmMeasures(COneSpctm3DVtx*, CRect, int, int) {
    return 1;
}

int CMEGSpctm3DRnd06OneChnl::drawOneSpctmSelectInfo(COneSpctm3DVtx*, CRect, int, int) {
    return 0;
}

int CMEGSpctm3DRnd06OneChnl::drawOneSpctmSelectInfo_Acum(COneSpctm3DVtx*, CRect, int, int) {
    return 1;
}

int CMEGSpctm3DRnd06OneChnl::drawOneSpctmSelectInfo_RTcw(COneSpctm3DVtx*, CRect, int, int) {
    return 1;
}

int CMEGSpctm3DRnd06OneChnl::drawOneWaveColumn_Acum(COneSpctm3DVtx*, CRect, int, int) {
    return 1;
}

int CMEGSpctm3DRnd06OneChnl::drawOneWaveColumn_RTcw(COneSpctm3DVtx*, CRect, int, int) {
    return 0;
}
