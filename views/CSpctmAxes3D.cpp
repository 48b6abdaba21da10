// Axes of the single-channel surface: lines in the scene, labels on the screen.
#include "views/CSpctmAxes3D.h"

#include "engine/CM3Dzq.h"
#include "gfx/ID3D11DeviceContext.h"
#include "recording/CSpctmTrial.h"
#include "views/CAxisTicks.h"
#include "views/CSpctmUnit.h"
#include "win/CDC.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Offset of the axes from the grid's edges and length of a tick, as shares of the box.
constexpr double kGapShare = 0.03;
constexpr double kTickShare = 0.02;
// Screen pixels per tick interval at most, between a label and its tick, and around labels.
constexpr double kPixelsPerTick = 40.0;
constexpr double kLabelGap = 3.0;
constexpr int kLabelMargin = 2;
// An axis shorter than this on the screen, or within 20 degrees of the line of sight, is seen
// end-on: it gets no labels.
constexpr double kMinAxisPixels = 30.0;
constexpr double kEndOnCosine = 0.94;
constexpr int kMaxIntervals = 8;
constexpr float kLineColor[4] = {0.86f, 0.88f, 0.92f, 1.0f};

struct Extent {
    double xLo, xHi, yFloor, yTop, zLo, zHi, gap, tick;
};

Extent extentOf(const CSpctmAxes3D::Grid& g, double yLow, double yHigh) {
    const double xa = g.x0, xb = g.x0 + static_cast<double>(g.tLast - g.tFirst) * g.dx;
    const double za = g.z0, zb = g.z0 + static_cast<double>(g.fLast - g.fFirst) * g.dz;
    Extent e{std::min(xa, xb),
             std::max(xa, xb),
             std::min(0.0, yLow),
             std::max(0.0, yHigh),
             std::min(za, zb),
             std::max(za, zb),
             0.0,
             0.0};
    const double size =
        std::sqrt((e.xHi - e.xLo) * (e.xHi - e.xLo) + (e.yTop - e.yFloor) * (e.yTop - e.yFloor) +
                  (e.zHi - e.zLo) * (e.zHi - e.zLo));
    e.gap = kGapShare * size;
    e.tick = kTickShare * size;
    return e;
}

// Fractional index of value v in a monotonic list, or -1 when v lies outside it.
double indexIn(const std::vector<double>& list, long long first, long long last, double v) {
    for (long long i = first; i < last; ++i) {
        const double a = list[static_cast<size_t>(i)], b = list[static_cast<size_t>(i + 1)];
        if ((v >= a && v <= b) || (v <= a && v >= b))
            return a == b ? static_cast<double>(i) : static_cast<double>(i) + (v - a) / (b - a);
    }
    return first == last && v == list[static_cast<size_t>(first)] ? static_cast<double>(first)
                                                                  : -1.0;
}

bool monotonic(const std::vector<double>& list, long long first, long long last) {
    bool up = true, down = true;
    for (long long i = first; i < last; ++i) {
        up = up && list[static_cast<size_t>(i + 1)] > list[static_cast<size_t>(i)];
        down = down && list[static_cast<size_t>(i + 1)] < list[static_cast<size_t>(i)];
    }
    return up || down;
}

struct Point2 {
    double x = 0, y = 0;
};

// The rectangle of a text of size ext whose nearest side lies gap pixels from q along d.
CRect besidePoint(Point2 q, Point2 d, CSize ext, double gap) {
    const double reach = gap + std::fabs(d.x) * ext.cx / 2.0 + std::fabs(d.y) * ext.cy / 2.0;
    const double cx = q.x + d.x * reach, cy = q.y + d.y * reach;
    const int left = static_cast<int>(std::lround(cx - ext.cx / 2.0));
    const int top = static_cast<int>(std::lround(cy - ext.cy / 2.0));
    return CRect(left, top, left + ext.cx, top + ext.cy);
}

} // namespace

// One axis: its line, the direction of its ticks, its value range and where a value lies.
struct CSpctmAxes3D::Axis {
    AxisId id;
    double from[3];
    double to[3];
    double out[3];
    double lo, hi;
    std::function<bool(double, double[3])> at;
    CString title;
    bool titleAtEnd = false; // the title stands above the axis' end instead of beside it
    Point2 fallback;         // label direction when the ticks point at the eye
};

