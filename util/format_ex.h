#pragma once

#include <string>
#include <vector>

#include "util/variant.h"

// Format (util/format.h) with this program's own conversions, which a
// pre-pass turns into plain text or standard conversions:
//   %<pattern>a  the argument as a date-time by the pattern (default "c");
//                a date that rounds to 0 at 5 decimals prints the pattern
//                with its letters c d m y h n s t as "_" (dd.mm.yyyy gives
//                __.__.____); Empty and Null count as 0
//   %<pattern>t  the same, default pattern "t", always formatted
//   %<list>z     lookup in "entry;entry;...": "#number=text" matches an
//                integer argument, "key=text" a string argument equal to
//                key; inserts text (up to a further "="); without a match
//                the argument's text
//   %n           a number with thousands separators and NumberDigits()
//                decimals when no "." precision is given
// Double quotes in a pattern or list are removed (they keep its letters
// from ending the conversion). Once an a, t or z conversion has taken its
// argument, later conversions get explicit indexes so they still pick their
// own arguments. "%%" stays a percent sign and takes no argument.
// Raises FormatError like Format.
std::string FormatEx(const std::string& fmt, const std::vector<Variant>& args);
