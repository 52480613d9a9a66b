#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "support/format_guard.h"
#include "support/tender_files.h"

namespace {

// Money to cents, halves away from zero: the rounding every amount follows.
long double Round2(long double x) {
  const long double v = std::floor(std::fabs(x) * 100 + 0.5L + 0.001L) / 100;
  return x < 0 ? -v : v;
}

long long Cents(long double x) { return std::llround(x * 100); }

// A unit price for the i-th position: between 0,010 and 100,009 with three decimals.
std::pair<std::string, long double> PriceFor(int i) {
  const int thousandths = (i * 7919) % 100000 + 10;
  std::string decimals = std::to_string(thousandths % 1000);
  decimals.insert(0, 3 - decimals.size(), '0');
  return {std::to_string(thousandths / 1000) + "," + decimals, thousandths / 1000.0L};
}

// Sums worked out from the quantities, the given unit prices, the position
// types and the nesting of the areas.
class ExpectedSums {
 public:
  explicit ExpectedSums(const std::map<const KsGAEBObj*, long double>& prices) : prices_(prices) {}

  long double PositionAmount(const KsGAEBObj& position) const {
    return Round2(prices_.at(&position) * NumberValue(position, "MENGE") *
                  (1 - NumberValue(position, "NACHLASSPROZ") / 100.0L));
  }

  // Returns the sum after discount; records every area's sum.
  long double Area(const KsGAEBObj& area) {
    long double s = 0;
    if (const KsGAEBObjList* positions = area.ChildList("POSITION"))
      for (int i = 0; i < positions->Count(); ++i) s += Counting(*positions->Element(i));
    if (const KsGAEBObjList* areas = area.ChildList("LVBEREICH"))
      for (int i = 0; i < areas->Count(); ++i) s += Area(*areas->Element(i));
    const long double sum = Round2(s);
    areaSums[&area] = sum;
    const long double absolute = NumberValue(area, "NACHLASSABS");
    return Cents(absolute) != 0 ? sum - absolute
                                : (1 - NumberValue(area, "NACHLASSPROZ") / 100.0L) * sum;
  }

  long double Counting(const KsGAEBObj& position) const {
    const std::string type = position.Text("_TARVO_POSTYP");
    return type == "N" || type == "B" ? PositionAmount(position) : 0;
  }

  std::map<const KsGAEBObj*, long double> areaSums;

 private:
  const std::map<const KsGAEBObj*, long double>& prices_;
};

void CollectPositions(const KsGAEBObjList* areas, const KsGAEBObjList* positions,
                      std::vector<KsGAEBObj*>& out) {
  if (areas)
    for (int i = 0; i < areas->Count(); ++i) {
      const KsGAEBObj& area = *areas->Element(i);
      CollectPositions(area.ChildList("LVBEREICH"), area.ChildList("POSITION"), out);
    }
  if (positions)
    for (int i = 0; i < positions->Count(); ++i) out.push_back(positions->Element(i));
}

std::vector<KsGAEBObj*> AllPositions(const KsLyxObj& doc) {
  std::vector<KsGAEBObj*> positions;
  CollectPositions(doc.LvAreas, doc.Positions, positions);
  return positions;
}

int CountAreas(const KsGAEBObjList* areas) {
  int n = areas ? areas->Count() : 0;
  for (int i = 0; areas && i < areas->Count(); ++i)
    n += CountAreas(areas->Element(i)->ChildList("LVBEREICH"));
  return n;
}

// Blocks of an element in the raw file, whatever the letter case of the key.
int CountBlocks(const std::string& text, const std::string& element) {
  const std::regex begin("#begin\\[" + element + "\\]", std::regex::icase);
  return static_cast<int>(
      std::distance(std::sregex_iterator(text.begin(), text.end(), begin), std::sregex_iterator()));
}

class RealFileTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override { PrepareGaeb(); }
  FormatGuard format_{GermanFormatSettings()};
  TempDir dir_;
};

