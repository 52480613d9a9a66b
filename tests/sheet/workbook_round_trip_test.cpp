#include <cstdio>

#include "gaeb/gaeb_totals.h"
#include "sheet/sheet_writer.h"
#include "tests/sheet/sheet_fixture.h"

namespace {

// The program's own workbook comes back, as XLSX and as CSV, and every
// value in it is entered as if typed: numbers and texts, "." or "," as the
// decimal separator, rounded to the field's decimals, components making up
// the unit price.
class WorkbookRoundTrip : public SheetTest, public ::testing::WithParamInterface<bool> {
 public:
  ReadSheet Exported() {
    const SheetTable table = BuildSheetTable(doc_, true);
    const bool csv = GetParam();
    const std::string file = dir_.Path(csv ? "lv.csv" : "lv.xlsx");
    if (csv)
      WriteSheetCsv(table, file);
    else
      WriteSheetXlsx(table, file);
    return ReadWorkbook(file);
  }
};

TEST_P(WorkbookRoundTrip, ValuesAreEnteredAsTyped) {
  LoadSmallTender();
  ReadSheet sheet = Exported();
  ASSERT_GE(RowOf(sheet, "0010"), 0);
  TypeNumber(sheet, "0010", "EP", 8.1254);  // more decimals than a price has
  Type(sheet, "0020", "EP", "19,99");
  Type(sheet, "0020", "NACHLASSPROZ", "10");
  Type(sheet, "0030", "EPANTEIL1", "20.5");
  TypeNumber(sheet, "0030", "EPANTEIL2", 4.25);
  Type(sheet, "02", "NACHLASSABS", "9");

  const SheetTakeOver result = TakeSheetPrices(doc_, sheet, false, "lv");
  ASSERT_TRUE(result.Applied) << TakeOverReport(result)[1];
  EXPECT_EQ(result.Values, 6);
  EXPECT_TRUE(result.Unpriced.empty());
  // 12,5 m3 at 8,125 = 101,5625; 3 St at 19,99 less 10 % = 53,973.
  EXPECT_EQ(Text("0010", "EP"), "8,125");
  EXPECT_EQ(Text("0010", "GB"), "101,56");
  EXPECT_EQ(Text("0020", "GB"), "53,97");
  EXPECT_EQ(Text("01", "SUMME"), "155,53");
  // 20,5 + 4,25 = 24,75 at 4 m2 = 99; less 9 = 90.
  EXPECT_EQ(Text("0030", "EP"), "24,75");
  EXPECT_EQ(Text("02", "SUMMENACHNL"), "90");
  EXPECT_EQ(Total(), "245,53");
  EXPECT_TRUE(doc_.Modified());
}

TEST_P(WorkbookRoundTrip, OneRefusedValueEntersNothing) {
  LoadSmallTender();
  ReadSheet sheet = Exported();
  Type(sheet, "0010", "EP", "12,5");
  Type(sheet, "0020", "EP", "zwölf");
  Type(sheet, "0020", "NACHLASSPROZ", "150");  // refused only when applied
  Type(sheet, "0030", "EPANTEIL1", "1.234");   // ambiguous as typed

  const SheetTakeOver result = TakeSheetPrices(doc_, sheet, false, "lv");
  EXPECT_FALSE(result.Applied);
  ASSERT_EQ(result.Refused.size(), 2u);
  EXPECT_EQ(result.Refused[0].Oz, "0020");
  EXPECT_EQ(result.Refused[0].Value, "zwölf");
  EXPECT_EQ(result.Refused[0].Row, RowOf(sheet, "0020") + 1);
  EXPECT_NE(result.Refused[1].Reason.find("mehrdeutig"), std::string::npos);
  EXPECT_EQ(Text("0010", "EP"), "");
  EXPECT_FALSE(doc_.Modified());

  // With the text and the ambiguous number put right, the discount beyond
  // 100 % is refused as it is applied: what was entered before goes back.
  Type(sheet, "0020", "EP", "12");
  Type(sheet, "0030", "EPANTEIL1", "1234");
  const SheetTakeOver second = TakeSheetPrices(doc_, sheet, false, "lv");
  EXPECT_FALSE(second.Applied);
  ASSERT_EQ(second.Refused.size(), 1u);
  EXPECT_EQ(second.Refused[0].Oz, "0020");
  EXPECT_EQ(Text("0010", "EP"), "");
  EXPECT_EQ(Text("0030", "EP"), "");
  EXPECT_EQ(Text("01", "SUMME"), "0");
  EXPECT_EQ(Total(), "0");
}

TEST_P(WorkbookRoundTrip, QuestionsOfTheGridNeedConfirmation) {
  LoadSmallTender();
  ReadSheet sheet = Exported();
  Type(sheet, "0010", "EP", "-5");
  Type(sheet, "0020", "EP", "100");
  // Above the area's sum before the prices, below it after them: no question.
  Type(sheet, "01", "NACHLASSABS", "200");

  const SheetTakeOver asked = TakeSheetPrices(doc_, sheet, false, "lv");
  EXPECT_FALSE(asked.Applied);
  ASSERT_EQ(asked.Refused.size(), 1u);
  EXPECT_TRUE(asked.Refused[0].Question);
  EXPECT_EQ(asked.Refused[0].Oz, "0010");

  const SheetTakeOver confirmed = TakeSheetPrices(doc_, sheet, true, "lv");
  ASSERT_TRUE(confirmed.Applied);
  // -5 * 12,5 = -62,50; + 300 = 237,50; less 200 = 37,50.
  EXPECT_EQ(Text("01", "SUMME"), "237,5");
  EXPECT_EQ(Text("01", "SUMMENACHNL"), "37,5");
  ASSERT_EQ(confirmed.Unpriced.size(), 1u);
  EXPECT_EQ(confirmed.Unpriced[0], "0030");
}

INSTANTIATE_TEST_SUITE_P(XlsxAndCsv, WorkbookRoundTrip, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Csv" : "Xlsx"; });

// The export carries what a spreadsheet shows before it recalculates: the
// program's amounts as the results of the formulas, the sums of the areas
// and the LV, and the identity of every row with the LV's key.
TEST_F(SheetTest, ExportCarriesTheProgramsAmounts) {
  LoadSmallTender();
  SetPositionValue(Element("0010"), "8,125", "EP");
  SetPositionValue(Element("0030"), "3,5", "EPANTEIL1");
  const SheetTable table = BuildSheetTable(doc_, false);
  WriteSheetXlsx(table, dir_.Path("lv.xlsx"));
  const ReadSheet sheet = ReadWorkbook(dir_.Path("lv.xlsx"));
  const auto number = [&](const std::string& oz, const std::string& key) {
    const ReadCell* cell = sheet.At(RowOf(sheet, oz), ColumnOf(sheet, key));
    return cell && cell->IsNumber ? cell->Text : std::string("-");
  };
  EXPECT_EQ(number("0010", "GB"), "101.56");
  EXPECT_EQ(number("0020", "GB"), "-");  // no price: no amount, not 0
  EXPECT_EQ(number("0030", "EP"), "3.5");
  EXPECT_EQ(number("01", "GB"), "101.56");
  EXPECT_EQ(number("02", "SUMMENACHNL"), "14");
  EXPECT_EQ(sheet.At(1, 0)->Text, table.LvKey);
  EXPECT_EQ(sheet.At(RowOf(sheet, "0030"), 0)->Text, "0030");
  EXPECT_EQ(sheet.At(kKeyRow + 1, ColumnOf(sheet, "EPANTEIL1"))->Text, "EP-Anteil 1");
}

}  // namespace
