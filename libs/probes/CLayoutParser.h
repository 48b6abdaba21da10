// Parser behind CSensorLayout: turns the text of a layout file into channels in metres. It
// works line by line and keeps only the channels, so its memory stays within the channel limit
// however long the text is, and the limit stops it at the line that crosses it.
#pragma once

#include "probes/CSensorLayout.h"

#include <array>
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
    // Whether the lines named sensor types: such layouts are in head coordinates by definition.
    bool typed() const { return m_typed; }
    // The landmarks the text placed beside its channels (nasion, ears), in the text's unit.
    const std::vector<Channel>& fiducials() const { return m_fiducials; }

private:
    // The fields of one line: the first eight kept, all of them counted.
    struct Fields {
        std::array<std::string_view, 8> items;
        size_t count = 0;
    };
    enum class Section { Start, Columns, ElcHeader, ElcPositions, ElcLabels };

    bool parseLine(int number, std::string_view content);
    bool startSection(int number, std::string_view content);
    static Fields split(std::string_view content, bool elc);
    bool parseElcLine(int number, const Fields& fields);
    bool parseElcHeader(int number, const Fields& fields);
    bool parseElcPosition(int number, const Fields& fields);
    void addElcLabel(std::string_view label, int number);
    bool parseColumns(int number, const Fields& fields);
    bool readPosition(int number, const std::string_view* tokens, double out[3]);
    bool addChannel(Channel channel, int number);
    bool finishElc();
    bool finish(const std::vector<int>& labelLines);
    bool checkLabels(const std::vector<int>& labelLines);
    bool fail(int number, const std::string& message);

    Section m_section = Section::Start;
    Unit m_requested = Unit::Auto;
    Unit m_stated = Unit::Auto;
    long m_declared = -1;
    std::vector<Channel> m_channels;
    std::vector<int> m_channelLines;
    std::vector<std::string> m_elcLabels;
    std::vector<int> m_elcLabelLines;
    size_t m_elcLabelCount = 0;
    int m_labelsLine = 0;
    std::string m_error;
    Unit m_unit = Unit::Metre;
    bool m_typed = false;
    std::vector<Channel> m_fiducials;
};
