#include "gaeb/gaeb_catalogue.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr bool kReq = true;
constexpr bool kOpt = false;
// Every occurrence of a multi-value key adds one entry.
constexpr uint8_t kMulti = taCenter;

std::unique_ptr<KsFBDesc> NewElement(const std::string& element) {
  return std::make_unique<KsFBDesc>("GAEB" + element, element);
}

std::unique_ptr<KsFBDesc> BuildGaeb() {
  auto d = NewElement("GAEB");
  d->AddField(kReq, "GAEBINFO", "", "", ftUnknown);
  d->AddField(kOpt, "PRJINFO", "", "", ftUnknown);
  d->AddField(kOpt, "VERGABE", "", "", ftUnknown);
  d->AddField(kOpt, "LVKATALOG", "", "", ftUnknown);
  d->AddField(kOpt, "ZUSTEXT", "", "", ftCursor);
  return d;
}

std::unique_ptr<KsFBDesc> BuildGaebInfo() {
  auto d = NewElement("GAEBINFO");
  d->AddField(kReq, "VERSION", "", "Version des GAEB 2000 DA: ", ftString, 5);
  d->AddField(kReq, "VERSMON", "", "Monat: ", ftInteger);
  d->AddField(kReq, "VERSJAHR", "", "Jahr: ", ftInteger);
  d->AddField(kReq, "DATUM", "", "Datum: ", ftDate);
  d->AddField(kOpt, "UHRZEIT", "", "Uhrzeit: ", ftTime);
  d->AddField(kOpt, "PROGSYSTEM", "", "ProgSystem: ", ftString, 60);
  d->AddField(kOpt, "PROGNAME", "", "ProgName: ", ftString, 60);
  d->AddField(kOpt, "ZERTIFIKAT", "", "Zertifikat: ", ftString, 1);
  d->AddField(kReq, "ZEICHENSATZ", "", "Zeichensatz: ", ftString, 10);
  return d;
}

std::unique_ptr<KsFBDesc> BuildPrjInfo() {
  auto d = NewElement("PRJINFO");
  d->AddField(kReq, "NAME", "", "", ftString, 8);
  d->AddField(kOpt, "BEZ", "", "", ftString, 60);
  d->AddField(kOpt, "BESCHREIB", "", "", ftString);
  d->AddField(kOpt, "WAE", "", "", ftString, 4);
  d->AddField(kOpt, "WAEBEZ", "", "", ftString, 50);
  d->AddField(kOpt, "KOMMUNIKATION", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "ZUSTEXT", "", "", ftCursor);
  return d;
}

std::unique_ptr<KsFBDesc> BuildZusText() {
  auto d = NewElement("ZUSTEXT");
  d->AddField(kReq, "TEXT", "", "", ftString);
  d->AddField(kOpt, "EXTDAT", "", "", ftString, 0, kMulti);
  return d;
}

std::unique_ptr<KsFBDesc> BuildLvKatalog() {
  auto d = NewElement("LVKATALOG");
  d->AddField(kReq, "DP", "", "", ftInteger);
  d->AddField(kOpt, "LVKATINFO", "", "", ftUnknown);
  d->AddField(kOpt, "ZUSTEXT", "", "", ftCursor);
  d->AddField(kReq, "LV", "", "", ftUnknown);
  return d;
}

std::unique_ptr<KsFBDesc> BuildLvKatInfo() {
  auto d = NewElement("LVKATINFO");
  d->AddField(kOpt, "NAME", "", "", ftString, 40);
  d->AddField(kOpt, "INHALT", "", "", ftString);
  d->AddField(kOpt, "WAE", "", "", ftString, 4);
  d->AddField(kOpt, "WAEBEZ", "", "", ftString, 50);
  d->AddField(kOpt, "LVKATDATUM", "", "", ftDate);
  return d;
}

