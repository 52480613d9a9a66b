#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The numbering of a GAEB 90 LV as record 00 declares it in columns 63-71:
// one run of the same digit per LV level ("11", "22"), a run of "P" for the
// position, an optional "I" for the index, "0" for unused columns
// ("1122PPPPI", "11PPPPI00").
struct OzMask {
  std::vector<size_t> AreaLengths;
  size_t PositionLength = 0;
  size_t IndexLength = 0;

  // Reads the mask; false when it is none of the above.
  bool Parse(std::string_view mask);
  // The OZ columns (3-11) cut into one part per area level, then the
  // position part, then the index part, as they stand (blanks kept).
  std::vector<std::string> Split(std::string_view columns) const;
  size_t Levels() const { return AreaLengths.size(); }
  // The columns the mask gives a meaning.
  size_t Width() const;
};
