#include <cmath>
#include <map>

#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "gaeb90/d84_offer.h"
#include "gaeb90/fixed_number.h"
#include "util/trim.h"

namespace {

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

[[noreturn]] void Fail(const Gaeb90Record& r, const std::string& text) {
  throw Gaeb90Error(LinePrefix(r) + text);
}

void IndexPositions(KsGAEBObj& holder, std::map<std::string, KsGAEBObj*>& index) {
  if (KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) IndexPositions(*areas->Element(i), index);
  if (KsGAEBObjList* positions = holder.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i)
      index.emplace(TrimRight(positions->Element(i)->Text("OZ")), positions->Element(i));
}

}  // namespace

Gaeb90Offer ReadGaeb90Offer(const std::vector<Gaeb90Record>& records) {
  Gaeb90Offer offer;
  bool ended = false, prices = false;
  for (const Gaeb90Record& r : records) {
    if (ended) Fail(r, "nach dem Schlusssatz 99 folgt noch ein Satz.");
    const std::string_view type = r.Type();
    if (r.Text[0] == 'T' && offer.Origin.HeadRecords.empty()) continue;
    if (offer.Origin.HeadRecords.empty() && type != "00")
      Fail(r, "erwartet wird der Kopfsatz 00, gefunden Satzart \"" + std::string(type) + "\".");
    if (type == "00" || type == "01" || type == "02" || type == "08") {
      if (prices || (type == "00") != offer.Origin.HeadRecords.empty())
        Fail(r,
             "Satz " + std::string(type) + " geh\xF6rt in den Kopf des Angebots, vor die Preise.");
      offer.Origin.HeadRecords.push_back(r.Raw.substr(0, 74));
      if (type == "00") offer.Origin.Phase = std::string(r.Columns(11, 12));
      if (type == "00" && !offer.Origin.Mask.Parse(r.Columns(63, 71)))
        Fail(r, "die OZ-Maske \"" + std::string(r.Columns(63, 71)) +
                    "\" in Spalte 63-71 ist nicht lesbar (erwartet z. B. \"1122PPPPI\").");
      if (type == "01") offer.LvName = r.Field(3, 42);
    } else if (type == "23") {
      prices = true;
      int64_t ep = 0, gb = 0;
      if (IsBlank(r.Columns(3, 11))) Fail(r, "der Preissatz 23 nennt keine OZ.");
      if (!ReadFixedNumber(r.Columns(14, 24), ep))
        Fail(r, "der Einheitspreis \"" + std::string(r.Columns(14, 24)) +
                    "\" in Spalte 14-24 ist keine Zahl (11 Ziffern, davon 3 Nachkommastellen).");
      if (!ReadFixedNumber(r.Columns(26, 37), gb))
        Fail(r, "der Gesamtbetrag \"" + std::string(r.Columns(26, 37)) +
                    "\" in Spalte 26-37 ist keine Zahl (12 Ziffern, davon 2 Nachkommastellen).");
      offer.Prices.push_back({r.Line, TrimRight(r.Columns(3, 11)), FixedNumberText(ep, 3), gb});
    } else if (type == "99") {
      if (CutBeforeItsCount(r))
        throw Gaeb90Error("Das Angebot endet in Zeile " + std::to_string(r.Line) +
                          " mitten im Schlusssatz 99 (ohne die Anzahl der Preise in Spalte "
                          "70-74); es ist unvollst\xE4ndig.");
      int64_t stated = 0;
      if (!ReadFixedNumber(r.Columns(70, 74), stated) ||
          stated != static_cast<int64_t>(offer.Prices.size()))
        Fail(r, "der Schlusssatz nennt in Spalte 70-74 \"" + std::string(r.Columns(70, 74)) +
                    "\" Preise, die Datei enth\xE4lt " + std::to_string(offer.Prices.size()) + ".");
      ended = true;
    } else {
      Fail(r, "erwartet wird ein Preissatz 23 oder der Schlusssatz 99, gefunden Satzart \"" +
                  std::string(type) + "\".");
    }
  }
  if (!ended)
    throw Gaeb90Error(
        "Das Angebot endet" +
        (records.empty() ? std::string() : " nach Zeile " + std::to_string(records.back().Line)) +
        " ohne den Schlusssatz 99; es ist unvollst\xE4ndig.");
  return offer;
}

size_t ApplyGaeb90Offer(const Gaeb90Offer& offer, KsGAEBObj& lv) {
  std::map<std::string, KsGAEBObj*> index;
  IndexPositions(lv, index);
  std::vector<std::pair<KsGAEBObj*, const Gaeb90Price*>> priced;
  for (const Gaeb90Price& price : offer.Prices) {
    const auto found = index.find(price.Oz);
    if (found == index.end())
      throw Gaeb90Error("Zeile " + std::to_string(price.Line) + ": die Position " + Trim(price.Oz) +
                        " des Angebots gibt es in der Ausschreibung nicht.");
    priced.emplace_back(found->second, &price);
  }
  for (const auto& [position, price] : priced) SetPositionValue(*position, price->Ep, "EP");
  CalcAll(lv);
  size_t differing = 0;
  for (const auto& [position, price] : priced) {
    const KsMember* gb = position->Members.Find("GB");
    if (!gb || std::llround(gb->GetAsFloat() * 100) != price->GbCents) ++differing;
  }
  return differing;
}
