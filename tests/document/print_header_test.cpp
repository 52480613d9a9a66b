#include <gtest/gtest.h>

#include <regex>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"

namespace {

const std::string kIndent(15, ' ');

std::string TenderWithAward(const std::string& awardInfo, const std::string& client) {
  return Block("GAEB", Block("PRJINFO", Field("NAME", "P-17") + Field("BEZ", "Neubau Kita")) +
                           Block("VERGABE", Block("VERGABEINFO", awardInfo) + Block("AG", client) +
                                                Block("LV", LvInfoBlock("19"))));
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

TEST_F(PrintHeaderTest, LinesFollowTheAwardAndClientData) {
  const struct {
    const char* name;
    std::string awardInfo;
    std::string client;
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
       {"W\xE4hrung: EUR  Euro", "Angebot vom: 01.06.2026",
        "Er\xF6"
        "ffnung am: 12.05.2026 10:00",
        "Ende der Zuschlagsfrist: 12.06.2026    Ort der Abgabe: Ulm",
        "Ausf\xFChrung vom 24.08.2026  bis  20.04.2027", "Abnahme am: 30.04.2027",
        "Gew\xE4hrleistungsdauer: 5  Jahre bis 30.04.2032", "",
        "Auftraggeber:  Stadt Ulm Hochbauamt\r\nAbteilung 2 Vergabe",
        AddressBlock({"Marktplatz 1", "89073 Ulm", "Deutschland", "Frau Maier", "0731 1610",
                      "0731 1611", "vergabe@ulm.de"}),
        "DV Nummer: 1234", "Vergabenummer: V-2026-17", "Umsatzsteuer-Identnummer : DE123456789",
        "Staat: D     EU"}},
      {"only the second half of paired data",
       Field("WAE", "EUR") + Field("ABGABEORT", "Ulm") + Field("AUSFENDE", "20.04.2027") +
           Field("GWLDAUER", "0") + Field("GWLEINHEIT", "Jahre") + Field("GWLENDE", "30.04.2032"),
       Block("ADRESSE", Field("NAME1", "Stadt Ulm") + Field("NAME2", "  ")) +
           Field("NAMESTAAT", "D"),
       {"W\xE4hrung: EUR  ", "Ort der Abgabe: Ulm", "  bis  20.04.2027", " bis 30.04.2032", "",
        "Auftraggeber:  Stadt Ulm", AddressBlock({"", " ", "", "", "", "", ""}), "Staat: D     "}},
      {"nothing given",
       "",
       "",
       {"W\xE4hrung:   ", "", "", "", "",
        "Auftraggeber:  ", AddressBlock({"", " ", "", "", "", "", ""})}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir_.Write("kita.d83", TenderWithAward(c.awardInfo, c.client));
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
