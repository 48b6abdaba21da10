// Conversions between the channels' UTF-16 labels and the UTF-8 of messages.
#pragma once

#include <string>
#include <string_view>

class CUtfText {
public:
    // Malformed input becomes U+FFFD.
    static std::u16string toUtf16(std::string_view in);
    static std::string toUtf8(std::u16string_view in);
};