std::unique_ptr<KsFBDesc> BuildVergabe() {
  auto d = NewElement("VERGABE");
  d->AddField(kReq, "DP", "", "", ftInteger);
  d->AddField(kOpt, "VERGABEINFO", "", "", ftUnknown);
  d->AddField(kOpt, "AG", "", "", ftUnknown);
  d->AddField(kOpt, "BEDARFSTRAEGER", "", "", ftCursor);
  d->AddField(kOpt, "AN", "", "", ftUnknown);
  d->AddField(kOpt, "AUSFORT", "", "", ftCursor);
  d->AddField(kOpt, "BENACHORT", "", "", ftCursor);
  d->AddField(kOpt, "ZUSTEXT", "", "", ftCursor);
  d->AddField(kReq, "LV", "", "", ftUnknown);
  return d;
}

std::unique_ptr<KsFBDesc> BuildVergabeInfo() {
  auto d = NewElement("VERGABEINFO");
  d->AddField(kOpt, "ART", "", "", ftInteger);
  d->AddField(kOpt, "SONDERART", "", "", ftString, 2);
  d->AddField(kOpt, "WAE", "", "", ftString, 4);
  d->AddField(kOpt, "WAEBEZ", "", "", ftString, 50);
  d->AddField(kOpt, "ANGEBDATUM", "", "", ftDate);
  d->AddField(kOpt, "ERDATUM", "", "", ftDate);
  d->AddField(kOpt, "ERUHRZEIT", "", "", ftString);
  d->AddField(kOpt, "ZUSENDE", "", "", ftDate);
  d->AddField(kOpt, "ABGABEORT", "", "", ftString, 60);
  d->AddField(kOpt, "AUSFBEGINN", "", "", ftDate);
  d->AddField(kOpt, "AUSFENDE", "", "", ftDate);
  d->AddField(kOpt, "AUFTRNR", "", "", ftString, 20);
  d->AddField(kOpt, "AUFTRDATUM", "", "", ftDate);
  d->AddField(kOpt, "ABNAHMEART", "", "", ftString, 60);
  d->AddField(kOpt, "ABNAHMEDATUM", "", "", ftDate);
  d->AddField(kOpt, "GWLDAUER", "", "", ftInteger);
  d->AddField(kOpt, "GWLEINHEIT", "", "", ftString, 6);
  d->AddField(kOpt, "GWLENDE", "", "", ftDate);
  d->AddField(kOpt, "AUSFPROZ", "", "", ftFloat, 2);
  d->AddField(kOpt, "GWLPROZ", "", "", ftFloat, 2);
  d->AddField(kOpt, "NAINFO", "", "", ftCursor);
  d->AddField(kOpt, "InstHaltInfo", "", "", ftUnknown);
  d->AddField(kOpt, "RahmVertrInfo", "", "", ftUnknown);
  return d;
}

std::unique_ptr<KsFBDesc> BuildNaInfo() {
  auto d = NewElement("NAINFO");
  d->AddField(kReq, "NACHTRNR", "", "", ftInteger);
  d->AddField(kOpt, "NACHTRPHASE", "", "", ftString, 1);
  d->AddField(kOpt, "NACHTRSTATUS", "", "", ftString, 1);
  d->AddField(kOpt, "NAERSTELLER", "", "", ftString, 2);
  d->AddField(kOpt, "NAGRUND", "", "", ftString);
  d->AddField(kOpt, "BEZUGSLV", "", "", ftString, 60);
  d->AddField(kOpt, "NADATUM", "", "", ftDate);
  return d;
}

std::unique_ptr<KsFBDesc> BuildInstHaltInfo() {
  auto d = NewElement("INSTHALTINFO");
  d->AddField(kOpt, "INSTHALTART", "", "", ftString);
  d->AddField(kOpt, "BEHANDLART", "", "", ftString);
  d->AddField(kOpt, "AUFTRUEBDAT", "", "", ftDate);
  d->AddField(kOpt, "AUFTRUEBUHR", "", "", ftTime);
  d->AddField(kOpt, "AUFTRRECHT", "", "", ftInteger);
  d->AddField(kOpt, "TERMINIERUNG", "", "", ftString);
  return d;
}

