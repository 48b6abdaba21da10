// Parser of layout text: `label type x y z [nx ny nz]`, `label x y z` (.sfp, plain) and .elc.
#include "CLayoutParser.h"

#include "CLayoutGeometry.h"
#include "CLayoutLines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <unordered_set>

namespace {

constexpr size_t kMaxChannels = 100000;

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool parseNumber(std::string_view token, double& value) {
    if (!token.empty() && token.front() == '+')
        token.remove_prefix(1);
    const auto res = std::from_chars(token.data(), token.data() + token.size(), value);
    return res.ec == std::errc() && res.ptr == token.data() + token.size() && std::isfinite(value);
}

bool parseUnit(std::string_view word, CSensorLayout::Unit& unit) {
    const std::string w = lower(word);
    if (w == "m" || w == "metre" || w == "meter" || w == "metres" || w == "meters")
        unit = CSensorLayout::Unit::Metre;
    else if (w == "cm")
        unit = CSensorLayout::Unit::Centimetre;
    else if (w == "mm")
        unit = CSensorLayout::Unit::Millimetre;
    else
        return false;
    return true;
}

bool parseType(std::string_view word, CSensorLayout::Type& type) {
    const std::string w = lower(word);
    if (w == "mag")
        type = CSensorLayout::Type::Magnetometer;
    else if (w == "grad")
        type = CSensorLayout::Type::PlanarGradiometer;
    else if (w == "axial")
        type = CSensorLayout::Type::AxialGradiometer;
    else if (w == "eeg")
        type = CSensorLayout::Type::Electrode;
    else
        return false;
    return true;
}

// Landmarks kept for the head frame; a file listing more is not a montage.
constexpr size_t kMaxFiducials = 16;

// Landmarks that montage files list beside the electrodes.
bool isFiducial(std::string_view label) {
    const std::string l = lower(label);
    return l.rfind("fid", 0) == 0 || l == "lpa" || l == "rpa" || l == "nas" || l == "nasion";
}

// The lines that open an .elc file: its section keyword or one of its header keys.
bool opensElc(std::string_view first, size_t count) {
    const std::string key = lower(first);
    return (key == "positions" && count == 1) || key == "unitposition" ||
           key == "numberpositions" || key == "referencelabel";
}

std::string badByteMessage(std::string_view content, size_t at) {
    const auto byte = static_cast<unsigned char>(content[at]);
    char text[96];
    const auto next = at + 1 < content.size() ? static_cast<unsigned char>(content[at + 1]) : 0;
    if (byte < 0x80)
        std::snprintf(text, sizeof text, "control character 0x%02X in column %zu", byte, at + 1);
    else if (byte == 0xC2 && next >= 0x80 && next < 0xA0)
        std::snprintf(text, sizeof text, "control character U+%04X in column %zu", next, at + 1);
    else
        std::snprintf(text, sizeof text,
                      "byte 0x%02X in column %zu is not UTF-8 (Latin-1 or another code page?)",
                      byte, at + 1);
    return text;
}

} // namespace

bool CLayoutParser::parse(std::string_view text, Unit unit) {
    m_requested = unit;
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")
        return fail(0, "the text is UTF-16; layouts are read as UTF-8");
    CLayoutLines lines(text);
    int number = 0;
    std::string_view content;
    while (lines.next(number, content)) {
        if (!parseLine(number, content))
            return false;
    }
    const bool columns = m_section == Section::Start || m_section == Section::Columns;
    return columns ? finish(m_channelLines) : finishElc();
}

bool CLayoutParser::parseLine(int number, std::string_view content) {
    const size_t bad = CLayoutLines::findBadByte(content);
    if (bad != std::string_view::npos)
        return fail(number, badByteMessage(content, bad));
    switch (m_section) {
    case Section::Start:
        return startSection(number, content);
    case Section::Columns: {
        const Fields fields = split(content, false);
        return fields.count == 0 || parseColumns(number, fields);
    }
    case Section::ElcLabels:
        for (auto t = CLayoutLines::nextToken(content, true); !t.empty();
             t = CLayoutLines::nextToken(content, true))
            addElcLabel(t, number);
        return true;
    default:
        return parseElcLine(number, split(content, true));
    }
}

CLayoutParser::Fields CLayoutParser::split(std::string_view content, bool elc) {
    Fields fields;
    for (auto t = CLayoutLines::nextToken(content, elc); !t.empty();
         t = CLayoutLines::nextToken(content, elc)) {
        if (fields.count < fields.items.size())
            fields.items[fields.count] = t;
        ++fields.count;
    }
    return fields;
}

// The first line with content decides between the .elc form and the column forms.
bool CLayoutParser::startSection(int number, std::string_view content) {
    const Fields fields = split(content, true);
    if (fields.count == 0)
        return true;
    m_section = opensElc(fields.items[0], fields.count) ? Section::ElcHeader : Section::Columns;
    return parseLine(number, content);
}

bool CLayoutParser::parseElcLine(int number, const Fields& fields) {
    if (fields.count == 0)
        return true;
    const std::string key = lower(fields.items[0]);
    if (m_section == Section::ElcHeader && key == "positions" && fields.count == 1) {
        m_section = Section::ElcPositions;
        return true;
    }
    if (m_section == Section::ElcPositions && key == "labels" && fields.count == 1) {
        m_section = Section::ElcLabels;
        m_labelsLine = number;
        return true;
    }
    return m_section == Section::ElcHeader ? parseElcHeader(number, fields)
                                           : parseElcPosition(number, fields);
}

