#pragma once

#include <string>

class KsGAEBObj;

// Entries that are numbers but rarely meant: the window asks before it
// takes them (Yes takes the entry, No leaves the value as it was). Each
// function gives the question, or "" when the entry needs none; text that is
// no number, or no unambiguous one (RefuseAmbiguousNumber), needs none here:
// it is refused when applied, as are discounts outside 0 ... 100 %.

// A negative unit price or unit-price component of a position; a discount
// of a position or LV area above 50 %; an absolute discount of an LV area
// above the area's sum, or below 0.
std::string EntryQuestion(const KsGAEBObj& element, const std::string& memberName,
                          const std::string& text);

// A VAT rate above 25 % (rates beyond 100 % are refused when applied).
std::string VatRateQuestion(const std::string& text);