TEST_P(RealFileTest, PricedCopyAddsUpAndSurvivesExport) {
  const std::string file = std::string(TARVO_TEST_DATA_DIR) + "/real/" + GetParam();
  KsLyxObj doc;
  ASSERT_TRUE(doc.Import(file)) << doc.LastError;
  const std::string raw = ReadFile(file);
  std::vector<KsGAEBObj*> positions = AllPositions(doc);
  ASSERT_EQ(static_cast<int>(positions.size()), CountBlocks(raw, "POSITION"));
  ASSERT_EQ(CountAreas(doc.LvAreas), CountBlocks(raw, "LVBEREICH"));

  std::map<const KsGAEBObj*, long double> prices;
  for (size_t i = 0; i < positions.size(); ++i) {
    const auto [text, value] = PriceFor(static_cast<int>(i));
    SetPositionValue(*positions[i], text, "EP");
    prices[positions[i]] = value;
  }
  KsGAEBObj& firstArea = *doc.LvAreas->Element(0);
  SetAreaDiscount(firstArea, "2,5", "NACHLASSPROZ");

  ExpectedSums expected(prices);
  long double s = 0;
  for (int i = 0; doc.LvAreas && i < doc.LvAreas->Count(); ++i)
    s += expected.Area(*doc.LvAreas->Element(i));
  for (int i = 0; doc.Positions && i < doc.Positions->Count(); ++i)
    s += expected.Counting(*doc.Positions->Element(i));
  const long double vat = NumberValue(*doc.LvInfo, "UST");
  ASSERT_GT(Cents(s), 0);

  for (KsGAEBObj* position : positions)
    EXPECT_EQ(Cents(NumberValue(*position, "GB")), Cents(expected.PositionAmount(*position)))
        << position->Text("OZ");
  for (const auto& [area, sum] : expected.areaSums)
    EXPECT_EQ(Cents(NumberValue(*area, "SUMME")), Cents(sum)) << area->Text("OZ");
  EXPECT_EQ(Cents(NumberValue(*doc.LvInfo, "SUMME")), Cents(Round2(s)));
  EXPECT_EQ(Cents(NumberValue(*doc.LvInfo, "SUMMEBRUTTO")), Cents(Round2(s * (vat / 100 + 1))));

  const std::string target = dir_.Path(std::filesystem::path(GetParam()).stem().string() + ".D84");
  ASSERT_TRUE(doc.ExportD84(target)) << doc.LastError;
  KsLyxObj reread;
  ASSERT_TRUE(reread.Import(target)) << reread.LastError;
  const std::vector<KsGAEBObj*> again = AllPositions(reread);
  ASSERT_EQ(again.size(), positions.size());
  for (size_t i = 0; i < again.size(); ++i) {
    SCOPED_TRACE(positions[i]->Text("OZ"));
    EXPECT_EQ(again[i]->Text("OZ"), positions[i]->Text("OZ"));
    EXPECT_EQ(again[i]->Text("BEZ"), positions[i]->Text("BEZ"));
    EXPECT_DOUBLE_EQ(NumberValue(*again[i], "EP"), NumberValue(*positions[i], "EP"));
    EXPECT_DOUBLE_EQ(NumberValue(*again[i], "GB"), NumberValue(*positions[i], "GB"));
  }
  EXPECT_DOUBLE_EQ(NumberValue(*reread.LvAreas->Element(0), "NACHLASSPROZ"), 2.5);
  EXPECT_EQ(Cents(NumberValue(*reread.LvInfo, "SUMME")), Cents(Round2(s)));
  EXPECT_EQ(Cents(NumberValue(*reread.LvInfo, "SUMMEBRUTTO")), Cents(Round2(s * (vat / 100 + 1))));
  EXPECT_EQ(reread.PrjInfo->Text("BEZ"), doc.PrjInfo->Text("BEZ"));
}

std::vector<std::string> RealFiles() {
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(TARVO_TEST_DATA_DIR) + "/real"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(AllSamples, RealFileTest, ::testing::ValuesIn(RealFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
