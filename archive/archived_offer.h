#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class KsGAEBObj;
class KsLyxObj;

// What the archive keeps of one priced position.
struct ArchivedPosition {
  std::string Oz;
  std::string ShortText;
  std::string LongText;  // its beginning (kLongTextKept characters)
  std::string Unit;
  std::optional<double> Quantity;
  double Ep = 0;
  std::array<std::optional<double>, 6> Components;
  // "STLNR:...", "TLKNR:..." or "CTLG:id:code" (GAEB DA XML), "" when the
  // tender gives none.
  std::string Catalog;
};

// One offer file, what the archive keeps beside its positions; Date is the day
// of the save (ISO, "2026-12-09").
struct ArchivedOfferHead {
  std::string OfferFile;
  std::string Tender;  // the LV's name and description
  std::string LvKey;   // what tells this LV from another (project, LV name, description)
  std::string Project;
  std::string Client;
  std::string Date;
};

// One offer file with its priced positions.
struct ArchivedOffer : ArchivedOfferHead {
  static constexpr size_t kLongTextKept = 500;
  std::vector<ArchivedPosition> Positions;
};

// The head of the open offer, saved as `offerFile` (made absolute) on `date`.
ArchivedOfferHead CollectArchivedOfferHead(const KsLyxObj& document, const std::string& offerFile,
                                           const std::string& date);
// Hands each priced position of the open offer (an EP held) to `take`, in the
// order of the LV, one at a time.
void ForEachArchivedPosition(const KsLyxObj& document,
                             const std::function<void(const ArchivedPosition&)>& take);
// The head with every priced position.
ArchivedOffer CollectArchivedOffer(const KsLyxObj& document, const std::string& offerFile,
                                   const std::string& date);
// The LV key of a document (ArchivedOffer::LvKey).
std::string ArchiveLvKey(const KsLyxObj& document);
// The catalogue number the tender gives the position, "" when none.
std::string ArchiveCatalog(const KsGAEBObj& position);
// Today as "yyyy-mm-dd".
std::string ArchiveToday();
// The day the file was last written, as "yyyy-mm-dd" (today when unknown):
// the date of an old offer entered afterwards.
std::string ArchiveDateOfFile(const std::string& file);
