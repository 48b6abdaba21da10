// The palette index rule shared by every drawing: a scaled value is rounded down and kept
// within the palette before it becomes an integer, so no value can overflow the conversion.
#pragma once

class CRndPaletteIndex {
public:
    // NaN and values below 1 take entry 0; values at or beyond the last entry take it.
    static int entry(double scaled, int entries) {
        if (!(scaled > 0.0) || entries < 1)
            return 0;
        const double last = static_cast<double>(entries - 1);
        return scaled >= last ? entries - 1 : static_cast<int>(scaled);
    }
};