std::unique_ptr<KsFBDesc> BuildRahmVertrInfo() {
  auto d = NewElement("RAHMVERTRINFO");
  d->AddField(kOpt, "AufAbGebot", "", "", ftString);
  d->AddField(kOpt, "RahmVertrBez", "", "", ftString);
  d->AddField(kOpt, "RahmVertrDat", "", "", ftDate);
  d->AddField(kOpt, "RahmVertrBeg", "", "", ftDate);
  d->AddField(kOpt, "RahmVertrDau", "", "", ftInteger);
  d->AddField(kOpt, "RahmVertrEnd", "", "", ftDate);
  d->AddField(kOpt, "RahmVertrVers", "", "", ftString);
  d->AddField(kOpt, "AuftrGesWert", "", "", ftCurrency, 2);
  d->AddField(kOpt, "AuftrMinWert", "", "", ftCurrency, 2);
  d->AddField(kOpt, "AuftrMinZuschl", "", "", ftCurrency, 2);
  d->AddField(kOpt, "AuftrMaxWert", "", "", ftCurrency, 2);
  d->AddField(kOpt, "AuftrWertSchl", "", "", ftString);
  return d;
}

std::unique_ptr<KsFBDesc> BuildAg() {
  auto d = NewElement("AG");
  d->AddField(kReq, "ADRESSE", "", "", ftUnknown);
  d->AddField(kOpt, "DVNR", "", "", ftString, 8);
  d->AddField(kOpt, "VERGNR", "", "", ftString, 15);
  d->AddField(kOpt, "DEBITORNR", "", "", ftString, 20);
  d->AddField(kOpt, "ARTSTAAT", "", "", ftString, 12);
  d->AddField(kOpt, "NAMESTAAT", "", "", ftString, 3);
  d->AddField(kOpt, "ZUSTEXT", "", "", ftCursor);
  return d;
}

std::unique_ptr<KsFBDesc> BuildAn() {
  auto d = NewElement("AN");
  d->AddField(kReq, "ADRESSE", "", "", ftUnknown);
  d->AddField(kOpt, "DVNR", "", "", ftString, 8);
  d->AddField(kOpt, "VERGNR", "", "", ftString, 15);
  d->AddField(kOpt, "KREDITORNR", "", "", ftString, 20);
  d->AddField(kOpt, "BIETERNR", "", "", ftString, 8);
  d->AddField(kOpt, "ARTSTAAT", "", "", ftString, 10);
  d->AddField(kOpt, "NAMESTAAT", "", "", ftString, 3);
  d->AddField(kOpt, "ARTBRANCHE", "", "", ftString, 40);
  d->AddField(kOpt, "ARTBEVBEW", "", "", ftInteger);
  d->AddField(kOpt, "ARTNU", "", "", ftInteger);
  d->AddField(kOpt, "ZUSTEXT", "", "", ftCursor);
  return d;
}

std::unique_ptr<KsFBDesc> BuildAdresse() {
  auto d = NewElement("ADRESSE");
  d->AddField(kReq, "NAME1", "", "", ftString, 40);
  d->AddField(kOpt, "NAME2", "", "", ftString, 40);
  d->AddField(kOpt, "NAME3", "", "", ftString, 40);
  d->AddField(kOpt, "NAME4", "", "", ftString, 40);
  d->AddField(kOpt, "STRASSE", "", "", ftString, 40);
  d->AddField(kReq, "PLZ", "", "", ftString, 20);
  d->AddField(kOpt, "ORT", "", "", ftString, 40);
  d->AddField(kOpt, "LANDBEZ", "", "", ftString, 40);
  d->AddField(kOpt, "ANSPRPARTNER", "", "", ftString, 40);
  d->AddField(kOpt, "TELEFON", "", "", ftString, 20);
  d->AddField(kOpt, "FAX", "", "", ftString, 20);
  d->AddField(kOpt, "EMAIL", "", "", ftString, 256);
  d->AddField(kOpt, "USTIDENT", "", "", ftString, 80);
  d->AddField(kOpt, "ILN", "", "", ftString, 20);
  return d;
}

