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
#include "tests/support/document_fixture.h"

namespace {

// Money in integers, apart from the code under test: a value in units of
// 10^-from, rounded half away from zero to units of 10^-to.
long long Scale(__int128 value, int from, int to) {
  __int128 p = 1;
  for (int i = to; i < from; ++i) p *= 10;
  const __int128 m = value < 0 ? -value : value;
  const __int128 q = (m + p / 2) / p;
  return static_cast<long long>(value < 0 ? -q : q);
}

// A value the file gave with at most `decimals` decimals, in those units.
long long Units(double value, int decimals) { return std::llround(value * std::pow(10, decimals)); }

long long Cents(double stored) { return Units(stored, 2); }

// A unit price for the i-th position: between 0,010 and 100,009 with three
// decimals, in thousandths.
std::pair<std::string, long long> PriceFor(int i) {
  const int thousandths = (i * 7919) % 100000 + 10;
  std::string decimals = std::to_string(thousandths % 1000);
  decimals.insert(0, 3 - decimals.size(), '0');
  return {std::to_string(thousandths / 1000) + "," + decimals, thousandths};
}

// Sums in cents, worked out from the quantities, the given unit prices, the
// position types, the discounts and the nesting of the areas.
class ExpectedSums {
 public:
  explicit ExpectedSums(const std::map<const KsGAEBObj*, long long>& prices) : prices_(prices) {}

  long long PositionAmount(const KsGAEBObj& position) const {
    return Scale(static_cast<__int128>(prices_.at(&position)) *
                     Units(NumberValue(position, "MENGE"), 3) *
                     (10000 - Units(NumberValue(position, "NACHLASSPROZ"), 2)),
                 10, 2);
  }

  // Returns the sum after discount; records every area's sum.
  long long Area(const KsGAEBObj& area) {
    long long sum = 0;
    if (const KsGAEBObjList* positions = area.ChildList("POSITION"))
      for (int i = 0; i < positions->Count(); ++i) sum += Counting(*positions->Element(i));
    if (const KsGAEBObjList* areas = area.ChildList("LVBEREICH"))
      for (int i = 0; i < areas->Count(); ++i) sum += Area(*areas->Element(i));
    areaSums[&area] = sum;
    const long long absolute = Cents(NumberValue(area, "NACHLASSABS"));
    return absolute != 0 ? sum - absolute
                         : sum - Scale(static_cast<__int128>(sum) *
                                           Units(NumberValue(area, "NACHLASSPROZ"), 2),
                                       4, 0);
  }

  long long Counting(const KsGAEBObj& position) const {
    const std::string type = position.Text("_TARVO_POSTYP");
    return type == "N" || type == "B" ? PositionAmount(position) : 0;
  }

  std::map<const KsGAEBObj*, long long> areaSums;

 private:
  const std::map<const KsGAEBObj*, long long>& prices_;
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

using RealFileTest = DocumentFixture<::testing::TestWithParam<std::string>>;

TEST_P(RealFileTest, PricedCopyAddsUpAndSurvivesExport) {
  const std::string file = std::string(TARVO_TEST_DATA_DIR) + "/real/" + GetParam();
  KsLyxObj doc;
  ASSERT_TRUE(doc.Import(file)) << doc.LastError;
  const std::string raw = ReadFile(file);
  std::vector<KsGAEBObj*> positions = AllPositions(doc);
  ASSERT_EQ(static_cast<int>(positions.size()), CountBlocks(raw, "POSITION"));
  ASSERT_EQ(CountAreas(doc.LvAreas), CountBlocks(raw, "LVBEREICH"));

  std::map<const KsGAEBObj*, long long> prices;
  for (size_t i = 0; i < positions.size(); ++i) {
    const auto [text, value] = PriceFor(static_cast<int>(i));
    SetPositionValue(*positions[i], text, "EP");
    prices[positions[i]] = value;
  }
  KsGAEBObj& firstArea = *doc.LvAreas->Element(0);
  SetAreaDiscount(firstArea, "2,5", "NACHLASSPROZ");

  ExpectedSums expected(prices);
  long long s = 0;
  for (int i = 0; doc.LvAreas && i < doc.LvAreas->Count(); ++i)
    s += expected.Area(*doc.LvAreas->Element(i));
  for (int i = 0; doc.Positions && i < doc.Positions->Count(); ++i)
    s += expected.Counting(*doc.Positions->Element(i));
  const long long gross =
      s + Scale(static_cast<__int128>(s) * Units(NumberValue(*doc.LvInfo, "UST"), 2), 4, 0);
  ASSERT_GT(s, 0);

  for (KsGAEBObj* position : positions)
    EXPECT_EQ(Cents(NumberValue(*position, "GB")), expected.PositionAmount(*position))
        << position->Text("OZ");
  for (const auto& [area, sum] : expected.areaSums)
    EXPECT_EQ(Cents(NumberValue(*area, "SUMME")), sum) << area->Text("OZ");
  EXPECT_EQ(Cents(NumberValue(*doc.LvInfo, "SUMME")), s);
  EXPECT_EQ(Cents(NumberValue(*doc.LvInfo, "SUMMEBRUTTO")), gross);

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
  EXPECT_EQ(Cents(NumberValue(*reread.LvInfo, "SUMME")), s);
  EXPECT_EQ(Cents(NumberValue(*reread.LvInfo, "SUMMEBRUTTO")), gross);
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
