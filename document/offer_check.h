#pragma once

#include <string>
#include <vector>

class KsGAEBObj;
class KsLyxObj;

// What is still missing in an offer before it leaves the house (printed,
// saved, mailed). Nothing is refused for it: the window asks whether to go
// on, the command line warns.
struct OfferFinding {
  enum class Kind {
    UnpricedPositions,
    OpenComplements,
    BidderName,
    BidderAddress,
    VatRate,
    ClientMail
  };
  Kind What;
  std::string Text;  // one German sentence
  // UnpricedPositions: the first position without a unit price;
  // OpenComplements: the first with a text complement left open.
  const KsGAEBObj* Position = nullptr;
  // BidderName, BidderAddress: the first empty bidder field ("NAME1", "STRASSE", "PLZ", "ORT").
  std::string Field;
};
using OfferFindings = std::vector<OfferFinding>;

// Positions without a unit price (counted, the first named by its OZ, in
// the order of the LV), text complements of the bidder left open (likewise), the bidder's name,
// street, postcode and town, and a VAT rate taken by default and not confirmed; empty for a
// complete offer and for no offer at all.
OfferFindings CheckOffer(const KsLyxObj& document);
// The same, and a blank recipient of the mail.
OfferFindings CheckOfferForMail(const KsLyxObj& document, const std::string& recipient);

// The one message the window shows: the findings as a list under a heading.
std::string FindingsMessage(const OfferFindings& findings);
