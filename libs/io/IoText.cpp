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

std::string quote(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string num(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return buf;
}

std::string list(const std::vector<std::string>& items, std::size_t most) {
    std::string out;
    for (std::size_t i = 0; i < items.size() && i < most; ++i) {
        out += (i ? ", " : "") + quote(items[i]);
    }
    if (items.size() > most) {
        out += " and " + std::to_string(items.size() - most) + " more";
    }
    return out;
}

} // namespace io_text
