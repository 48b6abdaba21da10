// MNE-Python's files name a channel's unit by a FIFF code and a power of ten (unit_mul); the
// data set names it by text ("µV", "fT/cm"). One table for the reader and the writer.
#pragma once

#include <string>

namespace fiff_units {

constexpr int kVolt = 107, kTesla = 112, kTeslaPerMetre = 201;

// The power of ten of `unit` in the FIFF unit; 0 for the plain unit and for a unit the table
// does not know.
int multiplier(int fiffUnit, const std::string& unit);
// The text of a FIFF unit with its power of ten; "" for a code the table does not know, the
// plain unit for a power it does not know.
std::string name(int fiffUnit, int multiplier);

} // namespace fiff_units
