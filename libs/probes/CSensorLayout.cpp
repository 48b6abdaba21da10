// Sensor layouts from files, from the compiled-in copies, or from the 10-10 system.
#include "probes/CSensorLayout.h"

#include "CLayoutParser.h"
#include "Eeg1010.h"
#include "EmbeddedLayouts.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr off_t kMaxFileBytes = off_t{64} << 20;
constexpr double kAxialBaseline = 0.05;

std::string reason(int error) {
    return std::error_code(error, std::generic_category()).message();
}

// Layouts come from regular files only: a FIFO or a device would block or never end.
bool isReadableKind(const std::string& path, const struct stat& st, std::string& error) {
    const std::string file = "layout file '" + path + "'";
    if (S_ISDIR(st.st_mode))
        error = file + " is a directory";
    else if (S_ISFIFO(st.st_mode))
        error = file + " is a FIFO, not a regular file";
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        error = file + " is a device, not a regular file";
    else if (!S_ISREG(st.st_mode))
        error = file + " is not a regular file";
    else if (st.st_size > kMaxFileBytes)
        error = file + " is larger than 64 MiB (" + std::to_string(st.st_size) + " bytes)";
    else
        return true;
    return false;
}

bool readAll(int fd, const std::string& path, std::string& text, std::string& error) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = "layout file '" + path + "' cannot be read: " + reason(errno);
            return false;
        }
        if (n == 0)
            return true;
        if (static_cast<off_t>(text.size()) + n > kMaxFileBytes) {
            error = "layout file '" + path + "' is larger than 64 MiB";
            return false;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
}

// The kind is checked before opening, and again on the open file in case the path changed in
// between; the open itself never waits, whatever the path has become.
bool readLayoutFile(const std::string& path, std::string& text, std::string& error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "cannot open layout file '" + path + "': " + reason(errno);
        return false;
    }
    if (!isReadableKind(path, st, error))
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open layout file '" + path + "': " + reason(errno);
        return false;
    }
    text.reserve(static_cast<size_t>(st.st_size));
    const bool ok =
        ::fstat(fd, &st) == 0 && isReadableKind(path, st, error) && readAll(fd, path, text, error);
    ::close(fd);
    return ok;
}

} // namespace

int CSensorLayout::readFile(const std::string& path, Unit unit) {
    std::string text;
    std::string error;
    if (!readLayoutFile(path, text, error))
        return fail(std::move(error));
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
    m_error = std::move(message);
    return 0;
}
