// The colour bar of the 3D views.
#include "views/CSpctmColorBar.h"

#include "render/CMEGSpctm3DRndzq.h"
#include "views/CAxisTicks.h"
#include "views/CSpctmUnit.h"
#include "win/CDC.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr int kBarWidth = 320;
constexpr int kBarHeight = 12;
constexpr int kTickLength = 4;
constexpr int kPixelsPerTick = 45;
constexpr int kLabelGap = 6;
constexpr COLORREF kPanelColor = RGB(34, 38, 46);

// The palette the surface is coloured with and the values it spans: lower to upper, and for
// signed palettes (drawn as two halves) farNegative to nearNegative on the left half.
struct BarPalette {
    const std::uint32_t* first = nullptr; // negative palette, drawn reversed, or null
    const std::uint32_t* second = nullptr;
    int entries = 0;
    double lower = 0.0;
    double upper = 1.0;
    double farNegative = -1.0;
    double nearNegative = 0.0;
};

BarPalette barPalette(const CMEGSpctm3DRndzq& r) {
    const int count = r.colorCount;
    const int continuous = count == 256 || count == 512 || count == 768 ? count : 1024;
    const int pair = count == 256 ? 0 : count == 512 ? 1 : count == 768 ? 2 : 3;
    BarPalette p;
    const bool signedValues =
        r.standardMode ? r.polarity != 0 : !(r.proDisplayMode == 0 || r.proDisplayMode == 1);
    if (signedValues) {
        p.first = r.getNegativePalette(pair);
        p.second = r.getPositivePalette(pair);
        p.entries = CADRindex2Colorzq::getPeakPaletteSize(pair);
    } else {
        p.second = r.getContinuousPalette(continuous);
        p.entries = continuous;
    }
    if (r.standardMode || !signedValues) {
        // Standard drawings colour magnitudes: the negative half mirrors the positive one.
        p.lower = r.standardMode ? r.stdLower : r.proLower;
        p.upper = r.standardMode ? r.stdUpper : r.proUpper;
        p.farNegative = -p.upper;
        p.nearNegative = -p.lower;
    } else {
        // The peak view colours the values beyond its window up to its limits.
        p.lower = r.proUpper;
        p.upper = r.proUpperLimit;
        p.farNegative = r.proLowerLimit;
        p.nearNegative = r.proLower;
    }
    return p;
}

COLORREF barColor(const BarPalette& p, int x, int width) {
    const int half = width / 2;
    if (!p.first) {
        const int i = std::clamp(x * p.entries / std::max(width, 1), 0, p.entries - 1);
        return p.second[i];
    }
    if (x < half) {
        const int i = std::clamp((half - 1 - x) * p.entries / std::max(half, 1), 0, p.entries - 1);
        return p.first[i];
    }
    const int i = std::clamp((x - half) * p.entries / std::max(width - half, 1), 0, p.entries - 1);
    return p.second[i];
}

// Four significant digits; whole numbers up to a million without an exponent (a squared
// unit's prefix steps by a million).
CString number(double v) {
    CString s;
    const double a = std::fabs(v);
    s.Format(a >= 1e4 && a < 1e6 ? u"%.0f" : u"%.4g", v == 0.0 ? 0.0 : v);
    return s;
}

// The largest size of the values the bar spans.
double magnitude(const BarPalette& p) {
    const double ends = std::max(std::fabs(p.lower), std::fabs(p.upper));
    return p.first ? std::max({ends, std::fabs(p.farNegative), std::fabs(p.nearNegative)}) : ends;
}

// One stretch of the bar: pixels [x0, x1) show the values from v0 to v1.
struct Stretch {
    int x0, x1;
    double v0, v1;
};

struct Layout {
    int width, height, lineHeight, x0, y0;
};

Layout layoutIn(CDC& dc, const CRect& client) {
    Layout l{};
    l.width = std::min(kBarWidth, client.Width() - 40);
    l.height = kBarHeight;
    l.lineHeight = dc.GetTextExtent(CString(u"0")).cy;
    l.x0 = client.right - l.width - 20;
    l.y0 = client.bottom - l.height - kTickLength - l.lineHeight - 12;
    return l;
}

bool fits(const Layout& l, const CRect& client) {
    return l.width >= 20 && l.y0 - l.lineHeight - 2 >= client.top;
}