std::unique_ptr<KsFBDesc> BuildBedarfstraeger() {
  auto d = NewElement("BEDARFSTRAEGER");
  d->AddField(kOpt, "Adresse", "", "", ftUnknown);
  d->AddField(kOpt, "BedarfTrIdNr", "", "", ftString);
  d->AddField(kOpt, "BedarfTrName", "", "", ftString);
  d->AddField(kOpt, "ZusText", "", "", ftString);
  return d;
}

std::unique_ptr<KsFBDesc> BuildAusfOrt() {
  auto d = NewElement("AUSFORT");
  d->AddField(kOpt, "Adresse", "", "", ftUnknown);
  d->AddField(kOpt, "AusfOrtIdNr", "", "", ftString);
  d->AddField(kOpt, "AusfOrtName", "", "", ftString);
  d->AddField(kOpt, "ZusText", "", "", ftString);
  return d;
}

std::unique_ptr<KsFBDesc> BuildBenachOrt() {
  auto d = NewElement("BENACHORT");
  d->AddField(kOpt, "Adresse", "", "", ftUnknown);
  d->AddField(kOpt, "AusfOrtIdNr", "", "", ftString);
  d->AddField(kOpt, "AusfOrtName", "", "", ftString);
  d->AddField(kOpt, "ZusText", "", "", ftString);
  return d;
}

std::unique_ptr<KsFBDesc> BuildLv() {
  auto d = NewElement("LV");
  d->AddField(kReq, "LVINFO", "", "", ftUnknown);
  d->AddField(kOpt, "HINWEIS", "", "", ftCursor);
  d->AddField(kOpt, "AUSFBESCHR", "", "", ftCursor);
  d->AddField(kOpt, "LVBEREICH", "", "", ftCursor);
  d->AddField(kOpt, "POSITION", "", "", ftCursor);
  d->AddField(kOpt, "ZUSCHLPOSITION", "", "", ftCursor);
  d->AddField(kOpt, "LOSGR", "", "", ftUnknown);
  return d;
}

std::unique_ptr<KsFBDesc> BuildLvInfo() {
  auto d = NewElement("LVINFO");
  d->AddField(kReq, "NAME", "", "", ftString, 8);
  d->AddField(kReq, "BEZ", "", "", ftString, 60);
  d->AddField(kOpt, "CPVSCHL", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "DATUM", "", "", ftDate);
  d->AddField(kReq, "KURZLANG", "", "", ftInteger);
  d->AddField(kReq, "LVGLIED", "", "", ftCursor);
  d->AddField(kOpt, "ANZEPANTEILE", "", "", ftInteger);
  d->AddField(kOpt, "BEZEPANTEIL1", "", "", ftString, 20);
  d->AddField(kOpt, "BEZEPANTEIL2", "", "", ftString, 20);
  d->AddField(kOpt, "BEZEPANTEIL3", "", "", ftString, 20);
  d->AddField(kOpt, "BEZEPANTEIL4", "", "", ftString, 20);
  d->AddField(kOpt, "BEZEPANTEIL5", "", "", ftString, 20);
  d->AddField(kOpt, "BEZEPANTEIL6", "", "", ftString, 20);
  d->AddField(kOpt, "BEZZEIT", "", "", ftString, 20);
  d->AddField(kOpt, "KATZUORD", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "SUMME", "", "", ftCurrency, 2);
  d->AddField(kOpt, "NACHLASSPROZ", "", "", ftFloat, 2);
  d->AddField(kOpt, "NACHLASSABS", "", "", ftCurrency, 2);
  d->AddField(kOpt, "SUMMENACHNL", "", "", ftCurrency, 2);
  d->AddField(kOpt, "SUMMEPSCH", "", "", ftCurrency, 2);
  d->AddField(kOpt, "UST", "", "", ftFloat)->Reserved1 = 2;
  d->AddField(kOpt, "SUMMEBRUTTO", "", "", ftCurrency, 2);
  d->AddField(kOpt, "PreisInfo", "", "", ftInteger);
  return d;
}

