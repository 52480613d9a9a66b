#pragma once

#include <string>

class KsGAEBObj;

// Entries that are numbers but rarely meant: the window asks before it
// takes them (Yes takes the entry, No leaves the value as it was). Each
// function gives the question, or "" when the entry needs none; text that is
// no number, or no unambiguous one (RefuseAmbiguousNumber), needs none here:
// it is refused when applied.

// A negative unit price or unit-price component of a position.
std::string EntryQuestion(const KsGAEBObj& element, const std::string& memberName,
                          const std::string& text);

// A VAT rate above 25 % (rates beyond 100 % are refused when applied).
std::string VatRateQuestion(const std::string& text);
