// Small text helpers shared by the readers: trimming, case folding and message pieces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace io_text {

std::string trim(std::string_view text);
// ASCII lower case, for case-insensitive label matching.
std::string lower(std::string_view text);
// A file name or label as messages show it: in single quotes.
std::string quote(std::string_view text);
// A number without trailing zeros: 12.5, 250, -0.25.
std::string num(double value);
// Up to `most` quoted items separated by commas, then "and N more".
std::string list(const std::vector<std::string>& items, std::size_t most = 12);

} // namespace io_text
