// A readable, stable test name from a UTF-16 text: its ASCII letters and digits, other runs
// turned into one '_', "Empty" when nothing is left.
#pragma once

#include <cctype>
#include <string>

inline std::string testNameOf(const char16_t* text) {
    std::string name;
    for (const char16_t* p = text; *p; ++p) {
        const char ch = static_cast<unsigned>(*p) < 128 ? static_cast<char>(*p) : ' ';
        if (std::isalnum(static_cast<unsigned char>(ch)))
            name += ch;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? std::string("Empty") : name;
}
