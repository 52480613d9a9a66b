#include <ctime>

#include "document/bidder_fields.h"
#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_obj.h"
#include "util/codec.h"
#include "util/date_time.h"
#include "util/trim.h"

namespace {

const char kCrLf[] = "\r\n";

std::string TextOf(const KsGAEBObj* element, const char* member) {
  return element ? element->Text(member) : std::string();
}

// The local time as a date-time value (days since 30.12.1899).
double Now() {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  double date = 0;
  TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
  return date + EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, 0);
}

std::string ClientName(const KsGAEBObj* address) {
  std::string name = TextOf(address, "NAME1");
  if (!Trim(TextOf(address, "NAME2")).empty()) name += " " + TextOf(address, "NAME2");
  if (!Trim(TextOf(address, "NAME3")).empty()) name += kCrLf + TextOf(address, "NAME3");
  if (!Trim(TextOf(address, "NAME4")).empty()) name += " " + TextOf(address, "NAME4");
  return name;
}

std::string ClientAddressBlock(const KsGAEBObj* address) {
  const std::string lines[] = {
      TextOf(address, "STRASSE"), TextOf(address, "PLZ") + " " + TextOf(address, "ORT"),
      TextOf(address, "LANDBEZ"), TextOf(address, "ANSPRPARTNER"),
      TextOf(address, "TELEFON"), TextOf(address, "FAX"),
      TextOf(address, "EMAIL")};
  std::string block;
  for (const std::string& line : lines) block += std::string(15, ' ') + line + kCrLf;
  return block;
}

// The offer is dated: by the date the bidder gave, else by the day it is printed.
void AddAwardLines(std::vector<std::string>& head, const KsGAEBObj* award,
                   const std::string& today) {
  auto text = [award](const char* member) { return TextOf(award, member); };
  head.push_back("W\xE4hrung: " + text("WAE") + "  " + text("WAEBEZ"));
  const std::string offerDate = Trim(text("ANGEBDATUM"));
  head.push_back("Angebot vom: " + (offerDate.empty() ? today : offerDate));
  if (!text("ERDATUM").empty())
    head.push_back(
        "Er\xF6"
        "ffnung am: " +
        text("ERDATUM") + " " + text("ERUHRZEIT"));

  std::string deadline;
  if (!text("ZUSENDE").empty()) deadline = "Ende der Zuschlagsfrist: " + text("ZUSENDE") + "    ";
  if (!text("ABGABEORT").empty()) deadline += "Ort der Abgabe: " + text("ABGABEORT");
  head.push_back(deadline);

  std::string execution;
  if (!text("AUSFBEGINN").empty()) execution = "Ausf\xFChrung vom " + text("AUSFBEGINN");
  if (!text("AUSFENDE").empty()) execution += "  bis  " + text("AUSFENDE");
  head.push_back(execution);

  if (!text("ABNAHMEDATUM").empty()) head.push_back("Abnahme am: " + text("ABNAHMEDATUM"));

  std::string warranty;
  if (award && NumberValue(*award, "GWLDAUER") != 0)
    warranty = "Gew\xE4hrleistungsdauer: " + text("GWLDAUER") + "  " + text("GWLEINHEIT");
  if (!text("GWLENDE").empty()) warranty += " bis " + text("GWLENDE");
  head.push_back(warranty);
}

void AddClientLines(std::vector<std::string>& head, const KsGAEBObj* client) {
  const KsGAEBObj* address = client ? client->Child("ADRESSE") : nullptr;
  head.push_back("Auftraggeber:  " + ClientName(address));
  head.push_back(ClientAddressBlock(address));
  for (const char* member : {"DVNR", "VERGNR"})
    if (!TextOf(client, member).empty())
      head.push_back(std::string(PartyCaption(member)) + ": " + TextOf(client, member));
  const std::string vatId = Trim(TextOf(address, "USTIDENT"));
  if (!vatId.empty()) head.push_back("Umsatzsteuer-Identnummer : " + vatId);
  if (!TextOf(client, "ARTSTAAT").empty() || !TextOf(client, "NAMESTAAT").empty())
    head.push_back(std::string(PartyCaption("ARTSTAAT")) + ": " + TextOf(client, "NAMESTAAT") +
                   "     " + TextOf(client, "ARTSTAAT"));
}

// The bidder's block below the client's, in its column: the name lines,
// street, postcode and place, phone and e-mail, each only where given.
void AddBidderLines(std::vector<std::string>& head, const KsGAEBObj* bidder) {
  const KsGAEBObj* address = bidder ? bidder->Child("ADRESSE") : nullptr;
  const auto text = [address](const char* member) { return Trim(TextOf(address, member)); };
  const auto joined = [](const std::string& a, const std::string& b) {
    return a.empty() || b.empty() ? a + b : a + " " + b;
  };
  head.push_back("Auftragnehmer: " + joined(text("NAME1"), text("NAME2")));
  const std::string lines[] = {joined(text("NAME3"), text("NAME4")), text("STRASSE"),
                               joined(text("PLZ"), text("ORT")),
                               text("TELEFON").empty() ? "" : "Telefon: " + text("TELEFON"),
                               text("EMAIL").empty() ? "" : "E-Mail: " + text("EMAIL")};
  for (const std::string& line : lines)
    if (!line.empty()) head.push_back(std::string(15, ' ') + line);
}

}  // namespace

std::unique_ptr<std::vector<std::string>> KsLyxObj::BuildPrintHeader() {
  if (!Loaded()) {
    LastError =
        "Es sind keine Daten zum Drucken vorhanden. Bitte \xF6"
        "ffnen Sie zun\xE4"
        "chst eine "
        "GAEB-Datei.";
    return nullptr;
  }
  const NumberFormat& format = FormatSettings();
  const double now = Now();
  auto head = std::make_unique<std::vector<std::string>>();
  head->push_back(Utf8ToCp1252(TenderPath()) + "     " +
                  FormatDateTime(format.ShortDateFormat + " " + format.LongTimeFormat, now));
  head->push_back("");
  head->push_back("Projekt: " + TextOf(PrjInfo, "NAME") + " " + TextOf(PrjInfo, "BEZ"));
  head->push_back("LV     : " + TextOf(LvInfo, "NAME") + " " + TextOf(LvInfo, "BEZ"));
  head->push_back("");
  AddAwardLines(*head, VergabeInfo, FormatDateTime(format.ShortDateFormat, now));
  head->push_back("");
  AddClientLines(*head, Ag);
  head->push_back("");
  AddBidderLines(*head, An);
  return head;
}
