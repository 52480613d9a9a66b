#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "bench/tender_generator.h"

class KsGAEBObj;

// Writes an element tree as the GAEB 2000 reader builds it as a GAEB DA XML
// 3.3 tender (X83), so that one tender can be read in both formats: texts as
// paragraphs (one per line), numbers with a point, the OZ split into RNoPart
// and RNoIndex by the LVGLIED mask, the types back as Provis and ALN numbers,
// IDs numbered through. Unit prices the tree holds go out as UP, the VAT rate
// as BoQInfo/Totals/VAT. Raises EObj when the stream or file fails.
void WriteX83(std::ostream& out, const KsGAEBObj& root);
void WriteX83File(const std::string& path, const KsGAEBObj& root);

// A synthetic X83 of the given shape: the synthetic GAEB 2000 tender, read,
// with every 17th position a contingency ("B"), every 23rd one without total
// ("AB") and every 29th an alternative ("A"), written as X83. Returns the
// bytes written.
uint64_t WriteSyntheticX83File(const std::string& path, const TenderShape& shape);
