// Parser of layout text: `label type x y z [nx ny nz]`, `label x y z` (.sfp, plain) and .elc.
#include "CLayoutParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

namespace {

constexpr size_t kMaxChannels = 100000;

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool isSeparator(char c, bool elc) {
    return c == ' ' || c == '\t' || c == ',' || c == '\r' || (elc && (c == ':' || c == '='));
}

std::vector<std::string_view> tokenize(std::string_view line, bool elc) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSeparator(line[i], elc))
            ++i;
        const size_t start = i;
        while (i < line.size() && !isSeparator(line[i], elc))
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
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

// Landmarks that montage files list beside the electrodes.
bool isFiducial(std::string_view label) {
    const std::string l = lower(label);
    return l.rfind("fid", 0) == 0 || l == "lpa" || l == "rpa" || l == "nas" || l == "nasion";
}

// Head size decides the unit when the file does not state it: a head is about 0.1 m across.
CSensorLayout::Unit guessUnit(const std::vector<CSensorLayout::Channel>& channels) {
    double radius = 0.0;
    for (const auto& c : channels)
        radius = std::max(
            radius, std::sqrt(c.pos[0] * c.pos[0] + c.pos[1] * c.pos[1] + c.pos[2] * c.pos[2]));
    if (radius < 0.5)
        return CSensorLayout::Unit::Metre;
    return radius < 30.0 ? CSensorLayout::Unit::Centimetre : CSensorLayout::Unit::Millimetre;
}

double unitScale(CSensorLayout::Unit unit) {
    switch (unit) {
    case CSensorLayout::Unit::Centimetre:
        return 0.01;
    case CSensorLayout::Unit::Millimetre:
        return 0.001;
    default:
        return 1.0;
    }
}

} // namespace

bool CLayoutParser::parse(std::string_view text, Unit unit) {
    m_lines.clear();
    m_channels.clear();
    m_channelLines.clear();
    m_error.clear();
    bool elc = false;
    splitLines(text, false);
    for (const Line& line : m_lines)
        elc = elc || (line.tokens.size() == 1 && lower(line.tokens[0]) == "positions");
    if (elc) {
        splitLines(text, true);
        return parseElc(unit);
    }
    for (const Line& line : m_lines) {
        if (!parseColumns(line))
            return false;
    }
    return finish(unit);
}

void CLayoutParser::splitLines(std::string_view text, bool elc) {
    m_lines.clear();
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        line = line.substr(0, std::min(line.find('#'), line.find("//")));
        auto tokens = tokenize(line, elc);
        if (!tokens.empty())
            m_lines.push_back({number, std::move(tokens)});
    }
}

bool CLayoutParser::parseElc(Unit unit) {
    enum { Header, Positions, Labels } state = Header;
    Unit stated = Unit::Auto;
    long declared = -1;
    std::vector<std::string> labels;
    int labelsLine = 0;
    for (const Line& line : m_lines) {
        const std::string key = lower(line.tokens[0]);
        if (state == Header && key == "positions" && line.tokens.size() == 1) {
            state = Positions;
        } else if (state == Positions && key == "labels" && line.tokens.size() == 1) {
            state = Labels;
            labelsLine = line.number;
        } else if (state == Header) {
            if (!parseElcHeader(line, stated, declared))
                return false;
        } else if (state == Positions) {
            if (!parseElcPosition(line, labels))
                return false;
        } else {
            labels.insert(labels.end(), line.tokens.begin(), line.tokens.end());
        }
    }
    const size_t count = m_channels.size();
    if (labels.size() != count)
        return fail(labelsLine, "the Positions section has " + std::to_string(count) +
                                    " entries but " + std::to_string(labels.size()) +
                                    " labels were given");
    if (declared >= 0 && static_cast<size_t>(declared) != count)
        return fail(0, "NumberPositions says " + std::to_string(declared) + " but " +
                           std::to_string(count) + " positions follow");
    for (size_t i = 0; i < count; ++i)
        m_channels[i].label = labels[i];
    std::vector<Channel> kept;
    std::vector<int> keptLines;
    for (size_t i = 0; i < count; ++i) {
        if (!isFiducial(m_channels[i].label)) {
            kept.push_back(m_channels[i]);
            keptLines.push_back(m_channelLines[i]);
        }
    }
    m_channels.swap(kept);
    m_channelLines.swap(keptLines);
    return finish(unit == Unit::Auto ? stated : unit);
}

