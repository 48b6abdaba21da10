// Lines, tokens and UTF-8 checking for the layout parser.
#include "CLayoutLines.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isSeparator(char c, bool elc) {
    return c == ' ' || c == '\t' || c == ',' || (elc && (c == ':' || c == '='));
}

// Length of the UTF-8 sequence that `lead` starts, 0 for a byte that cannot start one.
size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead >> 5) == 0x6)
        return 2;
    if ((lead >> 4) == 0xE)
        return 3;
    return (lead >> 3) == 0x1E ? 4 : 0;
}

// Whether the `len` bytes at s[i] form one code point: no overlong form, no surrogate, nothing
// beyond U+10FFFF, only continuation bytes after the lead byte.
bool validSequence(std::string_view s, size_t i, size_t len) {
    if (len == 0 || i + len > s.size())
        return false;
    std::uint32_t code = static_cast<unsigned char>(s[i]) & (0x7Fu >> len);
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return false;
        code = (code << 6) | (b & 0x3Fu);
    }
    constexpr std::uint32_t kShortest[5] = {0, 0, 0x80, 0x800, 0x10000};
    return code >= kShortest[len] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

} // namespace

CLayoutLines::CLayoutLines(std::string_view text) : m_rest(text) {
    if (m_rest.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        m_rest.remove_prefix(kUtf8Bom.size());
}

bool CLayoutLines::next(int& number, std::string_view& content) {
    if (m_rest.empty())
        return false;
    const size_t end = m_rest.find_first_of("\r\n");
    const std::string_view line = m_rest.substr(0, end);
    if (end == std::string_view::npos) {
        m_rest = {};
    } else {
        const bool crlf = m_rest[end] == '\r' && end + 1 < m_rest.size() && m_rest[end + 1] == '\n';
        m_rest.remove_prefix(end + (crlf ? 2 : 1));
    }
    number = ++m_number;
    content = line.substr(0, std::min(line.find('#'), line.find("//")));
    return true;
}

std::string_view CLayoutLines::nextToken(std::string_view& rest, bool elc) {
    size_t i = 0;
    while (i < rest.size() && isSeparator(rest[i], elc))
        ++i;
    const size_t start = i;
    while (i < rest.size() && !isSeparator(rest[i], elc))
        ++i;
    const std::string_view token = rest.substr(start, i - start);
    rest.remove_prefix(i);
    return token;
}

size_t CLayoutLines::findBadByte(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t len = sequenceLength(c);
        const bool control = (c < 0x20 && c != '\t') || c == 0x7F;
        // U+0080 to U+009F, control characters too (C1), which some terminals act on.
        const bool c1 =
            c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) < 0xA0;
        if (len == 1 ? control : c1 || !validSequence(s, i, len))
            return i;
        i += len;
    }
    return std::string_view::npos;
}
