#include <ctime>

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

void AddAwardLines(std::vector<std::string>& head, const KsGAEBObj* award) {
  auto text = [award](const char* member) { return TextOf(award, member); };
  head.push_back("W\xE4hrung: " + text("WAE") + "  " + text("WAEBEZ"));
  if (!text("ANGEBDATUM").empty()) head.push_back("Angebot vom: " + text("ANGEBDATUM"));
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
  if (!TextOf(client, "DVNR").empty()) head.push_back("DV Nummer: " + TextOf(client, "DVNR"));
  if (!TextOf(client, "VERGNR").empty())
    head.push_back("Vergabenummer: " + TextOf(client, "VERGNR"));
  const std::string vatId = Trim(TextOf(address, "USTIDENT"));
  if (!vatId.empty()) head.push_back("Umsatzsteuer-Identnummer : " + vatId);
  if (!TextOf(client, "ARTSTAAT").empty() || !TextOf(client, "NAMESTAAT").empty())
    head.push_back("Staat: " + TextOf(client, "NAMESTAAT") + "     " + TextOf(client, "ARTSTAAT"));
}

}  // namespace

std::unique_ptr<std::vector<std::string>> KsLyxObj::BuildPrintHeader() {
  if (!Loaded() || !reader_) {
    LastError =
        "Es sind keine Daten zum Drucken vorhanden. Bitte \xF6"
        "ffnen Sie zun\xE4"
        "chst eine "
        "GAEB-Datei.";
    return nullptr;
  }
  const NumberFormat& format = FormatSettings();
  auto head = std::make_unique<std::vector<std::string>>();
  head->push_back(Utf8ToCp1252(reader_->FileName()) + "     " +
                  FormatDateTime(format.ShortDateFormat + " " + format.LongTimeFormat, Now()));
  head->push_back("");
  head->push_back("Projekt: " + TextOf(PrjInfo, "NAME") + " " + TextOf(PrjInfo, "BEZ"));
  head->push_back("LV     : " + TextOf(LvInfo, "NAME") + " " + TextOf(LvInfo, "BEZ"));
  head->push_back("");
  AddAwardLines(*head, VergabeInfo);
  head->push_back("");
  AddClientLines(*head, Ag);
  return head;
}
