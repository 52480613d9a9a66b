#pragma once

#include <string>
#include <vector>

#include "gaeb90/oz_mask.h"

// What the GAEB 90 offer takes over from the tender it answers, beyond the
// element tree: the numbering and the head records as the file had them.
struct Gaeb90Origin {
  std::string Phase;  // "81", "83" or, for an offer read back, "84"
  OzMask Mask;
  // Records 00, 01, 02 and 08 as in the file (code page 850, columns 1-74).
  std::vector<std::string> HeadRecords;
};