// Scene points to client pixels through the engine's camera and the surface's model.
class CSpctmAxes3D::Projector {
public:
    Projector(const CM3Dzq& engine, const float model[16])
        : m_width(engine.getTargetWidth()), m_height(engine.getTargetHeight()) {
        engine.computeWvp(model, m_wvp, m_wv);
    }
    // Whether the line from a to b points nearly along the line of sight.
    bool endOn(const double a[3], const double b[3]) const {
        double d[3];
        for (int i = 0; i < 3; ++i)
            d[i] =
                m_wv[i] * (b[0] - a[0]) + m_wv[4 + i] * (b[1] - a[1]) + m_wv[8 + i] * (b[2] - a[2]);
        const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        return !(len > 0.0) || std::fabs(d[2]) > kEndOnCosine * len;
    }
    bool toScreen(const double p[3], Point2& s) const {
        double c[4];
        for (int i = 0; i < 4; ++i)
            c[i] = m_wvp[i] * p[0] + m_wvp[4 + i] * p[1] + m_wvp[8 + i] * p[2] + m_wvp[12 + i];
        if (!(c[3] > 1e-9))
            return false;
        s.x = (c[0] / c[3] + 1.0) * 0.5 * m_width;
        s.y = (1.0 - c[1] / c[3]) * 0.5 * m_height;
        return std::isfinite(s.x) && std::isfinite(s.y);
    }
    CRect frame() const { return CRect(0, 0, m_width, m_height); }

private:
    float m_wvp[16];
    float m_wv[16];
    int m_width, m_height;
};

CSpctmAxes3D::Box CSpctmAxes3D::boxFor(const Grid& grid, double yLow, double yHigh) {
    Box b;
    if (!grid.valid())
        return b;
    const Extent e = extentOf(grid, yLow, yHigh);
    const double reach = e.gap + e.tick;
    b.lo[0] = e.xLo - reach;
    b.lo[1] = e.yFloor;
    b.lo[2] = e.zLo - reach;
    b.hi[0] = e.xHi;
    b.hi[1] = e.yTop;
    b.hi[2] = e.zHi;
    return b;
}

void CSpctmAxes3D::clear() {
    m_lineVertices.clear();
    m_labels.clear();
}

void CSpctmAxes3D::layout(const Grid& g, double yLow, double yHigh, const CSpctmTrial& st,
                          int component, const CString& unit, const CM3Dzq& engine,
                          const float model[16], CDC& dc, std::vector<CRect>& taken) {
    clear();
    if (!g.valid())
        return;
    const Extent e = extentOf(g, yLow, yHigh);
    const Projector screen(engine, model);

    Axis time{kTime,
              {e.xLo, e.yFloor, e.zLo - e.gap},
              {e.xHi, e.yFloor, e.zLo - e.gap},
              {0.0, 0.0, -e.tick},
              st.getLatencyMs(g.tFirst),
              st.getLatencyMs(g.tLast),
              {},
              CString(u"Time (ms)"),
              false,
              {0.0, 1.0}};
    const double stepMs = st.getTimeStepMs();
    time.at = [&](double ms, double p[3]) {
        const double t = (ms - st.getLatencyMs(0)) / stepMs;
        p[0] = g.x0 + (t - static_cast<double>(g.tFirst)) * g.dx;
        p[1] = time.from[1];
        p[2] = time.from[2];
        return true;
    };
    layoutAxis(time, screen, dc, taken);

    const std::vector<double>& hz = st.getFreqsHz();
    const bool freqsKnown = static_cast<long long>(hz.size()) > g.fLast && g.fFirst >= 0 &&
                            monotonic(hz, g.fFirst, g.fLast);
    Axis freq{kFrequency,
              {e.xLo - e.gap, e.yFloor, e.zLo},
              {e.xLo - e.gap, e.yFloor, e.zHi},
              {-e.tick, 0.0, 0.0},
              freqsKnown ? hz[static_cast<size_t>(g.fFirst)] : 0.0,
              freqsKnown ? hz[static_cast<size_t>(g.fLast)] : 0.0,
              {},
              CString(u"Frequency (Hz)"),
              false,
              {-1.0, 0.0}};
    freq.at = [&](double v, double p[3]) {
        const double f = indexIn(hz, g.fFirst, g.fLast, v);
        p[0] = freq.from[0];
        p[1] = freq.from[1];
        p[2] = g.z0 + (f - static_cast<double>(g.fFirst)) * g.dz;
        return f >= 0.0;
    };
    if (freqsKnown)
        layoutAxis(freq, screen, dc, taken);
    else
        addLine(freq.from, freq.to);

    // Ticks at round values in the prefixed unit: value = shown * factor.
    double factor = 1.0;
    const double magnitude = std::max(std::fabs(e.yFloor), std::fabs(e.yTop)) / std::fabs(g.dy);
    const CString title = CSpctmUnit::scaledTitle(component, unit, magnitude, &factor);
    Axis value{kValue,
               {e.xLo - e.gap, e.yFloor, e.zHi},
               {e.xLo - e.gap, e.yTop, e.zHi},
               {-e.tick, 0.0, 0.0},
               e.yFloor / g.dy / factor,
               e.yTop / g.dy / factor,
               {},
               component >= 0 ? title : CString(),
               true,
               {-1.0, 0.0}};
    value.at = [&](double v, double p[3]) {
        p[0] = value.from[0];
        p[1] = v * factor * g.dy;
        p[2] = value.from[2];
        return true;
    };
    if (g.dy != 0.0 && std::isfinite(value.lo) && std::isfinite(value.hi))
        layoutAxis(value, screen, dc, taken);
    else
        addLine(value.from, value.to);
}

