// The layout files compiled into the library (the source is generated at configure time).
#pragma once

struct EmbeddedLayout {
    const char* name;
    const char* text;
};

extern const EmbeddedLayout kEmbeddedLayouts[];
extern const int kEmbeddedLayoutCount;
