#include "archive/earlier_prices.h"

#include <algorithm>

#include "archive/archived_offer.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "util/trim.h"

namespace {

EarlierPrices Grouped(std::vector<ArchiveMatch> matches) {
  EarlierPrices prices;
  prices.Matches = std::move(matches);
  std::vector<const ArchiveEntry*> best;
  for (const ArchiveMatch& m : prices.Matches)
    if (m.Fit == prices.Matches.front().Fit) best.push_back(&m.Entry);
  prices.Statistics = StatisticsOf(best);
  return prices;
}

}  // namespace

const ArchiveEntry* EarlierPrices::Latest() const {
  return Matches.empty() ? nullptr : &Matches.front().Entry;
}

PriceStatistics StatisticsOf(const std::vector<const ArchiveEntry*>& latestFirst) {
  PriceStatistics s;
  s.Count = static_cast<int>(latestFirst.size());
  if (latestFirst.empty()) return s;
  std::vector<double> prices;
  for (const ArchiveEntry* e : latestFirst) prices.push_back(e->Position.Ep);
  s.Last = prices.front();
  std::sort(prices.begin(), prices.end());
  s.Lowest = prices.front();
  s.Highest = prices.back();
  const size_t n = prices.size();
  s.Median = n % 2 == 1 ? prices[n / 2] : (prices[n / 2 - 1] + prices[n / 2]) / 2;
  return s;
}

EarlierPrices FindEarlierPrices(PriceArchive& archive, const KsLyxObj& tender,
                                const KsGAEBObj& position, size_t limit, bool bestFitOnly) {
  ArchiveQuery query;
  query.Catalog = ArchiveCatalog(position);
  query.ShortText = Trim(ShortText(position, 255));
  query.Unit = Trim(position.Text("ME"));
  query.LvKey = ArchiveLvKey(tender);
  query.Oz = Trim(position.Text("OZ"));
  query.BestFitOnly = bestFitOnly;
  std::vector<ArchiveMatch> matches = archive.Find(query, limit);
  if (matches.empty()) return {};
  return Grouped(std::move(matches));
}

EarlierPrices FindEarlierPrices(PriceArchive& archive, const std::string& text, size_t limit) {
  std::vector<ArchiveMatch> matches = archive.FindText(text, limit);
  if (matches.empty()) return {};
  return Grouped(std::move(matches));
}
