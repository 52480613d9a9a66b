#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"

namespace {

using json = nlohmann::ordered_json;

const std::string kSample = std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83";

class PriceListTest : public ::testing::Test {
 protected:
  // The unit prices of the first two positions after pricing with `list`.
  std::pair<double, double> PricesAfter(const std::string& list, int expectedStatus = 0) {
    const std::string out = cli_.Path("angebot.d84");
    std::filesystem::remove(out);
    const CliResult r = cli_.Run({"price", kSample, cli_.Write("preise.csv", list), out});
    EXPECT_EQ(r.status, expectedStatus) << r.err;
    const CliResult info = cli_.Run({"info", "--json", out});
    if (info.status != 0) return {-1, -1};
    const json positions = json::parse(info.out)["positions"];
    return {positions[0]["ep"].get<double>(), positions[1]["ep"].get<double>()};
  }
  CliRunner cli_;
};

TEST_F(PriceListTest, ListsAsSpreadsheetsAndPeopleWriteThem) {
  const struct {
    const char* name;
    std::string list;
  } cases[] = {
      {"semicolon", "010010;12,5\n010020;3,25\n"},
      {"tab", "010010\t12,5\n010020\t3,25\n"},
      {"byte-order mark of CSV UTF-8",
       "\xEF\xBB\xBF"
       "010010;12,5\r\n010020;3,25\r\n"},
      {"point as decimal separator", "010010;12.5\n010020;3.25\n"},
      {"empty cells at the end", "010010;12,5;;\n010020\t3,25\t\n"},
      {"blanks and blank lines", "  010010 ; 12,5 \n\n \t \n010020;3,250"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PricesAfter(c.list), std::make_pair(12.5, 3.25));
  }
}

TEST_F(PriceListTest, StandardInputCanBeThePriceList) {
  const std::string out = cli_.Path("angebot.d84");
  const CliResult r =
      cli_.RunWith({"price", kSample, "-", out}, cli_.Write("preise.csv", "010010;7\n"), "");
  EXPECT_EQ(r.status, 0) << r.err;
  const CliResult info = cli_.Run({"info", "--json", out});
  EXPECT_EQ(json::parse(info.out)["positions"][0]["ep"], 7.0);
}

// Scripts can rely on the exit code: 3 when the offer was saved but not
// every line was taken; 1 when nothing was saved.
TEST_F(PriceListTest, ExitCodeTellsWhetherEveryLineWasTaken) {
  const struct {
    const char* name;
    std::string list;
    std::string message;
  } rejected[] = {
      {"unknown OZ", "010010;1\n99.9999;12\n", "Zeile 2: Position 99.9999 nicht gefunden\n"},
      {"not a number", "010010;zw\xC3\xB6lf\n", "Zeile 1: zw\xC3\xB6lf ist keine Zahl\n"},
      {"one field", "010010\n",
       "Zeile 1: \"OZ;Preis\" oder \"OZ;Feld;Wert\" erwartet, gelesen: 010010\n"},
      {"escape sequence in OZ", "A\x1b[2J;1\n", "Zeile 1: Position A\\x1b[2J nicht gefunden\n"},
  };
  for (const auto& c : rejected) {
    SCOPED_TRACE(c.name);
    const std::string out = cli_.Path("angebot.d84");
    std::filesystem::remove(out);
    const CliResult r = cli_.Run({"price", kSample, cli_.Write("preise.csv", c.list), out});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.Errors(), c.message);
    EXPECT_TRUE(std::filesystem::exists(out));
  }

  std::filesystem::create_directory(cli_.Path("Preise \u00e4"));
  const std::string read = "Die Preisdatei kann nicht gelesen werden: Die Datei ";
  const struct {
    const char* name;
    std::string list;
    std::string message;
  } unreadable[] = {
      {"missing", cli_.Path("fehlt.csv"),
       read + cli_.Path("fehlt.csv") +
           " kann nicht ge\u00f6ffnet werden. Die Datei existiert nicht.\n"},
      {"directory", cli_.Path("Preise \u00e4"),
       read + cli_.Path("Preise \u00e4") +
           " kann nicht ge\u00f6ffnet werden. Der Name bezeichnet ein Verzeichnis.\n"},
      {"read error", "/proc/self/mem", ""},
  };
  for (const auto& c : unreadable) {
    SCOPED_TRACE(c.name);
    const CliResult r = cli_.Run({"price", kSample, c.list, cli_.Path("neu.d84")});
    EXPECT_EQ(r.status, 1);
    if (!c.message.empty()) {
      EXPECT_EQ(r.err, c.message);
    }
    EXPECT_EQ(r.err.rfind(read, 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(cli_.Path("neu.d84")));
  }
}

}  // namespace
