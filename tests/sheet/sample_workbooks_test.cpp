#include <fstream>

#include "sheet/sheet_writer.h"
#include "tests/sheet/sheet_fixture.h"

namespace {

std::string Sample(const std::string& name) {
  return std::string(TARVO_TEST_DATA_DIR) + "/sheet/" + name;
}

// Workbooks of real/LV_Los01.P83 as they come back (tests/data/sheet/README.md):
// typed by a script, saved by LibreOffice, sorted with a row deleted.
class SampleWorkbook : public SheetTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SampleWorkbook, PricesComeBackIntoTheTender) {
  ASSERT_TRUE(doc_.Import(std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83"));
  const SheetTakeOver result =
      TakeSheetPrices(doc_, ReadWorkbook(Sample(GetParam())), false, GetParam());
  ASSERT_TRUE(result.Applied) << TakeOverReport(result)[1];
  EXPECT_EQ(result.Values, 8);
  // 1250,50 + 2 * 85,25 + 400.
  EXPECT_EQ(Text("01", "SUMME"), "1821");
  // 3999,9999 is entered as 4000; 29,481 km at 12,50 less 3 % = 357,457125;
  // 29,481 km at 1234,57 = 36396,35817.
  EXPECT_EQ(Text("020010", "EP"), "4000");
  EXPECT_EQ(Text("020020", "GB"), "357,46");
  EXPECT_EQ(Text("020030", "GB"), "36396,36");
  // 40753,82 less the area's discount of 100; the LV 1821 + 40653,82.
  EXPECT_EQ(Text("02", "SUMMENACHNL"), "40653,82");
  EXPECT_EQ(Total(), "42474,82");
  EXPECT_EQ(result.Unpriced.size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleWorkbook,
                         ::testing::Values("los01-typed.xlsx", "los01-typed-libreoffice.xlsx",
                                           "los01-sorted-libreoffice.xlsx"));

std::string Refusal(const std::string& file) {
  try {
    ReadWorkbook(file);
  } catch (const SheetError& e) {
    return e.what();
  }
  return "read";
}

// Workbooks that cannot be taken are refused before anything is entered.
TEST_F(SheetTest, RefusesWhatIsNoReadableWorkbook) {
  EXPECT_NE(Refusal(Sample("los01.xls")).find("alten Excel-Format (.xls)"), std::string::npos);

  const std::string whole = ReadFile(Sample("los01-typed.xlsx"));
  const std::string cut = dir_.Write("cut.xlsx", whole.substr(0, whole.size() / 2));
  EXPECT_NE(Refusal(cut).find("besch\xE4"
                              "digt"),
            std::string::npos);

  // An encrypted workbook is an OLE container with the stream EncryptionInfo.
  const std::string ole = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) +
                          std::string(504, '\0') +
                          std::string("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28);
  EXPECT_NE(Refusal(dir_.Write("secret.xlsx", ole)).find("Kennwort"), std::string::npos);

  EXPECT_NE(Refusal(dir_.Write("list.csv", "0010;12,5\n")).find("weder"), std::string::npos);
}

TEST_F(SheetTest, RefusesTheWorkbookOfAnotherLv) {
  LoadSmallTender();
  const ReadSheet other = ReadWorkbook(Sample("los01-typed.xlsx"));
  try {
    TakeSheetPrices(doc_, other, true, "los01.xlsx");
    FAIL() << "taken";
  } catch (const SheetError& e) {
    EXPECT_NE(std::string(e.what()).find("anderen LV (\"01 Los 1"), std::string::npos) << e.what();
  }
  ReadSheet foreign;
  foreign.Rows[0][0].Text = "irgendwas";
  EXPECT_THROW(TakeSheetPrices(doc_, foreign, true, "x.xlsx"), SheetError);
}

// Rows the LV does not have, rows given twice and formulas no program
// computed are named; nothing is entered.
TEST_F(SheetTest, ReportsRowsThatCannotBeMatched) {
  LoadSmallTender();
  WriteSheetCsv(BuildSheetTable(doc_, false), dir_.Path("lv.csv"));
  ReadSheet sheet = ReadSheetCsv(ReadFile(dir_.Path("lv.csv")));
  const int last = sheet.Rows.rbegin()->first;
  sheet.Rows[last + 1] = sheet.Rows[RowOf(sheet, "0010")];
  sheet.Rows[last + 2][0].Text = "9999";
  Type(sheet, "0020", "EP", "=A1*2");
  sheet.Rows[RowOf(sheet, "0020")][ColumnOf(sheet, "EP")].Uncomputed = true;

  const SheetTakeOver result = TakeSheetPrices(doc_, sheet, false, "lv.csv");
  EXPECT_FALSE(result.Applied);
  ASSERT_EQ(result.Refused.size(), 3u);
  EXPECT_NE(result.Refused[0].Reason.find("Formel"), std::string::npos);
  EXPECT_NE(result.Refused[1].Reason.find("schon als Zeile"), std::string::npos);
  EXPECT_EQ(result.Refused[2].Value, "9999");
  const std::vector<std::string> report = TakeOverReport(result);
  EXPECT_EQ(report[0].rfind("Nichts \xFC"
                            "bernommen: 3",
                            0),
            0u)
      << report[0];
}

}  // namespace
