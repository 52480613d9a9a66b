#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "bench/x83_tender_writer.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/cli/cli_runner.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/format_guard.h"

namespace {

using json = nlohmann::ordered_json;

json Info(const CliRunner& cli, const std::string& file) {
  const CliResult r = cli.Run({"info", "--json", file});
  EXPECT_EQ(r.status, 0) << r.err;
  if (r.status != 0) return json();
  json info = json::parse(r.out);
  info.erase("file");
  return info;
}

std::vector<std::string> RealTenders() {
  std::vector<std::string> files;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(TARVO_TEST_DATA_DIR) + "/real"))
    files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Prices every position (components where the client asks for them) with
// figures of all three decimals.
void PriceAll(KsLyxObj& doc) {
  int n = 0;
  for (KsGAEBObj* position : Flatten(*doc.Lv).Positions) {
    ++n;
    const std::string price = std::to_string(n * 7919 % 90000 / 1000) + "," +
                              std::to_string(1000 + n * 7919 % 1000).substr(1);
    SetPositionValue(*position, price, HasPriceBreakdown(*position) ? "EPANTEIL1" : "EP");
  }
}

// One real tender in both formats: the priced GAEB 2000 offer and an X83
// written from the same tree show the same tender, prices and totals.
class BothFormats : public ::testing::TestWithParam<std::string> {};

TEST_P(BothFormats, SameTenderSameTotals) {
  PrepareGaeb();
  const FormatGuard format(GermanFormatSettings());
  CliRunner cli;
  KsLyxObj doc;
  ASSERT_TRUE(doc.Import(GetParam())) << doc.LastError;
  PriceAll(doc);
  ASSERT_TRUE(doc.ExportD84(cli.Path("offer.D84"))) << doc.LastError;
  WriteX83File(cli.Path("offer.X83"), *doc.GaebRoot);

  const json d84 = Info(cli, cli.Path("offer.D84")), x83 = Info(cli, cli.Path("offer.X83"));
  ASSERT_FALSE(d84.is_null());
  EXPECT_GT(d84["lv"]["summe"].get<double>(), 0);
  EXPECT_EQ(x83["lv"], d84["lv"]);
  EXPECT_EQ(x83["ep_breakdown"], d84["ep_breakdown"]);
  ASSERT_EQ(x83["areas"].size(), d84["areas"].size());
  for (size_t i = 0; i < d84["areas"].size(); ++i) EXPECT_EQ(x83["areas"][i], d84["areas"][i]);
  ASSERT_EQ(x83["positions"].size(), d84["positions"].size());
  for (size_t i = 0; i < d84["positions"].size(); ++i)
    EXPECT_EQ(x83["positions"][i], d84["positions"][i]);
}

INSTANTIATE_TEST_SUITE_P(Real, BothFormats, ::testing::ValuesIn(RealTenders()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = std::filesystem::path(info.param).stem().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// Every command reads X83, from a file or standard input; export and price
// answer with X84 and never write over the tender.
TEST(X83Commands, EveryCommandTakesAnXmlTender) {
  CliRunner cli;
  const std::string tender = cli.Write("LV.X83", ReadFile(kOfficialX83));

  const CliResult info = cli.RunWith({"info", "-"}, tender, "");
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("Positionen:   27"), std::string::npos) << info.out;

  const std::string prices = cli.Write("preise.txt", "0010020030;0,01\nLV;UST;19\n");
  const CliResult price = cli.Run({"price", tender, prices, cli.Path("LV.X84")});
  EXPECT_EQ(price.status, 0) << price.err;
  EXPECT_EQ(price.err.find("Mehrwertsteuersatz"), std::string::npos) << price.err;  // given
  const std::string x84 = ReadFile(cli.Path("LV.X84"));
  EXPECT_NE(x84.find("<IT>123456.78</IT>"), std::string::npos);
  EXPECT_NE(x84.find("<TotalGross>146913.57</TotalGross>"), std::string::npos);

  const CliResult print = cli.Run({"print", tender, cli.Path("druck.txt")});
  EXPECT_EQ(print.status, 0) << print.err;
  EXPECT_NE(ReadFile(cli.Path("druck.txt")).find("Baustelleneinrichtung"), std::string::npos);

  const CliResult over = cli.Run({"export", tender, tender});
  EXPECT_EQ(over.status, 1);
  EXPECT_NE(over.err.find("gelesene Ausschreibung"), std::string::npos) << over.err;
  EXPECT_EQ(ReadFile(tender), ReadFile(kOfficialX83));
}

const std::string kXmlData = std::string(TARVO_TEST_DATA_DIR) + "/xml/";

// Characters XML 1.0 cannot carry, as the X84 written from them is XML.
bool CarriesOnlyXmlCharacters(const std::string& bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') return false;
  }
  return true;
}

// Bell, "clear the screen" and colours in the texts of a tender: the offer
// is well-formed XML, the print shows no escape sequence, the import says
// what it replaced.
TEST(X83Commands, ControlCharactersReachNeitherTheOfferNorTheTerminal) {
  CliRunner cli;
  const std::string tender = kXmlData + "control_characters.X83";
  const std::string warning =
      "Warnung: 6 Steuerzeichen der Datei sind in XML nicht erlaubt; sie wurden durch \"?\" "
      "ersetzt.\n";

  const CliResult exported = cli.Run({"export", tender, cli.Path("LV.X84")});
  ASSERT_EQ(exported.status, 0) << exported.err;
  // What the offer still lacks follows the import's warning.
  EXPECT_EQ(exported.err.substr(0, warning.size()), warning);
  const std::string x84 = ReadFile(cli.Path("LV.X84"));
  EXPECT_TRUE(CarriesOnlyXmlCharacters(x84));
  pugi::xml_document parsed;
  ASSERT_TRUE(parsed.load_string(x84.c_str()));
  EXPECT_STREQ(parsed.document_element().child("PrjInfo").child_value("NamePrj"), "Glocke??");

  for (const std::string& target : {std::string("-"), cli.Path("druck.txt")}) {
    SCOPED_TRACE(target);
    const CliResult print = cli.Run({"print", "--long-texts", tender, target});
    ASSERT_EQ(print.status, 0) << print.err;
    EXPECT_EQ(print.err, warning);
    const std::string text = target == "-" ? print.out : ReadFile(target);
    EXPECT_EQ(text.find_first_of("\x07\x1b"), std::string::npos);
    EXPECT_NE(text.find("Kurz?[31mrot?[0m"), std::string::npos) << text;
    EXPECT_NE(text.find("Lang? Ton"), std::string::npos) << text;
  }
}

