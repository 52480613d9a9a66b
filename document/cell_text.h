#pragma once

#include <string>

class KsGAEBObj;
class KsMember;

// How the in-place editor of the price grid reads and writes a member.

struct KsCellEditText {
  bool Editable = false;  // false: the member's type is not edited in place
  bool Numeric = false;   // only digits, the decimal separator, "-" may be typed
  std::string Text;
};

// The text the editor starts with: strings as they are, integers as
// integers, floats and currency as plain numbers without thousands separators.
KsCellEditText CellEditText(const KsMember& member);

// Applies an entry to a member of a grid row by the member's type (the grid's
// columns hold strings, integers, floats and currency); numbers go through the
// totals so that amounts and sums follow. A text that does not convert raises
// and leaves the member as it was.
void ApplyCellText(KsGAEBObj& element, KsMember& member, const std::string& text);

// What the grid lets the user enter, and so the price list of the command
// line: a position's EP and NACHLASSPROZ, its EPANTEIL1 ... EPANTEIL6 when the
// client asked for a breakdown; an LV area's NACHLASSPROZ and NACHLASSABS.
bool IsEnterable(const KsGAEBObj& element, const std::string& memberName);
