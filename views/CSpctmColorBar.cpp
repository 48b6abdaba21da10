// The colour bar of the 3D views.
#include "views/CSpctmColorBar.h"

#include "render/CMEGSpctm3DRndzq.h"
#include "win/CDC.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The palette the surface is coloured with and the values at its two ends (signed palettes
// run from -upper through 0 to upper).
struct BarPalette {
    const std::uint32_t* first = nullptr; // negative palette, drawn reversed, or null
    const std::uint32_t* second = nullptr;
    int entries = 0;
    double lower = 0.0;
    double upper = 1.0;
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
    p.lower = r.standardMode ? r.stdLower : (signedValues ? r.proLowerLimit : r.proLower);
    p.upper = r.standardMode ? r.stdUpper : (signedValues ? r.proUpperLimit : r.proUpper);
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

CString number(double v) {
    CString s;
    s.Format(u"%.4g", v);
    return s;
}

CSpctmColorBar::Numbers barNumbers(const BarPalette& p) {
    if (!p.second || p.entries < 1)
        return {};
    if (!p.first)
        return {number(p.lower), CString(), number(p.upper)};
    return {number(-std::fabs(p.upper)), number(p.lower), number(p.upper)};
}

} // namespace

void CSpctmColorBar::draw(CDC& dc, const CRect& client, const CMEGSpctm3DRndzq& rnd) {
    const BarPalette p = barPalette(rnd);
    if (!p.second || p.entries < 1)
        return;
    const int width = std::min(320, client.Width() - 40);
    const int height = 12;
    const int lineHeight = dc.GetTextExtent(CString(u"0")).cy;
    const int x0 = client.right - width - 20;
    const int y0 = client.bottom - height - lineHeight - 12;
    if (width < 20 || y0 < 0)
        return;
    // One image for the whole bar: a fill per pixel column costs more than the frame.
    std::vector<std::uint32_t> bar(static_cast<size_t>(width) * height);
    for (int x = 0; x < width; ++x) {
        const std::uint32_t c = (barColor(p, x, width) & 0xFFFFFFu) | 0xFF000000u;
        for (int y = 0; y < height; ++y)
            bar[static_cast<size_t>(y) * width + x] = c;
    }
    dc.DrawImageRGBA(x0, y0, width, height, bar.data());
    const Numbers n = barNumbers(p);
    const int ty = y0 + height + 2;
    dc.TextOut(x0, ty, n.left);
    dc.TextOut(x0 + width - dc.GetTextExtent(n.right).cx, ty, n.right);
    if (p.first)
        dc.TextOut(x0 + width / 2 - dc.GetTextExtent(n.middle).cx / 2, ty, n.middle);
}

CSpctmColorBar::Numbers CSpctmColorBar::numbers(const CMEGSpctm3DRndzq& rnd) {
    return barNumbers(barPalette(rnd));
}
