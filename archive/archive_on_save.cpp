#include "archive/archive_on_save.h"

#include <algorithm>
#include <stdexcept>

#include "archive/price_archive.h"

std::string ArchiveOnSave::OfferSaved(const ArchiveLocation& location, const KsLyxObj& document,
                                      const std::string& offerFile) {
  ArchivedOffer offer = CollectArchivedOffer(document, offerFile, ArchiveToday());
  std::erase_if(pending_,
                [&offer](const ArchivedOffer& kept) { return kept.OfferFile == offer.OfferFile; });
  pending_.push_back(std::move(offer));
  try {
    PriceArchive archive(location);
    while (!pending_.empty()) {
      archive.Store(pending_.front());
      pending_.erase(pending_.begin());
    }
    failureReported_ = false;
    return "";
  } catch (const std::exception& e) {
    if (failureReported_) return "";
    failureReported_ = true;
    return std::string("Das Angebot ist gespeichert, das Preisarchiv nicht: ") + e.what() +
           " Die Preise werden beim n\xE4"
           "chsten Speichern eingetragen.";
  }
}
