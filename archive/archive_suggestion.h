#pragma once

#include <string>
#include <vector>

#include "archive/earlier_prices.h"
#include "document/price_takeover.h"

class KsLyxObj;
class KsGAEBObj;

// "Preise aus Archiv übernehmen": every position of the tender without a
// unit price that has fitting earlier prices gets the last one (or the
// median of its best group), as one plan of entries to be shown first and
// entered whole with ApplyEntries. The last price brings its components
// along where the tender asks for a breakdown; the median is a price of no
// one offer, so it is entered as EP only.
struct ArchiveSuggestion {
  enum class Price { Last, Median };

  struct Line {
    KsGAEBObj* Position = nullptr;
    std::string Oz;
    std::string ShortText;
    std::string Unit;
    double Price = 0;
    ArchiveFit Fit = ArchiveFit::SameText;
    int Found = 0;     // entries of the best group
    std::string From;  // date, tender and offer file of the last entry
  };

  PriceTakeOver Plan;       // the entries, refusals and questions
  std::vector<Line> Lines;  // what it would enter, in the order of the LV
  int Unpriced = 0;         // positions without a unit price before
  // Positions whose fitting price cannot be entered (German, with the OZ):
  // they stay open, the others are entered.
  std::vector<std::string> Skipped;
};

ArchiveSuggestion SuggestArchivePrices(PriceArchive& archive, const KsLyxObj& tender,
                                       ArchiveSuggestion::Price price);

// The list of a suggestion as German lines ("OZ  Kurztext  Preis  Einheit
// (Herkunft)"), and the summary line at the end.
std::vector<std::string> SuggestionLines(const ArchiveSuggestion& suggestion);
// How an entry fits, in the words of the list.
const char* FitName(ArchiveFit fit);
// "1 Eintrag", "3 Eintr\xE4ge".
std::string EntryCount(int count);
