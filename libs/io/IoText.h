// Small text helpers shared by the readers: trimming, case folding and message pieces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace io_text {

std::string trim(std::string_view text);
// ASCII lower case, for case-insensitive label matching.
std::string lower(std::string_view text);
// Text as a terminal may show it: control characters and bytes that are not UTF-8 written as
// escapes (\r, \n, \t, \xNN), so that a file's bytes never act on the terminal.
std::string escaped(std::string_view text);
// A file name or a name the user gave, as messages show it: escaped, in single quotes.
std::string quote(std::string_view text);
// Text read from a file (a label, an event, a condition) as messages show it: escaped, cut
// after `most` characters ("..." marks the cut), in single quotes.
std::string shown(std::string_view text, std::size_t most = 40);
// UTF-8 text as UTF-16; a byte that starts no valid sequence stands for its Latin-1 character.
std::u16string utf16(std::string_view text);
// A number without trailing zeros: 12.5, 250, -0.25.
std::string num(double value);
// Up to `most` items from a file (as shown()) separated by commas, then "and N more".
std::string list(const std::vector<std::string>& items, std::size_t most = 12);

} // namespace io_text