bool CLayoutParser::parseElcHeader(const Line& line, Unit& stated, long& declared) {
    const std::string key = lower(line.tokens[0]);
    if (key == "unitposition") {
        if (line.tokens.size() < 2 || !parseUnit(line.tokens[1], stated))
            return fail(line.number, "UnitPosition must be m, cm or mm");
    } else if (key == "numberpositions") {
        double n = 0.0;
        if (line.tokens.size() < 2 || !parseNumber(line.tokens[1], n) || n < 0.0 ||
            n > static_cast<double>(kMaxChannels) || n != std::floor(n))
            return fail(line.number, "NumberPositions must be a count");
        declared = static_cast<long>(n);
    }
    return true;
}

bool CLayoutParser::parseElcPosition(const Line& line, std::vector<std::string>& labels) {
    const size_t n = line.tokens.size();
    if (n != 3 && n != 4)
        return fail(line.number, "expected 'x y z' or 'label: x y z' in the Positions section");
    Channel channel;
    if (!readPosition(line, n - 3, channel.pos))
        return false;
    if (n == 4)
        labels.emplace_back(line.tokens[0]);
    if (m_channels.size() >= kMaxChannels)
        return fail(line.number, "too many positions");
    m_channels.push_back(channel);
    m_channelLines.push_back(line.number);
    return true;
}

bool CLayoutParser::parseColumns(const Line& line) {
    const size_t n = line.tokens.size();
    Channel channel;
    channel.label = std::string(line.tokens[0]);
    if (n == 4)
        return readPosition(line, 1, channel.pos) && addChannel(channel, line.number);
    if (n != 5 && n != 8)
        return fail(line.number, "expected 'label x y z' or 'label type x y z [nx ny nz]', got " +
                                     std::to_string(n) + " fields");
    if (!parseType(line.tokens[1], channel.type))
        return fail(line.number, "unknown sensor type '" + std::string(line.tokens[1]) +
                                     "' (expected mag, grad, axial or eeg)");
    if (!readPosition(line, 2, channel.pos))
        return false;
    if (n == 8) {
        if (!readPosition(line, 5, channel.normal))
            return false;
        const double len = std::hypot(channel.normal[0], channel.normal[1], channel.normal[2]);
        if (len <= 0.0)
            return fail(line.number, "the coil normal is zero");
        for (double& c : channel.normal)
            c /= len;
    }
    return addChannel(channel, line.number);
}

bool CLayoutParser::readPosition(const Line& line, size_t first, double out[3]) {
    for (size_t k = 0; k < 3; ++k) {
        if (!parseNumber(line.tokens[first + k], out[k]))
            return fail(line.number,
                        "'" + std::string(line.tokens[first + k]) + "' is not a finite number");
    }
    return true;
}

bool CLayoutParser::addChannel(Channel channel, int lineNumber) {
    if (isFiducial(channel.label))
        return true;
    if (m_channels.size() >= kMaxChannels)
        return fail(lineNumber, "too many channels");
    m_channels.push_back(std::move(channel));
    m_channelLines.push_back(lineNumber);
    return true;
}

bool CLayoutParser::finish(Unit unit) {
    if (m_channels.empty())
        return fail(0, "no channels found");
    std::set<std::string> seen;
    for (size_t i = 0; i < m_channels.size(); ++i) {
        if (!seen.insert(m_channels[i].label).second)
            return fail(m_channelLines[i], "duplicate label '" + m_channels[i].label + "'");
    }
    m_unit = unit == Unit::Auto ? guessUnit(m_channels) : unit;
    const double scale = unitScale(m_unit);
    for (Channel& c : m_channels) {
        for (double& v : c.pos)
            v *= scale;
    }
    return true;
}

bool CLayoutParser::fail(int lineNumber, const std::string& message) {
    m_error = lineNumber > 0 ? "line " + std::to_string(lineNumber) + ": " + message : message;
    m_channels.clear();
    return false;
}
