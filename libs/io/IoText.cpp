// Text helpers of the readers.
#include "IoText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace io_text {

std::string trim(std::string_view text) {
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

namespace {

// Length of the well-formed UTF-8 sequence at the start of text, 0 when there is none.
std::size_t utf8Length(std::string_view text) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = b(0);
    const std::size_t n = lead >= 0xF0 && lead <= 0xF4   ? 4
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xC2 && lead <= 0xDF ? 2
                                                         : 0;
    if (n == 0 || text.size() < n) {
        return 0;
    }
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && b(1) < 0xA0) || (lead == 0xED && b(1) > 0x9F) ||
        (lead == 0xF0 && b(1) < 0x90) || (lead == 0xF4 && b(1) > 0x8F)) {
        return 0;
    }
    // C1 control characters (U+0080 to U+009F) act on some terminals.
    return lead == 0xC2 && b(1) < 0xA0 ? 0 : n;
}

// Escaped text as characters: each one plain, a UTF-8 sequence or an escape.
std::vector<std::string> escapedChars(std::string_view text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.front());
        std::size_t n = c >= 0x20 && c < 0x7F ? 1 : utf8Length(text);
        if (n > 0) {
            out.emplace_back(text.substr(0, n));
        } else {
            n = 1;
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out.emplace_back(c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : buf);
        }
        text.remove_prefix(n);
    }
    return out;
}

} // namespace

std::string escaped(std::string_view text) {
    std::string out;
    for (const std::string& c : escapedChars(text)) {
        out += c;
    }
    return out;
}

std::string quote(std::string_view text) {
    return "'" + escaped(text) + "'";
}

std::string shown(std::string_view text, std::size_t most) {
    // Escapes take as many columns as they have characters.
    const std::vector<std::string> chars = escapedChars(text);
    std::string out;
    std::size_t i = 0;
    for (std::size_t width = 0; i < chars.size(); ++i) {
        width += chars[i].size() > 1 && chars[i][0] == '\\' ? chars[i].size() : 1;
        if (width > most) {
            break;
        }
        out += chars[i];
    }
    return "'" + out + (i < chars.size() ? "...'" : "'");
}

std::u16string utf16(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 1;
        char32_t c = n == 1 ? b : b & (0x7F >> n);
        bool valid = b < 0x80 || (n > 1 && b < 0xF5 && i + n <= text.size());
        for (std::size_t k = 1; valid && k < n; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += n;
    }
    return out;
}

std::string num(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return buf;
}

std::string list(const std::vector<std::string>& items, std::size_t most) {
    std::string out;
    for (std::size_t i = 0; i < items.size() && i < most; ++i) {
        out += (i ? ", " : "") + shown(items[i]);
    }
    if (items.size() > most) {
        out += " and " + std::to_string(items.size() - most) + " more";
    }
    return out;
}

} // namespace io_text
