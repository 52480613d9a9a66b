#pragma once

#include <optional>
#include <string>
#include <vector>

#include "archive/price_archive.h"

class KsGAEBObj;
class KsLyxObj;

// Last, lowest, median and highest unit price of a group of entries (the
// median of an even count is the mean of the two middle ones).
struct PriceStatistics {
  int Count = 0;
  double Last = 0;
  double Lowest = 0;
  double Median = 0;
  double Highest = 0;
};

// The earlier prices that fit one position of a tender, as the panel beside
// the long text lists them: the best-fitting entries first (the same
// position of an earlier offer for this LV, then the same catalogue number,
// then the same short text with the same unit), the latest first within each.
// At most `limit` entries of each group are read, the latest; the
// statistics are those of the best-fitting group's, which a suggestion
// takes its price from.
struct EarlierPrices {
  std::vector<ArchiveMatch> Matches;
  PriceStatistics Statistics;
  bool Empty() const { return Matches.empty(); }
  // The entry a suggestion of the last price takes: the latest of the best group.
  const ArchiveEntry* Latest() const;
};

// Computes the statistics of a group of entries; Last is the first entry's.
PriceStatistics StatisticsOf(const std::vector<const ArchiveEntry*>& latestFirst);

// The earlier prices of `position` of `tender`; with `bestFitOnly`, only the
// best-fitting group, without long texts (what a suggestion needs).
EarlierPrices FindEarlierPrices(PriceArchive& archive, const KsLyxObj& tender,
                                const KsGAEBObj& position,
                                size_t limit = PriceArchive::kDefaultLimit,
                                bool bestFitOnly = false);
// The earlier prices of a free text (the command line's "archive find TEXT"):
// same short text, whatever unit.
EarlierPrices FindEarlierPrices(PriceArchive& archive, const std::string& text,
                                size_t limit = PriceArchive::kDefaultLimit);