std::unique_ptr<KsFBDesc> BuildLvGlied() {
  auto d = NewElement("LVGLIED");
  d->AddField(kReq, "TYP", "", "", ftString, 8);
  d->AddField(kOpt, "BEZ", "", "", ftString, 40);
  d->AddField(kReq, "LAENGE", "", "", ftInteger);
  return d;
}

std::unique_ptr<KsFBDesc> BuildHinweis() {
  auto d = NewElement("HINWEIS");
  d->AddField(kReq, "BESCHREIBUNG", "", "", ftUnknown);
  return d;
}

std::unique_ptr<KsFBDesc> BuildAusfBeschr() {
  auto d = NewElement("AUSFBESCHR");
  d->AddField(kReq, "AUSFNR", "", "", ftInteger);
  d->AddField(kReq, "AUSFBEZ", "", "", ftString, 40);
  d->AddField(kReq, "BESCHREIBUNG", "", "", ftCursor, 0, kMulti);
  return d;
}

std::unique_ptr<KsFBDesc> BuildBeschreibung() {
  auto d = NewElement("BESCHREIBUNG");
  d->AddField(kOpt, "STLBBAU", "", "", ftUnknown);
  d->AddField(kOpt, "STLNR", "", "StLB/STLK : ", ftString);
  d->AddField(kOpt, "TLKNR", "", "Katalognr. (Mutter-LV) : ", ftString, 40);
  d->AddField(kOpt, "LANGTEXTTA", "",
              "(Lang) Texterg\xE4nzung des Ausschreibenden (J/N) : ", ftString, 1);
  d->AddField(kOpt, "LANGTEXTTB", "", "Texterg\xE4nzung des Bieters (J/N) : ", ftString, 1);
  d->AddField(kReq, "LANGTEXT", "", "", ftMemo);
  d->AddField(kOpt, "EXTDAT", "", "", ftInteger, 0, kMulti);
  d->AddField(kOpt, "KURZTEXTTA", "",
              "(Lang) Texterg\xE4nzung des Ausschreibenden (J/N) : ", ftString, 1);
  d->AddField(kOpt, "KURZTEXT", "", "", ftMemo);
  return d;
}

std::unique_ptr<KsFBDesc> BuildStlbBau() {
  auto d = NewElement("STLBBAU");
  d->AddField(kReq, "STLBBAUKAT", "", "", ftUnknown);
  d->AddField(kReq, "STLBBAUIDENT", "", "", ftString, 0, kMulti);
  return d;
}

std::unique_ptr<KsFBDesc> BuildLvBereich() {
  auto d = NewElement("LVBEREICH");
  d->AddField(kReq, "OZ", "", "OZ", ftString);
  d->AddField(kReq, "BEZ", "", "Kurztext", ftString);
  d->AddField(kOpt, "CPVSCHL", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "ZZVGRUPPENR", "", "ZZVGruppeNr", ftInteger);
  d->AddField(kOpt, "ZZVLFDNR", "", "ZZLfdNr", ftInteger);
  d->AddField(kOpt, "BEAUFTRAGT", "", "Beauftragt", ftString, 1);
  d->AddField(kOpt, "ENTF", "J = entf\xE4llt", "entf.", ftString, 1);
  d->AddField(kOpt, "KATZUORD", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "HINWEIS", "", "", ftCursor);
  d->AddField(kOpt, "AUSFBESCHR", "", "", ftCursor);
  d->AddField(kOpt, "LVBEREICH", "", "", ftCursor);
  d->AddField(kOpt, "POSITION", "", "", ftCursor);
  d->AddField(kOpt, "ZUSCHLPOSITION", "", "", ftCursor);
  d->AddField(kOpt, "SUMME", "", "Summe", ftCurrency, 2);
  d->AddField(kOpt, "NACHLASSPROZ", "", "NL %", ftFloat, 2);
  d->AddField(kOpt, "NACHLASSABS", "", "NL abs", ftCurrency, 2);
  d->AddField(kOpt, "SUMMENACHNL", "", "Summe n NL", ftCurrency, 2);
  d->AddField(kOpt, "SUMMEPSCH", "", "Summe psch", ftCurrency, 2);
  d->AddField(kOpt, "UST", "Umsatzsteuersatz in % (nur bei Los)", "USt in %", ftFloat, 2);
  d->AddField(kOpt, "SUMMEBRUTTO", "(nur bei Los)", "Summe brutto", ftCurrency, 2);
  return d;
}

