#pragma once

#include <string>

class KsGAEBObj;
class KsLyxObj;

// Widths in characters of the offer print's columns. Each column is as wide
// as the layout asks for, and wider where something printed in it is longer,
// so no OZ, quantity, unit, discount or amount ever loses a character.
struct OfferColumnWidths {
  std::string OzMask;         // numbering layout of the LV, e.g. "1122PPPPX"
  int OzWidth = 0;            // the mask, or the longest OZ
  int AmountWidth = 0;        // gross sum in plain digits plus 4, or the widest amount plus a blank
  int QuantityWidth = 0;      // 11 (the head's "Menge"), or the widest quantity plus a blank
  int UnitWidth = 0;          // 4, or a longer unit plus a blank
  int DiscountWidth = 0;      // 8, or a position's widest discount plus a blank
  int AreaDiscountWidth = 0;  // 10, or an area's widest discount plus a blank
  int VatRateWidth = 0;       // the VAT rate in front of the VAT amount
  int SummaryWidth = 0;       // amounts of the summary of areas: 14 ("nach Nachlass"), or wider

  // The smallest page width, in characters, on which every line of the table,
  // the summary of areas (with a text column of at least 12) and the totals fits.
  int MinPageChars() const;
};

// The columns of the loaded tender's print.
OfferColumnWidths OfferColumns(const KsLyxObj& document);

// Texts of the columns, as printed.
std::string QuantityText(const KsGAEBObj& position);
// EP and GB of a position; both empty where the bidder gave no unit price
// (a price of 0 prints as 0).
std::string UnitPriceText(const KsGAEBObj& position);
std::string PositionAmountText(const KsGAEBObj& position);
std::string AmountText(double amount);
// The position's discount ("10,00%"); empty without one.
std::string PositionDiscountText(const KsGAEBObj& position);
// The area's percentage discount ("3,00%: "); empty without one.
std::string AreaDiscountText(const KsGAEBObj& area);
// The VAT rate in front of the VAT amount ("19,00").
std::string VatRateText(const KsGAEBObj& lvInfo);