bool CLayoutParser::parseElcHeader(int number, const Fields& fields) {
    const std::string key = lower(fields.items[0]);
    if (key == "unitposition") {
        if (fields.count < 2 || !parseUnit(fields.items[1], m_stated))
            return fail(number, "UnitPosition must be m, cm or mm");
    } else if (key == "numberpositions") {
        double n = 0.0;
        if (fields.count < 2 || !parseNumber(fields.items[1], n) || n < 0.0 ||
            n > static_cast<double>(kMaxChannels) || n != std::floor(n))
            return fail(number, "NumberPositions must be a count");
        m_declared = static_cast<long>(n);
    }
    return true;
}

bool CLayoutParser::parseElcPosition(int number, const Fields& fields) {
    const size_t n = fields.count;
    if (n != 3 && n != 4)
        return fail(number, "expected 'x y z' or 'label: x y z' in the Positions section");
    Channel channel;
    if (!readPosition(number, &fields.items[n - 3], channel.pos))
        return false;
    if (m_channels.size() >= kMaxChannels)
        return fail(number, "more than " + std::to_string(kMaxChannels) + " positions");
    m_channels.push_back(channel);
    m_channelLines.push_back(number);
    if (n == 4)
        addElcLabel(fields.items[0], number);
    return true;
}

// Labels beyond the positions are only counted, for the message, so memory stays bounded.
void CLayoutParser::addElcLabel(std::string_view label, int number) {
    if (m_elcLabels.size() < m_channels.size()) {
        m_elcLabels.emplace_back(label);
        m_elcLabelLines.push_back(number);
    }
    ++m_elcLabelCount;
}

bool CLayoutParser::parseColumns(int number, const Fields& fields) {
    const size_t n = fields.count;
    Channel channel;
    channel.label = std::string(fields.items[0]);
    if (n == 4)
        return readPosition(number, &fields.items[1], channel.pos) && addChannel(channel, number);
    if (n != 5 && n != 8)
        return fail(number, "expected 'label x y z' or 'label type x y z [nx ny nz]', got " +
                                std::to_string(n) + " fields");
    if (!parseType(fields.items[1], channel.type))
        return fail(number, "unknown sensor type '" + std::string(fields.items[1]) +
                                "' (expected mag, grad, axial or eeg)");
    m_typed = true;
    if (!readPosition(number, &fields.items[2], channel.pos))
        return false;
    if (n == 8) {
        if (!readPosition(number, &fields.items[5], channel.normal))
            return false;
        const double len = std::hypot(channel.normal[0], channel.normal[1], channel.normal[2]);
        if (len <= 0.0)
            return fail(number, "the coil normal is zero");
        for (double& c : channel.normal)
            c /= len;
    }
    return addChannel(channel, number);
}

bool CLayoutParser::readPosition(int number, const std::string_view* tokens, double out[3]) {
    for (size_t k = 0; k < 3; ++k) {
        if (!parseNumber(tokens[k], out[k]))
            return fail(number, "'" + std::string(tokens[k]) + "' is not a finite number");
    }
    return true;
}

bool CLayoutParser::addChannel(Channel channel, int number) {
    if (isFiducial(channel.label)) {
        if (m_fiducials.size() < kMaxFiducials)
            m_fiducials.push_back(std::move(channel));
        return true;
    }
    if (m_channels.size() >= kMaxChannels)
        return fail(number, "more than " + std::to_string(kMaxChannels) + " channels");
    m_channels.push_back(std::move(channel));
    m_channelLines.push_back(number);
    return true;
}

bool CLayoutParser::finishElc() {
    const size_t count = m_channels.size();
    if (m_elcLabelCount != count)
        return fail(m_labelsLine, "the Positions section has " + std::to_string(count) +
                                      " entries but " + std::to_string(m_elcLabelCount) +
                                      " labels were given");
    if (m_declared >= 0 && static_cast<size_t>(m_declared) != count)
        return fail(0, "NumberPositions says " + std::to_string(m_declared) + " but " +
                           std::to_string(count) + " positions follow");
    std::vector<Channel> kept;
    std::vector<int> keptLines;
    std::vector<int> keptLabelLines;
    for (size_t i = 0; i < count; ++i) {
        m_channels[i].label = std::move(m_elcLabels[i]);
        if (!isFiducial(m_channels[i].label)) {
            kept.push_back(std::move(m_channels[i]));
            keptLines.push_back(m_channelLines[i]);
            keptLabelLines.push_back(m_elcLabelLines[i]);
        } else if (m_fiducials.size() < kMaxFiducials) {
            m_fiducials.push_back(std::move(m_channels[i]));
        }
    }
    m_channels.swap(kept);
    m_channelLines.swap(keptLines);
    return finish(keptLabelLines);
}

bool CLayoutParser::finish(const std::vector<int>& labelLines) {
    if (m_channels.empty())
        return fail(0, "no channels found");
    if (!checkLabels(labelLines))
        return false;
    Unit unit = m_requested == Unit::Auto ? m_stated : m_requested;
    CLayoutGeometry geometry(m_channels, m_channelLines);
    if (!geometry.check(unit, m_requested == Unit::Auto ? "UnitPosition" : "the requested unit"))
        return fail(0, geometry.error());
    m_unit = unit;
    const double scale = CLayoutGeometry::metresPer(unit);
    for (Channel& c : m_channels) {
        for (double& v : c.pos)
            v *= scale;
    }
    return true;
}

bool CLayoutParser::checkLabels(const std::vector<int>& labelLines) {
    std::unordered_set<std::string_view> seen;
    for (size_t i = 0; i < m_channels.size(); ++i) {
        if (!seen.insert(m_channels[i].label).second)
            return fail(labelLines[i], "duplicate label '" + m_channels[i].label + "'");
    }
    return true;
}

bool CLayoutParser::fail(int number, const std::string& message) {
    m_error = number > 0 ? "line " + std::to_string(number) + ": " + message : message;
    return false;
}
