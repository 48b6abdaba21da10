// Lines of layout text, one at a time so that a huge text is never split up whole: a leading
// UTF-8 byte-order mark dropped, CR, LF and CRLF all ending a line, comments ('#' or '//' to
// the end of the line) cut off.
#pragma once

#include <cstddef>
#include <string_view>

class CLayoutLines {
public:
    explicit CLayoutLines(std::string_view text);

    // The next line's number (from 1) and its content without the comment; false at the end.
    bool next(int& number, std::string_view& content);

    // The next token of `rest` (tokens are separated by blanks, tabs and commas, in .elc files
    // also by ':' and '='), `rest` advanced past it; empty when none is left.
    static std::string_view nextToken(std::string_view& rest, bool elc);

    // Offset of the first byte of `s` that is not valid UTF-8 or starts a control character
    // other than the tab, npos when there is none.
    static size_t findBadByte(std::string_view s);

private:
    std::string_view m_rest;
    int m_number = 0;
};
