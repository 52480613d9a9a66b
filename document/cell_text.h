#pragma once

#include <string>

class KsGAEBObj;
class KsMember;

// How the in-place editor of the price grid reads and writes a member.

struct CellEdit {
  bool Editable = false;  // false: the member's type is not edited in place
  bool Numeric = false;   // only what IsNumberEntry lets through may be typed
  std::string Text;
};

// What may be typed into a number: digits, "." and "," (either is taken as
// the decimal separator, TryReadNumber) and "-". Letters and other signs are
// refused as they are typed.
bool IsNumberEntry(const std::string& typed);

// Refuses a number whose reading is ambiguous (IsAmbiguousGrouping: "1.234")
// with EntryError naming the two unambiguous ways to write it ("1234",
// "1,234"). Every entry of a number goes through it before it is read.
void RefuseAmbiguousNumber(const std::string& text);

// The text the editor starts with: strings as they are, integers as
// integers, floats and currency as plain numbers without thousands separators.
CellEdit CellEditText(const KsMember& member);

// Applies an entry to a member of a grid row by the member's type (the grid's
// columns hold strings, integers, floats and currency); numbers go through the
// totals so that amounts and sums follow. A text that does not convert, or
// that RefuseAmbiguousNumber refuses, raises and leaves the member as it was.
void ApplyCellText(KsGAEBObj& element, KsMember& member, const std::string& text);

// What the grid lets the user enter, and so the price list of the command
// line: a position's NACHLASSPROZ, its EP or, when the client asked for a
// breakdown, instead the components it asked for (EPANTEIL1 up to
// AskedPriceComponents; EP is then their sum); an LV area's NACHLASSPROZ and
// NACHLASSABS.
bool IsEnterable(const KsGAEBObj& element, const std::string& memberName);

// A 0 the grid shows rather than a blank cell: a unit price or component
// entered as 0, and the amount of a position priced at 0. A position without
// a price shows none (blank), which is not a price of 0.
bool ShowsZero(const KsGAEBObj& element, const KsMember& member);

// How many unit-price components the client asks for: ANZEPANTEILE of the
// LVINFO of the element's LV, 1 to 6; all six where the LV does not say.
int AskedPriceComponents(const KsGAEBObj& element);
