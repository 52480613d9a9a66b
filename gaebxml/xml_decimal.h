#pragma once

#include <string>
#include <string_view>

// Numbers as GAEB DA XML writes them: a point as decimal separator, no
// grouping, whatever the user's number format.

// Blanks around it, an optional sign, digits with at most one point and at
// most 15 digits before it; nothing else (no exponent, no comma). False for
// anything else.
bool ParseXmlDecimal(std::string_view text, double& value);

// `value` rounded half away from zero to `decimals` decimals (RoundDec) and
// written with exactly that many: XmlDecimal(1234.5, 2) is "1234.50".
std::string XmlDecimal(double value, int decimals);

// A rate or percentage: rounded to 2 decimals, trailing zeros dropped
// ("19", "7.5", "2.25").
std::string XmlRate(double value);
