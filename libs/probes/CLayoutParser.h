// Parser behind CSensorLayout: turns the text of a layout file into channels in metres.
#pragma once

#include "probes/CSensorLayout.h"

#include <string>
#include <string_view>
#include <vector>

class CLayoutParser {
public:
    using Channel = CSensorLayout::Channel;
    using Unit = CSensorLayout::Unit;

    // true with channels() filled; false with error() naming the line.
    bool parse(std::string_view text, Unit unit);

    std::vector<Channel>& channels() { return m_channels; }
    const std::string& error() const { return m_error; }
    Unit unitUsed() const { return m_unit; }

private:
    struct Line {
        int number;
        std::vector<std::string_view> tokens;
    };

    void splitLines(std::string_view text, bool elc);
    bool parseElc(Unit unit);
    bool parseElcHeader(const Line& line, Unit& stated, long& declared);
    bool parseElcPosition(const Line& line, std::vector<std::string>& labels);
    bool parseColumns(const Line& line);
    bool readPosition(const Line& line, size_t first, double out[3]);
    bool addChannel(Channel channel, int lineNumber);
    bool finish(Unit unit);
    bool fail(int lineNumber, const std::string& message);

    std::vector<Line> m_lines;
    std::vector<Channel> m_channels;
    std::vector<int> m_channelLines;
    std::string m_error;
    Unit m_unit = Unit::Metre;
};
