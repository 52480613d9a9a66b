#include "document/offer_check.h"

#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_ex.h"
#include "util/trim.h"

namespace {

struct Unpriced {
  int Count = 0;
  const KsGAEBObj* First = nullptr;
};

void CountUnpriced(const KsGAEBObjList* positions, Unpriced& found) {
  for (int i = 0; positions && i < positions->Count(); ++i) {
    const KsGAEBObj* position = positions->Element(i);
    if (!IsPositionRow(position) || !HasEmptyUnitPrice(*position)) continue;
    if (++found.Count == 1) found.First = position;
  }
}

// As the grid lists them: an area's sub-areas, then its own positions.
void CountUnpricedInAreas(const KsGAEBObjList* areas, Unpriced& found) {
  for (int i = 0; areas && i < areas->Count(); ++i) {
    const KsGAEBObj& area = *areas->Element(i);
    CountUnpricedInAreas(area.ChildList("LVBEREICH"), found);
    CountUnpriced(area.ChildList("POSITION"), found);
  }
}

std::string UnpricedText(const Unpriced& found) {
  const std::string oz = Trim(found.First->Text("OZ"));
  if (found.Count == 1) return "Eine Position hat keinen Einheitspreis (OZ " + oz + ").";
  return std::to_string(found.Count) + " Positionen haben keinen Einheitspreis (die erste: OZ " +
         oz + ").";
}

void CheckBidder(const KsLyxObj& document, OfferFindings& findings) {
  const KsGAEBObj* address = document.An ? document.An->Child("ADRESSE") : nullptr;
  const auto blank = [address](const char* field) {
    return !address || Trim(address->Text(field)).empty();
  };
  if (blank("NAME1"))
    findings.push_back({OfferFinding::Kind::BidderName,
                        "Der Name des Bieters fehlt (Seite \"Auftragnehmer\").", nullptr, "NAME1"});
  const std::pair<const char*, const char*> parts[] = {{"STRASSE",
                                                        "Stra\xDF"
                                                        "e"},
                                                       {"PLZ", "PLZ"},
                                                       {"ORT", "Ort"}};
  std::string missing, first;
  for (const auto& [field, label] : parts) {
    if (!blank(field)) continue;
    missing += (missing.empty() ? "" : ", ") + std::string(label);
    if (first.empty()) first = field;
  }
  if (!missing.empty())
    findings.push_back({OfferFinding::Kind::BidderAddress,
                        "In der Anschrift des Bieters fehlt: " + missing + ".", nullptr, first});
}

}  // namespace

OfferFindings CheckOffer(const KsLyxObj& document) {
  OfferFindings findings;
  if (!document.Loaded()) return findings;
  Unpriced unpriced;
  CountUnpricedInAreas(document.LvAreas, unpriced);
  CountUnpriced(document.Positions, unpriced);
  if (unpriced.Count > 0)
    findings.push_back(
        {OfferFinding::Kind::UnpricedPositions, UnpricedText(unpriced), unpriced.First, ""});
  CheckBidder(document, findings);
  if (document.VatRateUnconfirmed())
    findings.push_back({OfferFinding::Kind::VatRate,
                        FormatEx("Die Ausschreibung nennt keinen Mehrwertsteuersatz; der "
                                 "Standardsatz von %.2n %% ist \xFC"
                                 "bernommen und nicht best\xE4tigt.",
                                 {document.LvInfo->Members.Find("UST")->AsFloatOr(0)}),
                        nullptr, ""});
  return findings;
}

OfferFindings CheckOfferForMail(const KsLyxObj& document, const std::string& recipient) {
  OfferFindings findings = CheckOffer(document);
  if (document.Loaded() && Trim(recipient).empty())
    findings.push_back({OfferFinding::Kind::ClientMail,
                        "Die E-Mail-Adresse des Auftraggebers fehlt.", nullptr, ""});
  return findings;
}

std::string FindingsMessage(const OfferFindings& findings) {
  std::string text = "Das Angebot ist noch nicht vollst\xE4ndig:\n";
  for (const OfferFinding& finding : findings) text += "\n- " + finding.Text;
  return text;
}
