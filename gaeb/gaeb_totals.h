#pragma once

#include <string>

class KsGAEBObj;

// The amounts of the bill of quantities, kept consistent by recomputing what
// a change makes necessary and carrying it up the tree. Every amount is
// computed exactly from the decimal values its inputs stand for (unit prices
// and quantities at 3 decimals, percentages at 2, amounts at 2) and rounded
// to the cent, half away from zero, once, where it is computed; sums add
// amounts so rounded, so every figure can be recomputed from the written file:
//   position  GB          = RoundDec(2, EP * MENGE * (1 - NACHLASSPROZ / 100))
//   LV area   SUMME       = GB of its "N" and "B" positions
//                           + SUMMENACHNL of its sub-areas
//             SUMMENACHNL = SUMME - NACHLASSABS when NACHLASSABS is not 0,
//                           else SUMME - RoundDec(2, SUMME * NACHLASSPROZ / 100)
//   LV        LVINFO.SUMME       = SUMMENACHNL of its areas
//                                  + GB of its own "N" and "B" positions
//             VAT amount         = RoundDec(2, LVINFO.SUMME * UST / 100), UST
//                                  held at 2 decimals
//             LVINFO.SUMMEBRUTTO = LVINFO.SUMME + VAT amount
// Alternative positions ("A", "AB") get their GB but count in no sum. A
// result is stored, and carried upward, only when it differs from the stored
// value at its precision, unless the document's RecalcAll flag is set: then
// every result is stored. Each change of the LV sum is announced to the
// document with gcTotalsChanged. Elements without an import document count as
// RecalcAll unset and announce nothing.
// No amount reaches kAmountLimit (util/amount_limit.h): a calculation that
// would store one raises EntryError; an entry that leads to one is taken
// back whole before the error reaches the caller.

// Applies the user's entry `text` (a number as TryReadNumber reads it, "." or
// "," as the decimal separator) to
// "EP", "NACHLASSPROZ" or "EPANTEIL1" ... "EPANTEIL6" of a position; a
// component makes EP the sum of the components given. A blank price or
// component empties it (no price is not a price of 0: EP is empty when no
// component is given); a blank discount is 0. Other names are ignored.
// A text that is not a number raises the number parser's error (VariantError),
// a value or resulting amount beyond the limit, or a discount outside 0 ...
// 100 %, EntryError; either way nothing is stored.
void SetPositionValue(KsGAEBObj& position, const std::string& text, const std::string& memberName);

// Applies the user's entry to "NACHLASSPROZ" or "NACHLASSABS" of an LV area
// (blank is 0). A discount that is not 0 switches the other one off. Other
// names are ignored; a text that is not a number raises like
// SetPositionValue, a percentage outside 0 ... 100 EntryError.
void SetAreaDiscount(KsGAEBObj& area, const std::string& text, const std::string& memberName);

// Applies the user's VAT rate entry (empty is 0) to UST of the LV's LVINFO
// and recalculates the LV sum; raises like SetPositionValue, and
// EntryError for a rate below 0 or above kVatRateLimit.
void SetVatRate(KsGAEBObj& lv, const std::string& text);
constexpr double kVatRateLimit = 100;

// The VAT amount of the LV: RoundDec(2, SUMME * UST / 100); 0 where either is no number.
double VatAmount(const KsGAEBObj& lvInfo);

// "EPANTEIL1" ... "EPANTEIL6": the components a unit price is made of.
bool IsPriceComponent(const std::string& memberName);
// The client asks for this position's unit price in components
// ("EPAUFGL" = "J"): the components are entered, EP is their sum, and an
// entry of EP itself is refused with PriceBreakdownHint.
bool HasPriceBreakdown(const KsGAEBObj& position);
std::string PriceBreakdownHint();
// No unit price yet: EP holds no value (or blanks). A price of 0 is a
// price; so is one held as text that is no number.
bool HasEmptyUnitPrice(const KsGAEBObj& position);

// Recalculates a position, or everything below an LV or LV area: every
// position's GB, then every area's sum once from the bottom up, then what lies
// above the element, in time linear in the size of the tree.
void CalcAll(KsGAEBObj& element);