std::unique_ptr<KsFBDesc> BuildPosition() {
  auto d = NewElement("POSITION");
  d->AddField(kReq, "OZ", "", "OZ", ftString);
  d->AddField(kOpt, "ZZGRUPPENR", "", "Gruppennr.", ftInteger);
  d->AddField(kOpt, "ZZLFDNR", "", "lfd. Nr", ftInteger);
  d->AddField(kOpt, "BEAUFTRAGT", "", "Beauftragt", ftString, 1);
  d->AddField(kOpt, "BEDARF", "", "Bedarf", ftString, 1);
  d->AddField(kOpt, "ENTF", "J = entf\xE4llt", "entf.", ftString, 1);
  d->AddField(kOpt, "STPOS", "J = Stundenlohnarbeiten", "Std.Lohnarbeiten", ftString, 1);
  d->AddField(kOpt, "SPOS", "J = Schwerpunktposition", "Schwerpunktp.", ftString, 1);
  d->AddField(kOpt, "EPAUFGL", "J = Aufforderung zur EP-Aufgliederung", "EP-Aufgliederung",
              ftString, 1);
  d->AddField(kOpt, "BEZUSCHL", "J = zu bezuschlagen", "bezuschl.", ftString, 1);
  d->AddField(kOpt, "NACHTRNR", "", "Nachtragsnr.", ftInteger);
  d->AddField(kOpt, "NACHTRSTATUS", "", "Nachtragsstatus", ftString, 1);
  d->AddField(kOpt, "BEZUGBESCHR", "Bezugs-/Wiederholungsbeschreibung", "B/W", ftString, 1);
  d->AddField(kOpt, "BEZUGOZ", "", "Bezug OZ", ftString);
  d->AddField(kOpt, "BEZUGAUSFNR", "", "Bezug Ausfbeschr.", ftInteger);
  d->AddField(kOpt, "FRMENGE", "J = freie Menge", "freie Menge", ftString, 1);
  d->AddField(kOpt, "MENGE", "", "Menge", ftFloat, 3);
  d->AddField(kOpt, "MENGENSPLIT", "", "", ftCursor);
  d->AddField(kOpt, "AUFMASS", "", "", ftCursor);
  d->AddField(kOpt, "VAMENGE", "voraussichtliche Menge", "VMenge", ftFloat, 3);
  d->AddField(kOpt, "REMENGE", "Rechnungsmenge (D88)", "ReMenge", ftFloat, 3);
  d->AddField(kOpt, "ME", "Mengeneinheit", "EH", ftString, 4);
  d->AddField(kOpt, "KATZUORD", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "EP", "Einheitspreis", "EP", ftCurrency, 3);
  d->AddField(kOpt, "EP110", "Einheitspreis bei Mengen > 110 %", "EP 110", ftCurrency, 3);
  d->AddField(kOpt, "EPANTEIL1", "1. Einheitspreisanteil", "EP 1", ftCurrency, 3);
  d->AddField(kOpt, "EPANTEIL2", "2. Einheitspreisanteil", "EP 2", ftCurrency, 3);
  d->AddField(kOpt, "EPANTEIL3", "3. Einheitspreisanteil", "EP 3", ftCurrency, 3);
  d->AddField(kOpt, "EPANTEIL4", "4. Einheitspreisanteil", "EP 4", ftCurrency, 3);
  d->AddField(kOpt, "EPANTEIL5", "5. Einheitspreisanteil", "EP 5", ftCurrency, 3);
  d->AddField(kOpt, "EPANTEIL6", "6. Einheitspreisanteil", "EP 6", ftCurrency, 3);
  d->AddField(kOpt, "NACHLASSPROZ", "proz. Nachlass", "NL %", ftFloat, 2);
  d->AddField(kOpt, "EPVON", "", "EP Von", ftCurrency, 2);
  d->AddField(kOpt, "EPMITTEL", "", "EP Mittel", ftCurrency, 2);
  d->AddField(kOpt, "EPBIS", "", "EP Bis", ftCurrency, 2);
  d->AddField(kOpt, "EPLOHNVON", "", "EP Lohn Von", ftCurrency, 2);
  d->AddField(kOpt, "EPLOHNMITTEL", "", "EP Lohn Mittel", ftCurrency, 2);
  d->AddField(kOpt, "EPLOHNBIS", "", "EP Lohn Bis", ftCurrency, 2);
  d->AddField(kOpt, "GB", "Gesamtbetrag", "GB", ftCurrency, 2);
  d->AddField(kOpt, "ZEIT", "Zeitansatz in Zeiteinheiten", "Zeit", ftFloat, 2);
  d->AddField(kOpt, "BESCHREIBUNG", "", "", ftUnknown);
  d->AddField(kOpt, "LEITBESCHR", "J = Leitbeschreibung", "Leitbeschr.", ftString, 1);
  d->AddField(kOpt, "UNTERBESCHR", "", "", ftCursor);
  return d;
}

