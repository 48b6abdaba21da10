// Sensor layouts from files, from the compiled-in copies, or from the 10-10 system.
#include "probes/CSensorLayout.h"

#include "CLayoutParser.h"
#include "Eeg1010.h"
#include "EmbeddedLayouts.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
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
    m_frame = HeadFrame{};
    if (parser.typed())
        m_frame.known = true;
    else
        findFiducialFrame(parser.fiducials());
    return 1;
}

namespace {

bool labelIn(const std::string& label, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (label.size() == std::strlen(n) &&
            std::equal(label.begin(), label.end(), n, [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(b);
            }))
            return true;
    return false;
}

} // namespace

void CSensorLayout::findFiducialFrame(const std::vector<Channel>& fiducials) {
    const double* nasion = nullptr;
    const double* left = nullptr;
    const double* right = nullptr;
    for (const Channel& c : fiducials) {
        if (labelIn(c.label, {"nas", "nasion", "fidnz"}))
            nasion = c.pos;
        else if (labelIn(c.label, {"lpa", "fidt9", "al"}))
            left = c.pos;
        else if (labelIn(c.label, {"rpa", "fidt10", "ar"}))
            right = c.pos;
    }
    if (!nasion || !left || !right)
        return;
    double r[3], f[3];
    for (int k = 0; k < 3; ++k)
        r[k] = right[k] - left[k];
    const double rLen = std::hypot(r[0], r[1], r[2]);
    if (!(rLen > 0.0))
        return;
    for (double& c : r)
        c /= rLen;
    // Front: from the ears' midpoint to the nasion, less its part along the ear line.
    double along = 0.0;
    for (int k = 0; k < 3; ++k) {
        f[k] = nasion[k] - (left[k] + right[k]) / 2;
        along += f[k] * r[k];
    }
    for (int k = 0; k < 3; ++k)
        f[k] -= along * r[k];
    const double fLen = std::hypot(f[0], f[1], f[2]);
    if (!(fLen > 0.0))
        return;
    for (int k = 0; k < 3; ++k) {
        m_frame.front[k] = f[k] / fLen;
        m_frame.right[k] = r[k];
    }
    m_frame.known = true;
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
    m_frame = HeadFrame{};
    m_frame.known = true;
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
