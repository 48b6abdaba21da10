// The layout door: text read as a typed layout, .elc, .sfp or plain layout
// (CSensorLayout::readText).
#include "FuzzPromise.h"
#include "probes/CSensorLayout.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>

namespace {

bool finite(const double* v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

double norm(const double* v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

void requireUnitOrZero(const double* v, const char* what) {
    const double n = norm(v);
    FuzzPromise::require(finite(v) && (n == 0.0 || std::abs(n - 1.0) < 1e-6), what);
}

void requireSound(const CSensorLayout& layout) {
    FuzzPromise::require(layout.getError().empty(), "an error kept after a success");
    FuzzPromise::require(layout.getChannelCount() > 0, "a layout read without channels");
    std::set<std::string> labels;
    for (int i = 0; i < layout.getChannelCount(); ++i) {
        const CSensorLayout::Channel* c = layout.getChannel(i);
        FuzzPromise::require(labels.insert(c->label).second, "a label read twice");
        FuzzPromise::require(finite(c->pos) && norm(c->pos) > 0.0, "a position not finite");
        requireUnitOrZero(c->normal, "a normal neither unit nor zero");
        FuzzPromise::require(CSensorLayout::isMegType(c->type) ? layout.makeMegSensor(i) != nullptr
                                                               : layout.makeElectrode(i) != nullptr,
                             "a channel without its probe");
    }
    const CSensorLayout::HeadFrame& frame = layout.getHeadFrame();
    if (frame.known) {
        requireUnitOrZero(frame.front, "a head frame's front not a unit vector");
        requireUnitOrZero(frame.right, "a head frame's right not a unit vector");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CSensorLayout before = [] {
        CSensorLayout layout;
        layout.makeEeg1010();
        return layout;
    }();
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // A text ending in a byte below 4 names the unit by it; others are read in Unit::Auto.
    const auto unit =
        static_cast<CSensorLayout::Unit>(size && data[size - 1] < 4 ? data[size - 1] : 0);
    CSensorLayout layout = before;
    if (layout.readText(text, unit) == 1) {
        requireSound(layout);
        return 0;
    }
    FuzzPromise::requireMessage(layout.getError());
    FuzzPromise::require(layout.getChannelCount() == before.getChannelCount() &&
                             layout.getChannel(0)->label == before.getChannel(0)->label &&
                             layout.getUnit() == before.getUnit(),
                         "a refused layout changed the one loaded");
    return 0;
}
