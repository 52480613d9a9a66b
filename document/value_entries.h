#pragma once

#include <string>
#include <vector>

class KsGAEBObj;
class KsLyxObj;

// One value to enter into a field of a position or LV area, as the user
// would type it into the grid.
struct ValueEntry {
  KsGAEBObj* Element = nullptr;
  std::string Field;  // "EP", "EPANTEIL1" ... "EPANTEIL6", "NACHLASSPROZ", "NACHLASSABS"
  std::string Text;
};
using ValueEntries = std::vector<ValueEntry>;

// Enters the values in their order as the grid enters a typed one
// (ApplyCellText: the same rounding, checks and recalculation), each
// element noted with the document first. All or nothing: when one is
// refused, every value entered before is put back as it was, the amounts
// recomputed, and EntryError raised with the refusal, naming the OZ and the
// field. The questions the grid asks (EntryQuestion) are the caller's to ask
// before.
void ApplyEntries(KsLyxObj& document, const ValueEntries& entries);
