#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/cli/cli_runner.h"

namespace {

using json = nlohmann::ordered_json;

const std::string kData = TARVO_TEST_DATA_DIR;

json Info(const CliRunner& cli, const std::string& file) {
  const CliResult r = cli.Run({"info", "--json", file});
  EXPECT_EQ(r.status, 0) << r.err;
  if (r.status != 0) return json();
  json info = json::parse(r.out);
  info.erase("file");
  return info;
}

class Gaeb90Cli : public ::testing::TestWithParam<const char*> {
 protected:
  CliRunner cli_;
};

// Priced from a price list, saved as a GAEB 90 D84, read back (with its tender
// beside it) with the same values and written again byte for byte.
TEST_P(Gaeb90Cli, PriceExportAndReadBack) {
  const std::string tender =
      cli_.Write("LV.D83", CliRunner::Read(kData + "/gaeb90/" + GetParam() + ".D83"));
  const json before = Info(cli_, tender);
  ASSERT_FALSE(before.is_null());
  std::string prices;
  std::vector<int64_t> expected;
  int64_t total = 0, n = 0;
  for (const json& position : before["positions"]) {
    ++n;
    const int64_t milli = n * 7919 % 90000 + 1;
    std::string fraction = std::to_string(milli % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    std::string oz = position["oz"];
    oz.erase(0, oz.find_first_not_of(' '));
    prices += oz + ";" + std::to_string(milli / 1000) + "," + fraction + "\n";
    // EP * MENGE in thousandths times thousandths, to cents half up (all positive).
    const auto qty = static_cast<int64_t>(std::llround(position["menge"].get<double>() * 1000));
    expected.push_back((milli * qty + 5000) / 10000);
    total += expected.back();
  }
  const std::string offer = cli_.Path("LV.D84");
  const CliResult priced = cli_.Run({"price", tender, cli_.Write("prices.csv", prices), offer});
  ASSERT_EQ(priced.status, 0) << priced.err;
  EXPECT_EQ(CliRunner::Read(offer).substr(0, 12), "00        84");

  const json back = Info(cli_, offer);
  ASSERT_EQ(back["positions"].size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(std::llround(back["positions"][i]["gb"].get<double>() * 100), expected[i]) << i;
  EXPECT_EQ(std::llround(back["lv"]["summe"].get<double>() * 100), total);

  const std::string bytes = CliRunner::Read(offer);
  const CliResult again = cli_.Run({"export", offer, offer});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(CliRunner::Read(offer), bytes);
  EXPECT_EQ(Info(cli_, offer), back);

  const CliResult print = cli_.Run({"print", offer, "-"});
  EXPECT_EQ(print.status, 0) << print.err;
  EXPECT_NE(print.out.find("Angebotsdruck"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(RealTenders, Gaeb90Cli, ::testing::Values("LV_Los01", "LV_Los02"));

// Refusals end with exit code 1 and the reason; the tender is never written over.
TEST(Gaeb90CliRefusal, TruncatedTenderAndOverwritingTheTender) {
  CliRunner cli;
  const std::string sample = CliRunner::Read(kData + "/gaeb90/LV_Los01.D83");
  const std::string cut = cli.Write("cut.D83", sample.substr(0, 81 * 20));
  for (const char* command : {"info", "export", "print"}) {
    SCOPED_TRACE(command);
    const CliResult r = std::string(command) == "info" ? cli.Run({command, cut})
                                                       : cli.Run({command, cut, cli.Path("x")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Die Datei endet nach Zeile 20 ohne den Schlusssatz 99; sie ist unvollst\xC3\xA4"
              "ndig.\n");
  }
  const std::string tender = cli.Write("LV.D83", sample);
  const CliResult r = cli.Run({"export", tender, tender});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(CliRunner::Read(tender), sample);
}

}  // namespace
