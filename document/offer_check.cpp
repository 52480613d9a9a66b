#include "document/offer_check.h"

#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/text_complements.h"
#include "util/format_ex.h"
#include "util/trim.h"

namespace {

// What the positions lack, counted: positions without a unit price, or text
// complements left open; the first position that lacks it.
struct Unpriced {
  int Count = 0;
  const KsGAEBObj* First = nullptr;
  std::string FirstLabel;  // of the first open complement
};
using Lacking = void (*)(const KsGAEBObj& position, Unpriced& found);

void NoPrice(const KsGAEBObj& position, Unpriced& found) {
  if (HasEmptyUnitPrice(position) && ++found.Count == 1) found.First = &position;
}

void OpenComplements(const KsGAEBObj& position, Unpriced& found) {
  for (const TextComplement& c : BidderComplements(position)) {
    if (!c.Answer.empty()) continue;
    if (++found.Count == 1) {
      found.First = &position;
      found.FirstLabel = Trim(c.Caption.empty() ? c.Tail : c.Caption);
    }
  }
}

void CountUnpriced(const KsGAEBObjList* positions, Unpriced& found, Lacking lacking) {
  for (int i = 0; positions && i < positions->Count(); ++i) {
    const KsGAEBObj* position = positions->Element(i);
    if (IsPositionRow(position)) lacking(*position, found);
  }
}

// As the grid lists them: an area's sub-areas, then its own positions.
void CountUnpricedInAreas(const KsGAEBObjList* areas, Unpriced& found, Lacking lacking) {
  for (int i = 0; areas && i < areas->Count(); ++i) {
    const KsGAEBObj& area = *areas->Element(i);
    CountUnpricedInAreas(area.ChildList("LVBEREICH"), found, lacking);
    CountUnpriced(area.ChildList("POSITION"), found, lacking);
  }
}

Unpriced CountInLv(const KsLyxObj& document, Lacking lacking) {
  Unpriced found;
  CountUnpricedInAreas(document.LvAreas, found, lacking);
  CountUnpriced(document.Positions, found, lacking);
  return found;
}

std::string OpenComplementsText(const Unpriced& found) {
  const std::string where = "OZ " + Trim(found.First->Text("OZ")) +
                            (found.FirstLabel.empty() ? "" : ", \"" + found.FirstLabel + "\"");
  if (found.Count == 1)
    return "Eine Texterg\xE4nzung des Bieters ist nicht ausgef\xFCllt (" + where + ").";
  return std::to_string(found.Count) +
         " Texterg\xE4nzungen des Bieters sind nicht ausgef\xFCllt (die erste: " + where + ").";
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
  const Unpriced unpriced = CountInLv(document, NoPrice);
  if (unpriced.Count > 0)
    findings.push_back(
        {OfferFinding::Kind::UnpricedPositions, UnpricedText(unpriced), unpriced.First, ""});
  if (const Unpriced open = CountInLv(document, OpenComplements); open.Count > 0)
    findings.push_back(
        {OfferFinding::Kind::OpenComplements, OpenComplementsText(open), open.First, ""});
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
