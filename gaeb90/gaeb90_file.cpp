#include "gaeb90/gaeb90_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "gaeb90/d83_reader.h"
#include "gaeb90/d84_offer.h"
#include "gaeb90/records.h"
#include "gaeb90/tree_builder.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

std::string Shown(const std::filesystem::path& path) { return Utf8ToCp1252(path.string()); }

std::filesystem::path FindTender(const std::string& offerPath) {
  const std::filesystem::path offer(offerPath);
  for (const char* extension : {".D83", ".d83", ".D81", ".d81"}) {
    std::filesystem::path tender = offer;
    tender.replace_extension(extension);
    std::error_code error;
    if (std::filesystem::is_regular_file(tender, error)) return tender;
  }
  std::filesystem::path expected = offer;
  expected.replace_extension(".D83");
  throw Gaeb90Error(
      "Ein GAEB 90 Angebot (D84) enth\xE4lt weder Texte noch Mengen; die "
      "Ausschreibung dazu wird neben ihm als " +
      Shown(expected) + " (oder .D81) gesucht und wurde nicht gefunden.");
}

Gaeb90Read ReadOffer(const std::vector<Gaeb90Record>& records, const std::string& path,
                     GaebDocument& doc) {
  if (path == "-")
    throw Gaeb90Error(
        "Ein GAEB 90 Angebot (D84) wird mit seiner Ausschreibung gelesen und "
        "kann nicht von der Standardeingabe kommen.");
  Gaeb90Offer offer = ReadGaeb90Offer(records);
  const std::filesystem::path tenderPath = FindTender(path);
  std::ifstream in(tenderPath, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Gaeb90Tender tender;
  try {
    const std::vector<Gaeb90Record> tenderRecords = SplitGaeb90(bytes);
    if (Gaeb90Phase(tenderRecords) == "84")
      throw Gaeb90Error("Die Datei ist selbst ein Angebot (Phase 84).");
    tender = ReadGaeb90Tender(tenderRecords, doc);
  } catch (const Gaeb90Error& e) {
    throw Gaeb90Error("Die Ausschreibung " + Shown(tenderPath) + " zum Angebot: " + e.what());
  }
  KsGAEBObj* vergabe = tender.Root->Child("VERGABE");
  KsGAEBObj* lv = vergabe ? vergabe->Child("LV") : nullptr;
  const KsGAEBObj* lvInfo = lv ? lv->Child("LVINFO") : nullptr;
  const std::string tenderName = lvInfo ? Trim(lvInfo->Text("BEZ")) : std::string();
  if (!lv || tenderName != offer.LvName)
    throw Gaeb90Error("Das Angebot geh\xF6rt nicht zur Ausschreibung " + Shown(tenderPath) +
                      ": das LV hei\xDFt dort \"" + tenderName + "\", im Angebot \"" +
                      offer.LvName + "\".");
  const size_t differing = ApplyGaeb90Offer(offer, *lv);
  TreeBuilder::Set(*vergabe, "DP", "84");
  Gaeb90Read read{std::move(tender.Root), std::move(offer.Origin), std::move(tender.Warning)};
  if (differing > 0)
    read.Warning += (read.Warning.empty() ? "" : " ") + std::string("Bei ") +
                    std::to_string(differing) +
                    " Positionen weicht der Gesamtbetrag des Angebots vom neu berechneten ab; "
                    "die Einheitspreise wurden \xFC"
                    "bernommen.";
  return read;
}

}  // namespace

Gaeb90Read ReadGaeb90(std::string_view bytes, const std::string& path, GaebDocument& doc) {
  const std::vector<Gaeb90Record> records = SplitGaeb90(bytes);
  if (Gaeb90Phase(records) == "84") return ReadOffer(records, path, doc);
  Gaeb90Tender tender = ReadGaeb90Tender(records, doc);
  return {std::move(tender.Root), std::move(tender.Origin), std::move(tender.Warning)};
}
