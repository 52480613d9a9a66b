#pragma once

#include <iosfwd>
#include <string>

#include "gaebxml/gaeb_xml_origin.h"

class KsGAEBObj;

// When the submission was made: "2025-06-02", "14:05:00".
struct X84Stamp {
  std::string Date;
  std::string Time;
};
X84Stamp X84StampNow();

// Writes the priced tree (the root GAEB element, as read from an X83) as a
// GAEB DA XML price submission (X84, exchange phase 84) in the version of the
// tender and the phase 84 namespace of that version: GAEBInfo with the tree's program name and the
// stamp, PrjInfo, Award with AwardInfo and CTR (the bidder's address and
// numbers from AN), and the BoQ with every area and position by ID and
// RNoPart (RNoIndex where there is one): positions with UP, UPComp1..n where
// components are given, DiscountPcnt where there is one, and IT, except that
// a position without a unit price has no UP, UPComp or IT, and a position
// with answered text complements ends with them (Description, CompleteText,
// DetailTxt, one TextComplement Kind="Bidder" with its MarkLbl and ComplBody
// each); zuschlag
// positions by their identity alone; Totals of every area (Total, discount,
// total after discount) and of the BoQ (Total, VAT, VATAmount, TotalGross).
// Amounts have a point as decimal separator; unit prices 3 decimals, amounts
// 2. Texts go out as UTF-8. Raises std::runtime_error when the stream fails.
void WriteX84(std::ostream& out, const KsGAEBObj& root, const GaebXmlOrigin& origin,
              const X84Stamp& stamp);
