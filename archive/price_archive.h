#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_location.h"
#include "archive/archived_offer.h"

class DbConnection;
class KsArchOffer;

// One earlier position of the archive, with its offer.
struct ArchiveEntry {
  int OfferId = 0;  // the row's key in the archive
  int Nr = 0;
  ArchivedPosition Position;
  std::string OfferFile;
  std::string Tender;
  std::string Client;
  std::string Date;  // of the offer, "yyyy-mm-dd"
};

// What the archive is asked for: the catalogue number, the short text and
// unit of a position, and (for the very position of an earlier offer for the
// same LV) the LV key and OZ. Empty parts are not asked.
struct ArchiveQuery {
  std::string Catalog;
  std::string ShortText;
  std::string Unit;
  std::string LvKey;
  std::string Oz;
  // What a suggestion needs: the best-fitting group only, without long texts.
  bool BestFitOnly = false;
};

// How well an entry fits, best first.
enum class ArchiveFit { SamePosition, SameCatalog, SameText };

struct ArchiveMatch {
  ArchiveEntry Entry;
  ArchiveFit Fit;
};

// The open archive: a connection of its own, the tables made or checked
// when it opens. Statements take every value as a parameter.
class PriceArchive {
 public:
  // Raises std::runtime_error (German, naming the place) when the archive
  // cannot be reached, or is a damaged or foreign file (left untouched).
  explicit PriceArchive(const ArchiveLocation& location);
  ~PriceArchive();
  PriceArchive(const PriceArchive&) = delete;
  PriceArchive& operator=(const PriceArchive&) = delete;

  const ArchiveLocation& Location() const { return location_; }
  DbConnection& Connection() { return *db_; }

  // Hands each position of an offer to the function it is given.
  using PositionSource = std::function<void(const std::function<void(const ArchivedPosition&)>&)>;
  // Stores the offer in one transaction, replacing what the archive held of
  // the same offer file; an offer without priced positions only removes
  // that. Each position is written as it comes, none is held; saved again,
  // the archive's latest offer writes only the rows that changed. Raises
  // std::runtime_error (German) and leaves the archive as it was when the
  // engine refuses.
  void Store(const ArchivedOfferHead& head, const PositionSource& positions);
  void Store(const ArchivedOffer& offer);

  // The fitting entries, best fit first and the latest offer first within a
  // fit; at most `limit` of each fit (of the best one found with BestFitOnly).
  std::vector<ArchiveMatch> Find(const ArchiveQuery& query, size_t limit = kDefaultLimit);
  // The entries whose short text is `text` (as ArchiveTextKey compares), any unit.
  std::vector<ArchiveMatch> FindText(const std::string& text, size_t limit = kDefaultLimit);
  // The number of offers and of positions held.
  std::pair<int, int> Counts();

  static constexpr size_t kDefaultLimit = 50;

 private:
  void Select(const std::string& where,
              const std::vector<std::pair<std::string, std::string>>& values, size_t limit,
              ArchiveFit fit, bool longTexts, std::vector<ArchiveMatch>& out);
  // The number of the offer saved as `offerFile` when it is the archive's
  // latest offer, else 0.
  int LatestOfferNumber(const std::string& offerFile);
  // The row of the offer with the values of `head`, not yet stored: the
  // stored row `kept`, or (for 0) a new one, its key the next free one.
  std::unique_ptr<KsArchOffer> OfferRecord(const ArchivedOfferHead& head, int kept);
  ArchiveLocation location_;
  std::unique_ptr<DbConnection> db_;
};
