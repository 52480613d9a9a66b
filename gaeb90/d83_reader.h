#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb90/gaeb90_origin.h"
#include "gaeb90/records.h"

// A GAEB 90 tender (D81, D83) read into the element tree the GAEB 2000
// reader builds, so everything above the tree works on either format:
//   00 -> VERGABE.DP (phase), the OZ mask -> LVINFO.LVGLIED, the name after
//         the phase -> AG.DVNR; 01 -> LVINFO.BEZ and DATUM; 02 -> PRJINFO.BEZ;
//   03 -> AG.ADRESSE.NAME1 ... NAME4; 08 -> WAE and WAEBEZ of PRJINFO and
//   VERGABEINFO; 11 + 12 -> LVBEREICH (OZ, BEZ; the label of 11 names the
//   level in LVGLIED); 20 + 26 -> HINWEIS; 21 -> POSITION (OZ, flags, MENGE,
//   ME), 25 -> KURZTEXT, 26 -> LANGTEXT (one line each); 31 closes the area;
//   99 ends the file and states the number of positions.
// A free text block (T0 ... T9) before record 00 and records of unknown type
// are skipped and counted in the warning. Anything else out of place, a
// field that is not what its columns must hold, and a file without record 99
// raise Gaeb90Error naming the line.
struct Gaeb90Tender {
  std::unique_ptr<KsGGAEB> Root;
  Gaeb90Origin Origin;
  std::string Warning;  // "" when nothing was skipped
};

Gaeb90Tender ReadGaeb90Tender(const std::vector<Gaeb90Record>& records, GaebDocument& doc);

// The phase of record 00 ("83"); raises Gaeb90Error when the records do not
// begin, after a free text block, with a head record.
std::string Gaeb90Phase(const std::vector<Gaeb90Record>& records);
