// Nose and ear marks of the contour map.
#include "views/CHeadMarks.h"

#include "engine/CM3Dzq.h"
#include "engine/CMVBzq.h"
#include "win/CDC.h"

#include <cmath>
#include <limits>

namespace {

// Sizes in metres, like the sensor positions.
constexpr double kGap = 0.012;        // from the outermost probe to the mark
constexpr double kNoseLength = 0.028; // base to tip
constexpr double kNoseHalfWidth = 0.014;
constexpr double kEarHalfHeight = 0.022;
constexpr double kEarHalfDepth = 0.010;
constexpr double kEarBulge = 0.008;
constexpr float kMarkColour[4] = {0.93f, 0.93f, 0.90f, 1.0f};

using Point = CHeadMarks::Point;

Point add(const Point& a, const Point& b, double s = 1.0) {
    return {a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2]};
}

double dot(const Point& a, const Point& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Point cross(const Point& a, const Point& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

void writeTriangle(D3DVTX_PNCd*& out, const Point& a, const Point& b, const Point& c) {
    Point n = cross(add(b, a, -1.0), add(c, a, -1.0));
    const double len = std::sqrt(dot(n, n));
    for (double& v : n)
        v = len > 0.0 ? v / len : 0.0;
    for (const Point* p : {&a, &b, &c}) {
        D3DVTX_PNCd& v = *out++;
        for (int k = 0; k < 3; ++k) {
            v.pos[k] = static_cast<float>((*p)[k]);
            v.nml[k] = static_cast<float>(n[k]);
        }
        v.pos[3] = 1.0f;
        v.nml[3] = 1.0f;
        std::copy(kMarkColour, kMarkColour + 4, v.clr);
    }
}

// A four-sided pyramid from the base centre along axis, its base spanned by u and v.
void writePyramid(D3DVTX_PNCd*& out, const Point& base, const Point& axis, double length,
                  const Point& u, double hu, const Point& v, double hv) {
    const Point tip = add(base, axis, length);
    const Point corners[4] = {add(add(base, u, hu), v, hv), add(add(base, u, -hu), v, hv),
                              add(add(base, u, -hu), v, -hv), add(add(base, u, hu), v, -hv)};
    for (int i = 0; i < 4; ++i) {
        const Point& a = corners[i];
        const Point& b = corners[(i + 1) % 4];
        // Counter-clockwise seen from outside.
        if (dot(cross(add(b, a, -1.0), add(tip, a, -1.0)), add(add(a, base, -1.0), axis)) > 0.0)
            writeTriangle(out, a, b, tip);
        else
            writeTriangle(out, b, a, tip);
    }
}

} // namespace

bool CHeadMarks::place(const CMEGData::HeadFrame& frame, const std::vector<Point>& positions) {
    m_placed = false;
    if (!frame.known)
        return false;
    m_front = {frame.front[0], frame.front[1], frame.front[2]};
    m_right = {frame.right[0], frame.right[1], frame.right[2]};
    m_up = cross(m_right, m_front);
    constexpr double kLow = -std::numeric_limits<double>::infinity();
    double most[3] = {kLow, kLow, kLow}; // front, left, right
    Point at[3]{};
    for (const Point& p : positions) {
        if (!std::isfinite(p[0] + p[1] + p[2]))
            continue;
        const double reach[3] = {dot(p, m_front), -dot(p, m_right), dot(p, m_right)};
        for (int k = 0; k < 3; ++k)
            if (reach[k] > most[k]) {
                most[k] = reach[k];
                at[k] = p;
            }
    }
    if (most[0] == kLow)
        return false;
    m_noseBase = add(at[0], m_front, kGap);
    m_noseTip = add(m_noseBase, m_front, kNoseLength);
    m_ear[0] = add(at[1], m_right, -kGap);
    m_ear[1] = add(at[2], m_right, kGap);
    m_placed = true;
    return true;
}

bool CHeadMarks::build(CMVBzq& vb) const {
    constexpr long long kVertices = 3 * 4 * 3; // three pyramids of four sides
    if (!m_placed || (vb.m_nVtxCapacity < kVertices && !vb.initBuf4triangVtx(kVertices)))
        return false;
    D3DVTX_PNCd* out = vb.getBufPtr();
    D3DVTX_PNCd* const first = out;
    writePyramid(out, m_noseBase, m_front, kNoseLength, m_right, kNoseHalfWidth, m_up,
                 kNoseHalfWidth * 0.7);
    const Point left = add(Point{0.0, 0.0, 0.0}, m_right, -1.0);
    writePyramid(out, m_ear[0], left, kEarBulge, m_up, kEarHalfHeight, m_front, kEarHalfDepth);
    writePyramid(out, m_ear[1], m_right, kEarBulge, m_up, kEarHalfHeight, m_front, kEarHalfDepth);
    vb.m_nVtx = out - first;
    return true;
}

bool CHeadMarks::toScreen(const CM3Dzq& engine, const Point& p, int width, int height, double& x,
                          double& y) {
    float wvp[16], wv[16];
    engine.computeWvp(nullptr, wvp, wv);
    double c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = wvp[i] * p[0] + wvp[4 + i] * p[1] + wvp[8 + i] * p[2] + wvp[12 + i];
    if (!(c[3] > 1e-9))
        return false;
    x = (c[0] / c[3] + 1.0) * 0.5 * width;
    y = (1.0 - c[1] / c[3]) * 0.5 * height;
    return std::isfinite(x) && std::isfinite(y);
}

void CHeadMarks::drawLetters(CDC& dc, const CM3Dzq& engine, const CRect& frame) const {
    if (!m_placed)
        return;
    const char16_t* const letters[2] = {u"L", u"R"};
    const COLORREF text = dc.SetTextColor(0xFFFFFF);
    const int mode = dc.SetBkMode(TRANSPARENT);
    for (int side = 0; side < 2; ++side) {
        // The letter stands a little further out than the ear mark.
        const Point at = add(m_ear[side], m_right, side == 0 ? -0.03 : 0.03);
        double x = 0.0, y = 0.0;
        if (!toScreen(engine, at, frame.Width(), frame.Height(), x, y))
            continue;
        const CString letter(letters[side]);
        const CSize size = dc.GetTextExtent(letter);
        const int left = frame.left + static_cast<int>(std::lround(x)) - size.cx / 2;
        const int top = frame.top + static_cast<int>(std::lround(y)) - size.cy / 2;
        if (left >= frame.left && top >= frame.top && left + size.cx <= frame.right &&
            top + size.cy <= frame.bottom)
            dc.TextOut(left, top, letter);
    }
    dc.SetBkMode(mode);
    dc.SetTextColor(text);
}
