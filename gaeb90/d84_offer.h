#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "gaeb/gaeb_obj.h"
#include "gaeb90/gaeb90_origin.h"
#include "gaeb90/records.h"

// The offer in GAEB 90 (D84), as the program writes it: the tender's records
// 00 (phase set to 84), 01, 02 and 08, then one record 23 per priced position
// (unit price not 0) in the order of the LV:
//   columns 3-11   the OZ as in record 21
//   columns 14-24  the unit price, 11 digits with 3 implied decimals
//   columns 26-37  the total (GB), 12 digits with 2 implied decimals
// a minus sign in the first column of a field for a negative value; then a
// record 99 with the number of records 23 in columns 70-74. Every record
// carries its running number in columns 75-80 and ends with CR LF; texts
// stay in code page 850 as the tender had them.
// Raises std::runtime_error (German) for a value too wide for its field.
void WriteGaeb90D84(std::ostream& out, const KsGAEBObj& lv, const Gaeb90Origin& origin);

// The prices of a GAEB 90 offer as read from its records 23.
struct Gaeb90Price {
  size_t Line = 0;
  std::string Oz;  // columns 3-11 as they stand
  std::string Ep;  // "12.345"
  int64_t GbCents = 0;
};

struct Gaeb90Offer {
  Gaeb90Origin Origin;  // head records of the offer itself
  std::string LvName;   // record 01, columns 3-42, trimmed
  std::vector<Gaeb90Price> Prices;
};

// Reads an offer (phase 84); raises Gaeb90Error naming the line for a record
// out of place or a field that is no number, and for a file without record 99.
Gaeb90Offer ReadGaeb90Offer(const std::vector<Gaeb90Record>& records);

// Enters the offer's unit prices into the tender's positions (by OZ as
// written in column 3-11), then recomputes. Raises Gaeb90Error when the
// offer names a position the tender lacks. Returns the number of positions
// whose total in the offer differs from the one computed now ("" warning
// when 0).
size_t ApplyGaeb90Offer(const Gaeb90Offer& offer, KsGAEBObj& lv);
