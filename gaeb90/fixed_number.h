#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers of GAEB 90 fields: a fixed number of digits with implied decimals
// ("00000004000" with 3 decimals is 4,000), leading blanks allowed, a minus
// sign in the first column for a negative value.

// The value in units of the last digit (4000 for the example); false when
// the field holds anything else or only blanks.
bool ReadFixedNumber(std::string_view field, int64_t& units);
// "4.000": the value as a decimal text with the given decimals.
std::string FixedNumberText(int64_t units, int decimals);
// The field of `width` columns for the value in units; false when it does not fit.
bool WriteFixedNumber(int64_t units, size_t width, std::string& field);
