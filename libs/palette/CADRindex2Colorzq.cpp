// Palettes built by interpolating a few anchor colours in the OKLab perceptual space, so that
// equal steps in the index look like equal steps in colour.
#include "palette/CADRindex2Colorzq.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Rgb = std::array<double, 3>; // sRGB components 0..255
using Lab = std::array<double, 3>;

// The published viridis map at eleven even steps: perceptually uniform and readable with
// the common colour-vision deficiencies.
const Rgb kViridis[] = {{68, 1, 84},    {72, 36, 117},  {65, 68, 135},  {53, 95, 141},
                        {42, 120, 142}, {33, 145, 140}, {34, 168, 132}, {68, 191, 112},
                        {122, 209, 81}, {189, 223, 38}, {253, 231, 37}};
// Peak palettes: from a light neutral grey (readable on the dark scene) to saturated colours.
const Rgb kNegative[] = {{220, 220, 220}, {120, 170, 230}, {40, 100, 220}, {10, 40, 200}};
const Rgb kPositive[] = {{220, 220, 220}, {245, 160, 120}, {225, 70, 50}, {190, 0, 20}};
constexpr int kContinuousSizes[] = {256, 512, 768, 1024};
constexpr int kPeakSizes[] = {256, 256, 256, 768};

double toLinear(double c) {
    c /= 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double fromLinear(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return 255.0 * (c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055);
}

Lab rgbToOklab(const Rgb& rgb) {
    const double r = toLinear(rgb[0]), g = toLinear(rgb[1]), b = toLinear(rgb[2]);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

std::uint32_t oklabToColor(const Lab& lab) {
    const double l = std::pow(lab[0] + 0.3963377774 * lab[1] + 0.2158037573 * lab[2], 3);
    const double m = std::pow(lab[0] - 0.1055613458 * lab[1] - 0.0638541728 * lab[2], 3);
    const double s = std::pow(lab[0] - 0.0894841775 * lab[1] - 1.2914855480 * lab[2], 3);
    const double rgb[3] = {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
                           -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
                           -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
    std::uint32_t color = 0;
    for (int k = 0; k < 3; ++k)
        color |= static_cast<std::uint32_t>(std::lround(fromLinear(rgb[k]))) << (8 * k);
    return color;
}

// `entries` colours running through the anchors at even spacing, first and last exact.
template <size_t N>
std::vector<std::uint32_t> interpolate(const Rgb (&anchors)[N], int entries) {
    std::vector<std::uint32_t> out(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const double t = static_cast<double>(i) * (N - 1) / (entries - 1);
        const size_t k = std::min(static_cast<size_t>(t), N - 2);
        const double f = t - static_cast<double>(k);
        const Lab a = rgbToOklab(anchors[k]), b = rgbToOklab(anchors[k + 1]);
        out[static_cast<size_t>(i)] = oklabToColor(
            {a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), a[2] + f * (b[2] - a[2])});
    }
    return out;
}

} // namespace

CADRindex2Colorzq::CADRindex2Colorzq() {
    for (int i = 0; i < 4; ++i)
        m_continuous[i] = interpolate(kViridis, kContinuousSizes[i]);
    for (int p = 0; p < kPeakPairCount; ++p) {
        m_negative[p] = interpolate(kNegative, kPeakSizes[p]);
        m_positive[p] = interpolate(kPositive, kPeakSizes[p]);
    }
}

const std::uint32_t* CADRindex2Colorzq::getContinuousPalette(int entries) const {
    for (int i = 0; i < 4; ++i) {
        if (kContinuousSizes[i] == entries)
            return m_continuous[i].data();
    }
    return nullptr;
}

const std::uint32_t* CADRindex2Colorzq::getNegativePalette(int pair) const {
    return pair >= 0 && pair < kPeakPairCount ? m_negative[pair].data() : nullptr;
}

const std::uint32_t* CADRindex2Colorzq::getPositivePalette(int pair) const {
    return pair >= 0 && pair < kPeakPairCount ? m_positive[pair].data() : nullptr;
}

int CADRindex2Colorzq::getPeakPaletteSize(int pair) {
    return pair >= 0 && pair < kPeakPairCount ? kPeakSizes[pair] : 0;
}

int CADRindex2Colorzq::colorIndex(double value, double lower, double upper, int entries) {
    if (entries < 1 || std::isnan(value) || !(lower < upper))
        return 0;
    if (value <= lower)
        return 0;
    if (value >= upper)
        return entries - 1;
    const double x = std::floor((value - lower) * entries / (upper - lower));
    if (!std::isfinite(x))
        return 0;
    return static_cast<int>(std::clamp(x, 0.0, static_cast<double>(entries - 1)));
}

void CADRindex2Colorzq::color2Float4(std::uint32_t color, float out[4]) {
    if (!out)
        return;
    for (int k = 0; k < 3; ++k)
        out[k] = static_cast<float>((color >> (8 * k)) & 0xFFu) / 255.0f;
    out[3] = 1.0f;
}