// What the namespace of a tender names decides whether it is read and in
// which namespace and version it is answered.
TEST(X83Commands, TheNamespaceDecidesWhatIsReadAndHowItIsAnswered) {
  struct Case {
    const char* file;
    const char* err;     // stderr, "" for none
    const char* answer;  // namespace of the X84, "" when refused
    const char* version;
  };
  const Case cases[] = {
      {"DA86_3.3.X83",
       "Der Namensraum \"http://www.gaeb.de/GAEB_DA_XML/DA86/3.3\" der Datei nennt die "
       "Austauschphase 86 (Auftragserteilung); eingelesen werden nur Angebotsaufforderungen "
       "(Austauschphase 83, X83) und Angebote (Austauschphase 84, X84).\n",
       "", ""},
      {"DA84.X83",
       "Die Datei ist eine GAEB DA XML-Datei im Namensraum "
       "\"http://www.gaeb.de/GAEB_DA_XML/DA84\", den keine der gelesenen Versionen 3.0 bis "
       "3.3 hat.\n",
       "", ""},
      {"DA31_3.3.X83",
       "Der Namensraum \"http://www.gaeb.de/GAEB_DA_XML/DA31/3.3\" der Datei nennt die "
       "Austauschphase 31 (Mengenermittlung); eingelesen werden nur Angebotsaufforderungen "
       "(Austauschphase 83, X83) und Angebote (Austauschphase 84, X84).\n",
       "", ""},
      {"DA83_200407.X83",
       "Die Datei ist eine GAEB DA XML-Datei im Namensraum "
       "\"http://www.gaeb.de/GAEB_DA_XML/DA83/200407\", den keine der gelesenen Versionen 3.0 bis "
       "3.3 hat.\n",
       "", ""},
      {"da83_lowercase.X83",
       "Die Datei ist eine XML-Datei, aber keine GAEB DA XML-Datei (Wurzelelement \"GAEB\", "
       "Namensraum \"http://www.gaeb.de/GAEB_DA_XML/da83/3.3\").\n",
       "", ""},
      {"DA83_3.2.X83", "", "http://www.gaeb.de/GAEB_DA_XML/DA84/3.2", "3.2"},
      {"version_3.1_in_DA83_3.3.X83",
       "Warnung: Die Datei nennt im Element Version \"3.1\", ihr Namensraum aber die Version "
       "3.3; sie wird als Version 3.3 gelesen und beantwortet.\n",
       "http://www.gaeb.de/GAEB_DA_XML/DA84/3.3", "3.3"},
      {"version_3.3_in_200407.X83",
       "Warnung: Die Datei nennt im Element Version \"3.3\", ihr Namensraum aber die Version "
       "3.0; sie wird als Version 3.0 gelesen und beantwortet.\n",
       "http://www.gaeb.de/GAEB_DA_XML/200407", "3.0"},
  };
  CliRunner cli;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string target = cli.Path(std::string(c.file) + ".X84");
    const CliResult r = cli.Run({"export", kXmlData + "namespaces/" + c.file, target});
    const std::string expected = c.err;
    EXPECT_EQ(r.err.substr(0, expected.size()), expected);
    if (!*c.answer) {
      EXPECT_EQ(r.err, expected);
      EXPECT_EQ(r.status, 1);
      EXPECT_FALSE(std::filesystem::exists(target));
      continue;
    }
    ASSERT_EQ(r.status, 0);
    pugi::xml_document x84;
    ASSERT_TRUE(x84.load_file(target.c_str()));
    EXPECT_STREQ(x84.document_element().attribute("xmlns").value(), c.answer);
    EXPECT_STREQ(x84.document_element().child("GAEBInfo").child_value("Version"), c.version);
  }
}

// The official X83 gives no VAT rate: the offer goes out at the default
// 19 %, and the command says so.
TEST(X83Commands, ATenderWithoutVatRateIsAnsweredAtTheDefault) {
  CliRunner cli;
  const std::string tender = cli.Write("LV.X83", ReadFile(kOfficialX83));
  const CliResult r = cli.Run({"export", tender, cli.Path("LV.X84")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("Warnung: Die Ausschreibung nennt keinen Mehrwertsteuersatz; der "
                       "Standardsatz von 19,00 % ist \u00fcbernommen und nicht best\u00e4tigt.\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(ReadFile(cli.Path("LV.X84")).find("<VAT>19"), std::string::npos);
}

TEST(X83Commands, RefusedXmlWritesNothing) {
  CliRunner cli;
  const std::string other = cli.Write("fremd.X83", "<?xml version=\"1.0\"?><rss version=\"2.0\"/>");
  const CliResult r = cli.Run({"export", other, cli.Path("fremd.X84")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("keine GAEB DA XML-Datei"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(cli.Path("fremd.X84")));
}

}  // namespace
