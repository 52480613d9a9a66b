#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "bench/x83_tender_writer.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/x83_reader.h"
#include "gaebxml/x84_writer.h"
#include "gaebxml/xml_identity.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/format_guard.h"
#include "tests/support/tender_files.h"
#include "tests/support/test_document.h"
#include "tests/support/x84_sums.h"

namespace {

long long Cents(const KsGAEBObj& element, const char* member) {
  long long cents = 0;
  const std::string text = element.Text(member);
  // The tree holds numbers in the German format of this test.
  std::string point = text;
  for (char& c : point)
    if (c == ',') c = '.';
  EXPECT_TRUE(DecimalUnits(point, 2, cents)) << member << " " << text;
  return cents;
}

// A generated tender of 1,000 and of 100,000 positions in three levels of
// areas, with contingencies and alternatives among them, read, priced with
// 3-decimal unit prices, answered as X84 and checked by adding up the answer
// here.
class GeneratedX83 : public ::testing::TestWithParam<int> {};

TEST_P(GeneratedX83, PricedAnswerAddsUpPerAreaToTheProgramsSums) {
  PrepareGaeb();
  const FormatGuard format(GermanFormatSettings());
  const TempDir dir;
  const std::string path = dir.Path("synthetisch.X83");
  const int count = GetParam();
  WriteSyntheticX83File(path, NestedTender(count));
  TestDocument doc;
  X83Result result = ReadX83File(path, doc);
  ASSERT_TRUE(result.Root) << result.Error;
  KsGAEBObj& lv = *LvOf(*result.Root);
  const FlatLv flat = Flatten(lv);
  ASSERT_EQ(flat.Positions.size(), static_cast<size_t>(count));

  int n = 0;
  for (KsGAEBObj* position : flat.Positions) {
    ++n;
    const std::string price = std::to_string(n * 7919 % 250000 / 1000) + "," +
                              std::to_string(1000 + n * 7919 % 1000).substr(1);
    SetPositionValue(*position, price, "EP");
  }
  doc.recalcAll = true;
  CalcAll(lv);
  std::ostringstream out;
  WriteX84(out, *result.Root, result.Origin, {"2025-06-02", "14:05:00"});

  X84Sums sums;
  sums.ReadTender(ReadFile(path));
  sums.ReadAnswer(out.str());
  ASSERT_TRUE(sums.wellFormed);
  EXPECT_EQ(sums.items, count);
  int alternatives = 0;
  for (const auto& [id, item] : sums.tender) alternatives += item.counts ? 0 : 1;
  EXPECT_GT(alternatives, count / 20) << "the generator marks alternatives and contingencies";
  for (const auto& [id, cents] : sums.itemItCents)
    ASSERT_EQ(cents, sums.itemExpectedCents[id]) << id;
  ASSERT_EQ(sums.categoryTotal.size(), flat.Areas.size());
  for (const KsGAEBObj* area : flat.Areas) {
    const std::string id = area->Text(kXmlIdMember);
    EXPECT_EQ(sums.categoryTotal[id], sums.categorySum[id]) << id;
    EXPECT_EQ(sums.categoryTotal[id], Cents(*area, "SUMME")) << id;
  }
  EXPECT_EQ(sums.boqTotal, sums.boqSum);
  EXPECT_EQ(sums.boqTotal, Cents(*lv.Child("LVINFO"), "SUMME"));
  EXPECT_EQ(sums.vat, "19");
  EXPECT_EQ(sums.vatAmount, (sums.boqTotal * 19 + 50) / 100);
  EXPECT_EQ(sums.totalGross, sums.boqTotal + sums.vatAmount);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GeneratedX83, ::testing::Values(1000, 100000));

}  // namespace
