#include <gtest/gtest.h>

#include <ctime>
#include <regex>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"

namespace {

const std::string kIndent(15, ' ');

std::string TenderWithAward(const std::string& awardInfo, const std::string& client,
                            const std::string& bidder) {
  return Block("GAEB",
               Block("PRJINFO", Field("NAME", "P-17") + Field("BEZ", "Neubau Kita")) +
                   Block("VERGABE", Block("VERGABEINFO", awardInfo) + Block("AG", client) +
                                        Block("AN", bidder) + Block("LV", LvInfoBlock("19"))));
}

// The day of printing, as the German short date format writes it.
std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  std::strftime(date, sizeof date, "%d.%m.%Y", &local);
  return date;
}

// The address block: seven lines, each indented and ended by CR LF.
std::string AddressBlock(const std::vector<std::string>& lines) {
  std::string block;
  for (const std::string& line : lines) block += kIndent + line + "\r\n";
  return block;
}

using PrintHeaderTest = DocumentTest;

TEST_F(PrintHeaderTest, NothingLoadedNothingToPrint) {
  const std::string message =
      "Es sind keine Daten zum Drucken vorhanden. Bitte \xF6"
      "ffnen Sie zun\xE4"
      "chst eine "
      "GAEB-Datei.";
  EXPECT_EQ(doc_.BuildPrintHeader(), nullptr);
  EXPECT_EQ(doc_.LastError, message);
  EXPECT_FALSE(doc_.Import(dir_.Write("leer.d83", "")));
  EXPECT_EQ(doc_.BuildPrintHeader(), nullptr);
  EXPECT_EQ(doc_.LastError, message);
}

TEST_F(PrintHeaderTest, LinesFollowTheAwardClientAndBidderData) {
  const struct {
    const char* name;
    std::string awardInfo;
    std::string client;
    std::string bidder;
    std::vector<std::string> expected;  // from the currency line on
  } cases[] = {
      {"everything given",
       Field("WAE", "EUR") + Field("WAEBEZ", "Euro") + Field("ANGEBDATUM", "01.06.2026") +
           Field("ERDATUM", "12.05.2026") + Field("ERUHRZEIT", "10:00") +
           Field("ZUSENDE", "12.06.2026") + Field("ABGABEORT", "Ulm") +
           Field("AUSFBEGINN", "24.08.2026") + Field("AUSFENDE", "20.04.2027") +
           Field("ABNAHMEDATUM", "30.04.2027") + Field("GWLDAUER", "5") +
           Field("GWLEINHEIT", "Jahre") + Field("GWLENDE", "30.04.2032"),
       Block("ADRESSE", Field("NAME1", "Stadt Ulm") + Field("NAME2", "Hochbauamt") +
                            Field("NAME3", "Abteilung 2") + Field("NAME4", "Vergabe") +
                            Field("STRASSE", "Marktplatz 1") + Field("PLZ", "89073") +
                            Field("ORT", "Ulm") + Field("LANDBEZ", "Deutschland") +
                            Field("ANSPRPARTNER", "Frau Maier") + Field("TELEFON", "0731 1610") +
                            Field("FAX", "0731 1611") + Field("EMAIL", "vergabe@ulm.de") +
                            Field("USTIDENT", "DE123456789")) +
           Field("DVNR", "1234") + Field("VERGNR", "V-2026-17") + Field("ARTSTAAT", "EU") +
           Field("NAMESTAAT", "D"),
       Block("ADRESSE", Field("NAME1", "Bau GmbH") + Field("NAME2", "Niederlassung Ost") +
                            Field("NAME3", "Abteilung Angebote") + Field("STRASSE", "Werkstr. 5") +
                            Field("PLZ", "89077") + Field("ORT", "Ulm") +
                            Field("TELEFON", "0731 5550") + Field("FAX", "0731 5551") +
                            Field("EMAIL", "angebot@bau.de")) +
           Field("DVNR", "77"),
       {"W\xE4hrung: EUR  Euro",
        "Angebot vom: 01.06.2026",
        "Er\xF6"
        "ffnung am: 12.05.2026 10:00",
        "Ende der Zuschlagsfrist: 12.06.2026    Ort der Abgabe: Ulm",
        "Ausf\xFChrung vom 24.08.2026  bis  20.04.2027",
        "Abnahme am: 30.04.2027",
        "Gew\xE4hrleistungsdauer: 5  Jahre bis 30.04.2032",
        "",
        "Auftraggeber:  Stadt Ulm Hochbauamt\r\nAbteilung 2 Vergabe",
        AddressBlock({"Marktplatz 1", "89073 Ulm", "Deutschland", "Frau Maier", "0731 1610",
                      "0731 1611", "vergabe@ulm.de"}),
        "DV Nummer: 1234",
        "Vergabenummer: V-2026-17",
        "Umsatzsteuer-Identnummer : DE123456789",
        "Staat: D     EU",
        "",
        "Auftragnehmer: Bau GmbH Niederlassung Ost",
        kIndent + "Abteilung Angebote",
        kIndent + "Werkstr. 5",
        kIndent + "89077 Ulm",
        kIndent + "Telefon: 0731 5550",
        kIndent + "E-Mail: angebot@bau.de"}},
      {"only the second half of paired data",
       Field("WAE", "EUR") + Field("ABGABEORT", "Ulm") + Field("AUSFENDE", "20.04.2027") +
           Field("GWLDAUER", "0") + Field("GWLEINHEIT", "Jahre") + Field("GWLENDE", "30.04.2032"),
       Block("ADRESSE", Field("NAME1", "Stadt Ulm") + Field("NAME2", "  ")) +
           Field("NAMESTAAT", "D"),
       Block("ADRESSE", Field("NAME2", "Bau GmbH") + Field("NAME4", "Ulm") + Field("ORT", "Ulm")),
       {"W\xE4hrung: EUR  ", "Angebot vom: " + Today(), "Ort der Abgabe: Ulm", "  bis  20.04.2027",
        " bis 30.04.2032", "", "Auftraggeber:  Stadt Ulm",
        AddressBlock({"", " ", "", "", "", "", ""}), "Staat: D     ", "", "Auftragnehmer: Bau GmbH",
        kIndent + "Ulm", kIndent + "Ulm"}},
      {"nothing given",
       "",
       "",
       "",
       {"W\xE4hrung:   ", "Angebot vom: " + Today(), "", "", "", "",
        "Auftraggeber:  ", AddressBlock({"", " ", "", "", "", "", ""}), "", "Auftragnehmer: "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file =
        dir_.Write("kita.d83", TenderWithAward(c.awardInfo, c.client, c.bidder));
    ASSERT_TRUE(doc_.Import(file)) << doc_.LastError;
    const auto head = doc_.BuildPrintHeader();
    ASSERT_NE(head, nullptr);
    ASSERT_GT(head->size(), 5u);
    EXPECT_TRUE(std::regex_match(
        (*head)[0],
        std::regex(std::regex_replace(file, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                   R"(     \d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)")))
        << (*head)[0];
    EXPECT_EQ(
        std::vector<std::string>(head->begin() + 1, head->begin() + 5),
        (std::vector<std::string>{"", "Projekt: P-17 Neubau Kita", "LV     : 01 Rohbau", ""}));
    EXPECT_EQ(std::vector<std::string>(head->begin() + 5, head->end()), c.expected);
  }
}

}  // namespace