std::unique_ptr<KsFBDesc> BuildZuschlPosition() {
  auto d = NewElement("ZUSCHLPOSITION");
  d->AddField(kOpt, "OZ", "", "", ftString);
  d->AddField(kOpt, "ZZGRUPPENR", "", "", ftInteger);
  d->AddField(kOpt, "ZZLFDNR", "", "", ftInteger);
  d->AddField(kOpt, "BEAUFTRAGT", "", "", ftString, 1);
  d->AddField(kOpt, "BEDARF", "", "", ftString, 1);
  d->AddField(kOpt, "ENTF", "", "", ftString, 1);
  d->AddField(kOpt, "STPOS", "", "", ftString, 1);
  d->AddField(kOpt, "SPOS", "", "", ftString, 1);
  d->AddField(kOpt, "NACHTRNR", "", "", ftInteger);
  d->AddField(kOpt, "NACHTRSTATUS", "", "", ftString, 1);
  d->AddField(kOpt, "BEZUGOZ", "", "", ftString);
  d->AddField(kOpt, "BEZUGAUSFNR", "", "", ftInteger);
  d->AddField(kOpt, "ZUSCHLART", "", "", ftString, 1);
  d->AddField(kOpt, "ZUSCHLTMENGE", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "GBZUSCHL", "", "", ftCurrency);
  d->AddField(kOpt, "ZUSCHLAG", "", "", ftFloat);
  d->AddField(kOpt, "GB", "", "", ftCurrency);
  d->AddField(kOpt, "BESCHREIBUNG", "", "", ftUnknown);
  d->AddField(kOpt, "KATZUORD", "", "", ftString, 0, kMulti);
  return d;
}

std::unique_ptr<KsFBDesc> BuildUnterBeschr() {
  auto d = NewElement("UNTERBESCHR");
  d->AddField(kReq, "UBNR", "", "", ftInteger);
  d->AddField(kReq, "BESCHREIBUNG", "", "", ftUnknown);
  d->AddField(kOpt, "MEANG", "", "", ftString, 1);
  d->AddField(kOpt, "FRMENGE", "", "", ftString, 1);
  d->AddField(kOpt, "MENGE", "", "", ftInteger);
  d->AddField(kOpt, "ME", "", "", ftString, 4);
  return d;
}

