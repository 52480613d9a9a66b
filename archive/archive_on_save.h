#pragma once

#include <string>
#include <vector>

#include "archive/archive_location.h"
#include "archive/archived_offer.h"

class KsLyxObj;

// Every save of an offer enters its prices into the archive, after the
// offer file is written: a failure of the archive (locked, server down,
// wrong password, full disk) costs the offer nothing. What could not be
// written is kept and written with the next save; the failure is reported
// once until the archive takes entries again.
class ArchiveOnSave {
 public:
  // After `offerFile` was written from `document`: stores its entries (and
  // those kept from earlier failures) at `location`. Returns the German
  // failure to show, "" when stored or when this failure was reported before.
  std::string OfferSaved(const ArchiveLocation& location, const KsLyxObj& document,
                         const std::string& offerFile);
  // Offers kept for the next save.
  size_t Pending() const { return pending_.size(); }

 private:
  std::vector<ArchivedOffer> pending_;
  bool failureReported_ = false;
};