// Labels under the bar that keep clear of each other; earlier ones win.
class LabelRow {
public:
    LabelRow(CDC& dc, int y) : m_dc(dc), m_y(y) {}
    void put(const CString& text, int left) {
        const int right = left + m_dc.GetTextExtent(text).cx;
        for (const auto& [l, r] : m_used)
            if (left < r + kLabelGap && right + kLabelGap > l)
                return;
        m_used.emplace_back(left, right);
        m_dc.TextOut(left, m_y, text);
    }
    void centred(const CString& text, int x) { put(text, x - m_dc.GetTextExtent(text).cx / 2); }

private:
    CDC& m_dc;
    int m_y;
    std::vector<std::pair<int, int>> m_used;
};

// Ticks at round values of v / factor.
void drawTicks(CDC& dc, const Stretch& s, double factor, int y, LabelRow& row) {
    const int pixels = s.x1 - s.x0;
    if (pixels < 2 || !(s.v0 != s.v1))
        return;
    double step = 0.0;
    const int intervals = std::max(1, pixels / kPixelsPerTick);
    for (double shown :
         CAxisTicks::chooseAtLeastTwo(s.v0 / factor, s.v1 / factor, intervals, &step)) {
        const double v = shown * factor;
        const double share = (v - s.v0) / (s.v1 - s.v0);
        const int x = s.x0 + static_cast<int>(std::lround(share * (pixels - 1)));
        dc.FillSolidRect(x, y, 1, kTickLength, dc.GetTextColor());
        row.centred(CAxisTicks::label(shown, step), x);
    }
}

CSpctmColorBar::Numbers barNumbers(const BarPalette& p, double factor) {
    if (!p.second || p.entries < 1)
        return {};
    if (!p.first)
        return {number(p.lower / factor), CString(), number(p.upper / factor)};
    return {number(p.farNegative / factor), CString(u"0"), number(p.upper / factor)};
}

} // namespace

CSpctmColorBar::Numbers CSpctmColorBar::numbers(const CMEGSpctm3DRndzq& rnd, double factor) {
    return barNumbers(barPalette(rnd), factor > 0.0 && std::isfinite(factor) ? factor : 1.0);
}

CString CSpctmColorBar::caption(const CMEGSpctm3DRndzq& rnd, int component, const CString& unit,
                                double* factor) {
    if (factor)
        *factor = 1.0;
    if (component < 0)
        return CString();
    return CSpctmUnit::scaledTitle(component, unit, magnitude(barPalette(rnd)), factor);
}

CRect CSpctmColorBar::area(CDC& dc, const CRect& client) {
    const Layout l = layoutIn(dc, client);
    if (!fits(l, client))
        return CRect();
    return CRect(l.x0 - 24, l.y0 - l.lineHeight - 6, client.right - 4,
                 l.y0 + l.height + kTickLength + l.lineHeight + 4);
}

void CSpctmColorBar::draw(CDC& dc, const CRect& client, const CMEGSpctm3DRndzq& rnd, int component,
                          const CString& unit) {
    const BarPalette p = barPalette(rnd);
    const Layout l = layoutIn(dc, client);
    if (!p.second || p.entries < 1 || !fits(l, client))
        return;
    // One image for the whole bar: a fill per pixel column costs more than the frame.
    std::vector<std::uint32_t> bar(static_cast<size_t>(l.width) * l.height);
    for (int x = 0; x < l.width; ++x) {
        const std::uint32_t c = (barColor(p, x, l.width) & 0xFFFFFFu) | 0xFF000000u;
        for (int y = 0; y < l.height; ++y)
            bar[static_cast<size_t>(y) * l.width + x] = c;
    }
    // A dark panel keeps the white labels readable over a light scene.
    dc.FillSolidRect(area(dc, client), kPanelColor);
    dc.DrawImageRGBA(l.x0, l.y0, l.width, l.height, bar.data());
    double factor = 1.0;
    const CString title = caption(rnd, component, unit, &factor);
    if (!title.IsEmpty())
        dc.TextOut(l.x0 + l.width - dc.GetTextExtent(title).cx, l.y0 - l.lineHeight - 2, title);
    const int tickTop = l.y0 + l.height;
    LabelRow row(dc, tickTop + kTickLength);
    const int half = l.width / 2;
    const Numbers n = barNumbers(p, factor);
    row.put(n.left, l.x0);
    row.put(n.right, l.x0 + l.width - dc.GetTextExtent(n.right).cx);
    if (p.first) {
        row.centred(n.middle, l.x0 + half);
        drawTicks(dc, {l.x0, l.x0 + half, p.farNegative, p.nearNegative}, factor, tickTop, row);
        drawTicks(dc, {l.x0 + half, l.x0 + l.width, p.lower, p.upper}, factor, tickTop, row);
    } else {
        drawTicks(dc, {l.x0, l.x0 + l.width, p.lower, p.upper}, factor, tickTop, row);
    }
}
