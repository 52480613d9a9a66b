#pragma once

#include <string>
#include <vector>

#include "util/variant.h"

// The platform's format function for the conversions this program uses:
//   "%" [index ":"] ["-"] [width] ["." precision] type
// index, width and precision are digits or "*" (taken from the next
// argument); type (any case) is one of
//   s  the argument as text, precision = at most that many characters
//   d  integer, precision = at least that many digits
//   u  integer as unsigned 32-bit value
//   x  integer in upper-case hexadecimal, precision as for d
//   f  fixed number, precision = decimals (default 2)
//   n  as f, with the thousands separator
// "-" aligns left in the width (default right). "%%" is a percent sign. An
// explicit index makes the following conversions continue from that
// argument. Numbers use the separators of the user's format.
// Raises FormatError for an unknown conversion, a missing argument or an
// argument that does not convert.
std::string Format(const std::string& format, const std::vector<Variant>& args);