std::unique_ptr<KsFBDesc> BuildMengenSplit() {
  auto d = NewElement("MENGENSPLIT");
  d->AddField(kOpt, "MENGEPROZ", "", "", ftFloat);
  d->AddField(kOpt, "MENGE", "", "", ftCurrency);
  d->AddField(kOpt, "KATZUORD", "", "", ftString, 0, kMulti);
  return d;
}

std::unique_ptr<KsFBDesc> BuildAufmass() {
  auto d = NewElement("AUFMASS");
  d->AddField(kOpt, "KURZAUF", "", "", ftString);
  d->AddField(kOpt, "FNR", "", "", ftString);
  d->AddField(kOpt, "KZ", "", "", ftString, 0, kMulti);
  d->AddField(kOpt, "FAKTOR", "", "", ftFloat);
  d->AddField(kOpt, "ANSATZ091", "", "", ftString);
  d->AddField(kOpt, "KATZUORD", "", "", ftString, 0, kMulti);
  return d;
}

constexpr std::array<GaebDescriptorBuilder, 30> kBuilders{{
    {"GAEBGAEB", BuildGaeb},
    {"GAEBGAEBINFO", BuildGaebInfo},
    {"GAEBPRJINFO", BuildPrjInfo},
    {"GAEBZUSTEXT", BuildZusText},
    {"GAEBLVKATALOG", BuildLvKatalog},
    {"GAEBLVKATINFO", BuildLvKatInfo},
    {"GAEBVERGABE", BuildVergabe},
    {"GAEBVERGABEINFO", BuildVergabeInfo},
    {"GAEBNAINFO", BuildNaInfo},
    {"GAEBINSTHALTINFO", BuildInstHaltInfo},
    {"GAEBRAHMVERTRINFO", BuildRahmVertrInfo},
    {"GAEBAG", BuildAg},
    {"GAEBAN", BuildAn},
    {"GAEBADRESSE", BuildAdresse},
    {"GAEBBEDARFSTRAEGER", BuildBedarfstraeger},
    {"GAEBAUSFORT", BuildAusfOrt},
    {"GAEBBENACHORT", BuildBenachOrt},
    {"GAEBLV", BuildLv},
    {"GAEBLVINFO", BuildLvInfo},
    {"GAEBLVGLIED", BuildLvGlied},
    {"GAEBHINWEIS", BuildHinweis},
    {"GAEBAUSFBESCHR", BuildAusfBeschr},
    {"GAEBBESCHREIBUNG", BuildBeschreibung},
    {"GAEBSTLBBAU", BuildStlbBau},
    {"GAEBLVBEREICH", BuildLvBereich},
    {"GAEBPOSITION", BuildPosition},
    {"GAEBZUSCHLPOSITION", BuildZuschlPosition},
    {"GAEBUNTERBESCHR", BuildUnterBeschr},
    {"GAEBMENGENSPLIT", BuildMengenSplit},
    {"GAEBAUFMASS", BuildAufmass},
}};

}  // namespace

std::span<const GaebDescriptorBuilder> GaebDescriptorBuilders() { return kBuilders; }

void RegisterGaebDescriptors() {
  const std::vector<std::string> known = RegisteredDescriptorNames();
  for (const auto& entry : kBuilders) {
    if (!std::binary_search(known.begin(), known.end(), std::string(entry.TableName))) {
      RegisterDescriptor(entry.TableName, entry.Build);
    }
  }
}

void AddPositionDisplayFields() {
  RegisterGaebDescriptors();
  KsFBDesc& position = *FindDescriptor("GAEBPOSITION");
  if (!position.FindField("BEZ")) {
    position.AddField(kOpt, "BEZ", "", "Kurztext", ftString);
    position.MoveField(static_cast<int>(position.Fields.size()) - 1, 2);
  }
  if (!position.FindField("_TARVO_POSTYP")) {
    position.AddField(kOpt, "_TARVO_POSTYP", "Positionstyp: N,B,A,AB", "Typ", ftString, 3);
    position.MoveField(static_cast<int>(position.Fields.size()) - 1, 1);
  }
}
