#include "archive/archive_on_save.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "archive/price_archive.h"

std::string ArchiveOnSave::OfferSaved(const ArchiveLocation& location, const KsLyxObj& document,
                                      const std::string& offerFile) {
  const std::string today = ArchiveToday();
  const ArchivedOfferHead head = CollectArchivedOfferHead(document, offerFile, today);
  std::erase_if(pending_,
                [&head](const ArchivedOffer& kept) { return kept.OfferFile == head.OfferFile; });
  try {
    PriceArchive archive(location);
    while (!pending_.empty()) {
      archive.Store(pending_.front());
      pending_.erase(pending_.begin());
    }
    // Taken from the document as it is written: a large offer is never held
    // a second time beside the document unless the archive fails.
    archive.Store(head, [&document](const std::function<void(const ArchivedPosition&)>& take) {
      ForEachArchivedPosition(document, take);
    });
    failureReported_ = false;
    return "";
  } catch (const std::exception& e) {
    pending_.push_back(CollectArchivedOffer(document, offerFile, today));
    if (failureReported_) return "";
    failureReported_ = true;
    return std::string("Das Angebot ist gespeichert, das Preisarchiv nicht: ") + e.what() +
           " Die Preise werden beim n\xE4"
           "chsten Speichern eingetragen.";
  }
}