void CSpctmAxes3D::layoutAxis(const Axis& axis, const Projector& screen, CDC& dc,
                              std::vector<CRect>& taken) {
    addLine(axis.from, axis.to);
    Point2 a, b;
    if (!screen.toScreen(axis.from, a) || !screen.toScreen(axis.to, b))
        return;
    const double pixels = std::hypot(b.x - a.x, b.y - a.y);
    if (pixels < kMinAxisPixels || screen.endOn(axis.from, axis.to))
        return;
    const int intervals = std::clamp(static_cast<int>(pixels / kPixelsPerTick), 1, kMaxIntervals);
    double step = 0.0;
    const std::vector<double> ticks =
        CAxisTicks::chooseAtLeastTwo(axis.lo, axis.hi, intervals, &step);
    // Labels go where the ticks point on the screen.
    const auto direction = [&](const double p[3], const double q[3], Point2& qs) {
        Point2 ps;
        if (!screen.toScreen(p, ps) || !screen.toScreen(q, qs))
            return Point2{0.0, 0.0};
        const double len = std::hypot(qs.x - ps.x, qs.y - ps.y);
        return len > 0.5 ? Point2{(qs.x - ps.x) / len, (qs.y - ps.y) / len} : axis.fallback;
    };
    double reach = 0.0;
    Point2 d{0.0, 0.0};
    for (double v : ticks) {
        double p[3], q[3];
        if (!axis.at(v, p))
            continue;
        for (int k = 0; k < 3; ++k)
            q[k] = p[k] + axis.out[k];
        addLine(p, q);
        Point2 qs;
        d = direction(p, q, qs);
        if (d.x == 0.0 && d.y == 0.0)
            continue;
        const CString text = CAxisTicks::label(v, step);
        const CSize ext = dc.GetTextExtent(text);
        reach = std::max(reach, std::fabs(d.x) * ext.cx + std::fabs(d.y) * ext.cy);
        place({text, besidePoint(qs, d, ext, kLabelGap), axis.id, false}, screen.frame(), taken);
    }
    if (axis.title.IsEmpty())
        return;
    const CSize ext = dc.GetTextExtent(axis.title);
    if (axis.titleAtEnd) {
        place({axis.title, besidePoint(b, Point2{0.0, -1.0}, ext, 2.0 * kLabelGap), axis.id, true},
              screen.frame(), taken);
        return;
    }
    double mid[3], midOut[3];
    for (int k = 0; k < 3; ++k) {
        mid[k] = 0.5 * (axis.from[k] + axis.to[k]);
        midOut[k] = mid[k] + axis.out[k];
    }
    Point2 qs;
    d = direction(mid, midOut, qs);
    if (d.x != 0.0 || d.y != 0.0)
        place({axis.title, besidePoint(qs, d, ext, 3.0 * kLabelGap + reach), axis.id, true},
              screen.frame(), taken);
}

void CSpctmAxes3D::place(const Label& label, const CRect& frame, std::vector<CRect>& taken) {
    const CRect& rect = label.rect;
    if (rect.left < frame.left || rect.top < frame.top || rect.right > frame.right ||
        rect.bottom > frame.bottom)
        return;
    CRect padded = rect;
    padded.InflateRect(kLabelMargin, kLabelMargin);
    for (const CRect& other : taken) {
        CRect common;
        if (common.IntersectRect(padded, other))
            return;
    }
    taken.push_back(rect);
    m_labels.push_back(label);
}

void CSpctmAxes3D::addLine(const double a[3], const double b[3]) {
    m_lineVertices.insert(m_lineVertices.end(), a, a + 3);
    m_lineVertices.insert(m_lineVertices.end(), b, b + 3);
}

void CSpctmAxes3D::drawLines(CM3Dzq& engine, const float model[16]) {
    const long long n = static_cast<long long>(m_lineVertices.size() / 3);
    if (n < 2)
        return;
    if (m_lines.m_nVtxCapacity < n && !m_lines.initBuf4triangVtx(n))
        return;
    for (long long i = 0; i < n; ++i) {
        D3DVTX_PNCd& v = m_lines.m_pVtx[i];
        for (int k = 0; k < 3; ++k)
            v.pos[k] = static_cast<float>(m_lineVertices[static_cast<size_t>(3 * i + k)]);
        v.pos[3] = 1.0f;
        v.nml[0] = v.nml[2] = v.nml[3] = 0.0f;
        v.nml[1] = 1.0f;
        std::copy(kLineColor, kLineColor + 4, v.clr);
    }
    m_lines.m_nVtx = n;
    std::copy(model, model + 16, m_lines.m_model);
    m_lines.m_pM3D = &engine;
    engine.setOutmergVtxColor1(13, 1);
    m_lines.updateCnstBuf4Wvp(1);
    if (!m_lines.makeContent() || !m_lines.bindForDraw())
        return;
    engine.getImmediateContext()->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    engine.getImmediateContext()->Draw(static_cast<unsigned>(n), 0);
}

void CSpctmAxes3D::drawLabels(CDC& dc) const {
    for (const Label& l : m_labels)
        dc.TextOut(l.rect.left, l.rect.top, l.text);
}
