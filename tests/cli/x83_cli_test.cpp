#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

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
