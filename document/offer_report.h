#pragma once

#include <string>
#include <vector>

class KsLyxObj;
class TextDevice;

// Font sizes of the offer print: title and head, then the table.
inline constexpr int kOfferHeadPoints = 9;
inline constexpr int kOfferTablePoints = 8;

// The offer print: title, head lines, the bill of quantities with sums and
// discounts, and the totals, written to a text device opened by the caller.
// name is the document's file name without extension. Texts longer than the
// page are wrapped at blanks; the table needs OfferTableWidth characters at
// kOfferTablePoints. On a narrower page nothing is printed and the result is
// false; the device is closed in either case. Every page is headed "Seite x",
// or "Seite x von y" when the pages were counted before (pageCount > 0).
bool PrintOffer(KsLyxObj& document, const std::vector<std::string>& head, TextDevice& device,
                const std::string& name, bool longTexts, int pageCount = 0);

// The smallest page width, in characters, that holds the loaded tender's table.
int OfferTableWidth(const KsLyxObj& document);

// The German message for a page of `available` characters where `needed` are.
std::string TooNarrowMessage(int available, int needed);
