#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"

namespace {

using json = nlohmann::ordered_json;

const std::string kData = std::string(TARVO_TEST_DATA_DIR);
const std::string kTender = kData + "/real/LV_Los01.P83";

// `sheet export` writes the LV for a spreadsheet, `price` takes a workbook
// back by its content, whatever its name.
class SheetCliTest : public ::testing::Test {
 protected:
  json Info(const std::string& offer) {
    const CliResult info = cli_.Run({"info", "--json", offer});
    EXPECT_EQ(info.status, 0) << info.err;
    return info.status == 0 ? json::parse(info.out) : json();
  }
  CliRunner cli_;
};

TEST_F(SheetCliTest, CsvGoesOutAndComesBackUnderAnyName) {
  const std::string csv = cli_.Path("lv.csv");
  ASSERT_EQ(cli_.Run({"sheet", "export", kTender, csv}).status, 0);
  std::string text = CliRunner::Read(csv);
  ASSERT_EQ(text.rfind("\xEF\xBB\xBF"
                       "Tarvo-LV;",
                       0),
            0u);
  // The estimator types a price into the row of 010020 (quantity 2).
  const std::string row = "010020;010020;N;Bauberatung;2,000;St;";
  const size_t at = text.find(row);
  ASSERT_NE(at, std::string::npos) << text;
  text.insert(at + row.size(), "149,99");
  const std::string prices = cli_.Write("vom-nachunternehmer.txt", text);

  const std::string offer = cli_.Path("angebot.d84");
  const CliResult r = cli_.Run({"price", kTender, prices, offer});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("\xC3\xBC"
                       "bernommen: 1 Wert."),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("Ohne Einheitspreis: 12 Positionen"), std::string::npos) << r.err;
  const json positions = Info(offer)["positions"];
  EXPECT_EQ(positions[1]["ep"].get<double>(), 149.99);
  EXPECT_EQ(positions[1]["gb"].get<double>(), 299.98);
}

TEST_F(SheetCliTest, WorkbookSavedByLibreOfficeIsTaken) {
  const std::string offer = cli_.Path("angebot.d84");
  const CliResult r =
      cli_.Run({"price", kTender, kData + "/sheet/los01-sorted-libreoffice.xlsx", offer});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Info(offer)["lv"]["summe"].get<double>(), 42474.82);
}

TEST_F(SheetCliTest, RefusedWorkbookWritesNothing) {
  const std::string offer = cli_.Path("angebot.d84");
  const CliResult old = cli_.Run({"price", kTender, kData + "/sheet/los01.xls", offer});
  EXPECT_EQ(old.status, 1);
  EXPECT_NE(old.err.find("(.xls)"), std::string::npos) << old.err;
  const CliResult other =
      cli_.Run({"price", kData + "/real/LV_Los02.P83", kData + "/sheet/los01-typed.xlsx", offer});
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("anderen LV"), std::string::npos) << other.err;
  EXPECT_FALSE(std::filesystem::exists(offer));
}

TEST_F(SheetCliTest, ExportNeedsAKnownFormat) {
  EXPECT_EQ(cli_.Run({"sheet", "export", kTender, cli_.Path("lv.ods")}).status, 2);
  EXPECT_EQ(cli_.Run({"sheet", "import", kTender, cli_.Path("lv.xlsx")}).status, 2);
  const std::string xlsx = cli_.Path("lv.xlsx");
  ASSERT_EQ(cli_.Run({"sheet", "export", "--long-texts", kTender, xlsx}).status, 0);
  EXPECT_EQ(CliRunner::Read(xlsx).rfind("PK", 0), 0u);
}

}  // namespace
