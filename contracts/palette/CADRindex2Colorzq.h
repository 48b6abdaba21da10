// The index-to-colour map: continuous palettes and negative/positive peak palettes.
// An entry is a 32-bit colour: red in bits 0-7, green 8-15, blue 16-23.
#pragma once

#include <cstdint>
#include <vector>

class CADRindex2Colorzq {
public:
    // Fills every palette: continuous ones of 256, 512, 768 and 1024 entries (a perceptually
    // uniform, colour-blind-safe sequential map) and four peak pairs. Pairs 0, 1 and 2 have
    // 256 entries (for colour scales of 256, 512 and 768), pair 3 has 768 (every other scale).
    // Both palettes of a pair start at the same neutral background and grow to saturated
    // blue (negative) and red (positive).
    CADRindex2Colorzq();

    // The continuous palette of 256, 512, 768 or 1024 entries; null for any other size.
    const std::uint32_t* getContinuousPalette(int entries) const;
    // The negative or positive palette of pair 0-3; null for any other pair.
    const std::uint32_t* getNegativePalette(int pair) const;
    const std::uint32_t* getPositivePalette(int pair) const;
    // Entries in each palette of the pair; 0 for an unknown pair.
    static int getPeakPaletteSize(int pair);

    // Entry for value in [lower, upper] of a palette of `entries`: a value at or beyond a
    // bound takes the first or last entry, one inside floor((v - lower) * entries /
    // (upper - lower)) kept in range. NaN, lower >= upper or entries < 1 give 0.
    static int colorIndex(double value, double lower, double upper, int entries);
    // The colour as (r/255, g/255, b/255, 1); out must hold four floats (ignored when null).
    static void color2Float4(std::uint32_t color, float out[4]);

    static constexpr int kPeakPairCount = 4;

private:
    std::vector<std::uint32_t> m_continuous[4];
    std::vector<std::uint32_t> m_negative[kPeakPairCount];
    std::vector<std::uint32_t> m_positive[kPeakPairCount];
};
