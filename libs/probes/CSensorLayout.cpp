// Sensor layouts from files, from the compiled-in copies, or from the 10-10 system.
#include "probes/CSensorLayout.h"

#include "CLayoutParser.h"
#include "Eeg1010.h"
#include "EmbeddedLayouts.h"

#include <fstream>

namespace {
constexpr std::streamoff kMaxFileBytes = 64ll << 20;
constexpr double kAxialBaseline = 0.05;
} // namespace

int CSensorLayout::readFile(const std::string& path, Unit unit) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail("cannot open layout file '" + path + "'");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFileBytes)
        return fail("layout file '" + path + "' is unreadable or larger than 64 MiB");
    in.seekg(0);
    std::string text(static_cast<size_t>(size), '\0');
    if (!in.read(text.data(), size))
        return fail("cannot read layout file '" + path + "'");
    if (!readText(text, unit)) {
        m_error = path + ": " + m_error;
        return 0;
    }
    return 1;
}

int CSensorLayout::readText(std::string_view text, Unit unit) {
    CLayoutParser parser;
    if (!parser.parse(text, unit))
        return fail(parser.error());
    m_channels = std::move(parser.channels());
    m_unit = parser.unitUsed();
    m_error.clear();
    return 1;
}

int CSensorLayout::loadEmbedded(std::string_view name) {
    for (int i = 0; i < kEmbeddedLayoutCount; ++i) {
        if (name == kEmbeddedLayouts[i].name)
            return readText(kEmbeddedLayouts[i].text, Unit::Metre);
    }
    return fail("no layout named '" + std::string(name) + "' is built in");
}

std::vector<std::string> CSensorLayout::getEmbeddedNames() {
    std::vector<std::string> names;
    for (int i = 0; i < kEmbeddedLayoutCount; ++i)
        names.emplace_back(kEmbeddedLayouts[i].name);
    return names;
}

int CSensorLayout::makeEeg1010(double radius) {
    if (!(radius > 0.0 && radius <= 1.0))
        return fail("the head radius must lie in (0, 1] metres");
    m_channels = makeEeg1010Channels(radius);
    m_unit = Unit::Metre;
    m_error.clear();
    return 1;
}

const CSensorLayout::Channel* CSensorLayout::getChannel(int i) const {
    return i >= 0 && i < getChannelCount() ? &m_channels[static_cast<size_t>(i)] : nullptr;
}

std::unique_ptr<CMEGSensorzq> CSensorLayout::makeMegSensor(int i) const {
    const Channel* c = getChannel(i);
    if (!c || !isMegType(c->type))
        return nullptr;
    const auto kind = c->type == Type::Magnetometer        ? CMEGSensor::Magnetometer
                      : c->type == Type::PlanarGradiometer ? CMEGSensor::PlanarGradiometer
                                                           : CMEGSensor::AxialGradiometer;
    auto sensor = std::make_unique<CMEGSensorzq>(c->label, kind);
    sensor->addCoil(CBscMagSnszq(c->pos, c->normal));
    if (kind == CMEGSensor::AxialGradiometer) {
        double outer[3];
        for (int k = 0; k < 3; ++k)
            outer[k] = c->pos[k] + kAxialBaseline * c->normal[k];
        sensor->addCoil(CBscMagSnszq(outer, c->normal));
    }
    return sensor;
}

std::unique_ptr<CEEGelectrodezq> CSensorLayout::makeElectrode(int i) const {
    const Channel* c = getChannel(i);
    if (!c || isMegType(c->type))
        return nullptr;
    return std::make_unique<CEEGelectrodezq>(c->label, c->pos);
}

int CSensorLayout::fail(std::string message) {
    m_channels.clear();
    m_error = std::move(message);
    return 0;
}
