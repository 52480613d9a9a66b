#include "gaebxml/x84_writer.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "gaeb/gaeb_totals.h"
#include "gaebxml/x83_reader.h"
#include "tests/gaebxml/x83_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/format_guard.h"
#include "tests/support/tender_files.h"
#include "tests/support/test_document.h"
#include "tests/support/x84_sums.h"

namespace {

// Two areas: the first with items of every type, components, a position
// discount, a zuschlag position and 50 % off; the second with 1.00 off.
std::string SampleTender() {
  const std::string first = ItemlistXml(
      ItemXml("I1", "0010", "12.5") + ItemXml("I2", "0020", "3", "<Provis>WithTotal</Provis>") +
      "<Item ID=\"I3\" RNoPart=\"0020\" RNoIndex=\"a\"><ALNGroupNo>1</ALNGroupNo>"
      "<ALNSerNo>1</ALNSerNo><Qty>3</Qty><QU>St</QU></Item>\n" +
      ItemXml("I4", "0030", "7.333", "<Provis>WithoutTotal</Provis>") +
      ItemXml("I5", "0040", "2", "<UPBkdn>Yes</UPBkdn>") +
      "<MarkupItem ID=\"M1\" RNoPart=\"0045\"><MarkupType>AllInCat</MarkupType></MarkupItem>\n" +
      ItemXml("I6", "0050", "100"));
  const std::string second = ItemlistXml(ItemXml("I7", "0010", "1000.001"));
  return X83Document(
      GaebInfoXml() +
      AwardXml(
          BoQXml(CategoryXml("C1", "01", "Rohbau", CategoryXml("C11", "01", "Mauerwerk", first)) +
                 CategoryXml("C2", "02", "Ausbau", CategoryXml("C21", "01", "Putz", second)))));
}

class X84Writer : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareGaeb();
    result_ = ReadX83(SampleTender(), doc_);
    ASSERT_TRUE(result_.Root) << result_.Error;
    lv_ = LvOf(*result_.Root);
    flat_ = Flatten(*lv_);
  }
  KsGAEBObj& Position(size_t i) { return *flat_.Positions.at(i); }
  // Prices as the user types them, then everything recalculated as after an import.
  void Price() {
    SetPositionValue(Position(0), "10,5", "EP");
    SetPositionValue(Position(1), "99,999", "EP");
    SetPositionValue(Position(2), "80", "EP");
    SetPositionValue(Position(3), "1,234", "EP");
    SetPositionValue(Position(4), "1,111", "EPANTEIL1");
    SetPositionValue(Position(4), "2,222", "EPANTEIL2");
    SetPositionValue(Position(5), "2,5", "EP");
    SetPositionValue(Position(5), "3", "NACHLASSPROZ");
    SetPositionValue(Position(6), "0,005", "EP");
    SetAreaDiscount(*flat_.Areas[1], "50", "NACHLASSPROZ");
    SetAreaDiscount(*flat_.Areas[3], "1", "NACHLASSABS");
    lv_->Child("LVINFO")->Members.FindOrMake("UST")->SetAsString("19");
    doc_.recalcAll = true;
    CalcAll(*lv_);
    doc_.recalcAll = false;
  }
  std::string Written() {
    Price();
    std::ostringstream out;
    WriteX84(out, *result_.Root, result_.Origin, {"2025-06-02", "14:05:00"});
    return out.str();
  }

  FormatGuard format_{GermanFormatSettings()};
  TestDocument doc_;
  X83Result result_;
  KsGAEBObj* lv_ = nullptr;
  FlatLv flat_;
};

pugi::xml_node Path(const pugi::xml_node& from, std::initializer_list<const char*> names) {
  pugi::xml_node n = from;
  for (const char* name : names) n = n.child(name);
  return n;
}

TEST_F(X84Writer, TheFrameAnswersInTheTendersNamespaceAndVersion) {
  pugi::xml_document x84;
  ASSERT_TRUE(x84.load_string(Written().c_str()));
  const pugi::xml_node gaeb = x84.document_element();
  EXPECT_STREQ(gaeb.attribute("xmlns").value(), "http://www.gaeb.de/GAEB_DA_XML/DA84/3.3");
  EXPECT_STREQ(Path(gaeb, {"GAEBInfo", "Version"}).child_value(), "3.3");
  EXPECT_STREQ(Path(gaeb, {"GAEBInfo", "VersDate"}).child_value(), "2021-05");
  EXPECT_STREQ(Path(gaeb, {"GAEBInfo", "Date"}).child_value(), "2025-06-02");
  EXPECT_STREQ(Path(gaeb, {"GAEBInfo", "Time"}).child_value(), "14:05:00");
  EXPECT_STREQ(Path(gaeb, {"Award", "DP"}).child_value(), "84");
  const pugi::xml_node boq = Path(gaeb, {"Award", "BoQ"});
  EXPECT_STREQ(boq.attribute("ID").value(), "B1");
  EXPECT_EQ(std::distance(boq.child("BoQInfo").children("BoQBkdn").begin(),
                          boq.child("BoQInfo").children("BoQBkdn").end()),
            4);
  EXPECT_STREQ(Path(gaeb, {"Award", "CTR", "Address", "Name1"}).name(), "Name1");
}

TEST_F(X84Writer, EveryItemByIdentityWithPriceComponentsDiscountAndAmount) {
  pugi::xml_document x84;
  ASSERT_TRUE(x84.load_string(Written().c_str()));
  const pugi::xml_node list =
      Path(x84.document_element(),
           {"Award", "BoQ", "BoQBody", "BoQCtgy", "BoQBody", "BoQCtgy", "BoQBody", "Itemlist"});
  struct Row {
    const char* element;
    const char* id;
    const char* rnoPart;
    const char* rnoIndex;
    const char* children;  // name=value pairs in order
  };
  const Row expected[] = {
      {"Item", "I1", "0010", "", "UP=10.500 IT=131.25"},
      {"Item", "I2", "0020", "", "UP=99.999 IT=300.00"},
      {"Item", "I3", "0020", "a", "UP=80.000 IT=240.00"},
      {"Item", "I4", "0030", "", "UP=1.234 IT=9.05"},
      {"Item", "I5", "0040", "", "UP=3.333 UPComp1=1.111 UPComp2=2.222 IT=6.67"},
      {"MarkupItem", "M1", "0045", "", ""},
      {"Item", "I6", "0050", "", "UP=2.500 DiscountPcnt=3 IT=242.50"},
  };
  pugi::xml_node entry = list.first_child();
  for (const Row& row : expected) {
    SCOPED_TRACE(row.id);
    ASSERT_TRUE(entry);
    EXPECT_STREQ(entry.name(), row.element);
    EXPECT_STREQ(entry.attribute("ID").value(), row.id);
    EXPECT_STREQ(entry.attribute("RNoPart").value(), row.rnoPart);
    EXPECT_STREQ(entry.attribute("RNoIndex").value(), row.rnoIndex);
    std::string children;
    for (pugi::xml_node c = entry.first_child(); c; c = c.next_sibling())
      children += std::string(children.empty() ? "" : " ") + c.name() + "=" + c.child_value();
    EXPECT_EQ(children, row.children);
    entry = entry.next_sibling();
  }
  EXPECT_FALSE(entry);
}

// An item the bidder left open carries no UP, UPComp or IT: a UP of 0 would
// offer it free of charge. A price of 0 entered goes out as one.
TEST_F(X84Writer, AnOpenItemCarriesNoPriceAZeroPriceDoes) {
  SetPositionValue(Position(0), "0", "EP");
  SetPositionValue(Position(2), "4", "EP");
  SetPositionValue(Position(2), "", "EP");
  SetPositionValue(Position(4), "0", "EPANTEIL1");
  SetPositionValue(Position(5), "3", "NACHLASSPROZ");
  std::ostringstream out;
  WriteX84(out, *result_.Root, result_.Origin, {"2025-06-02", "14:05:00"});
  pugi::xml_document x84;
  ASSERT_TRUE(x84.load_string(out.str().c_str()));
  const pugi::xml_node list =
      Path(x84.document_element(),
           {"Award", "BoQ", "BoQBody", "BoQCtgy", "BoQBody", "BoQCtgy", "BoQBody", "Itemlist"});
  std::vector<std::string> entries;
  for (pugi::xml_node entry = list.first_child(); entry; entry = entry.next_sibling()) {
    std::string text = entry.attribute("ID").value();
    for (pugi::xml_node c = entry.first_child(); c; c = c.next_sibling())
      text += std::string(" ") + c.name() + "=" + c.child_value();
    entries.push_back(text);
  }
  EXPECT_EQ(entries, (std::vector<std::string>{"I1 UP=0.000 IT=0.00", "I2", "I3", "I4",
                                               "I5 UP=0.000 IT=0.00", "M1", "I6 DiscountPcnt=3"}));
}

TEST_F(X84Writer, TotalsOfAreasAndOfTheBoQAddUpToTheCent) {
  const std::string x84 = Written();
  X84Sums sums;
  sums.ReadTender(SampleTender());
  sums.ReadAnswer(x84);
  ASSERT_TRUE(sums.wellFormed);
  EXPECT_EQ(sums.items, 7);
  for (const auto& [id, cents] : sums.itemItCents) {
    if (id == "I6") continue;  // its 3 % discount is not in UP x quantity
    EXPECT_EQ(cents, sums.itemExpectedCents[id]) << id;
  }
  // 131.25 + 300.00 + 6.67 + 242.50 (the alternative and the contingency
  // without total do not count), then 50 % off.
  EXPECT_EQ(sums.categoryTotal["C11"], 68042);
  EXPECT_EQ(sums.categorySum["C11"], 68042);
  EXPECT_EQ(sums.categoryTotal["C1"], 34021);
  EXPECT_EQ(sums.categoryTotal["C21"], 500);  // 1000.001 x 0.005 = 5.000005
  EXPECT_EQ(sums.categoryTotal["C2"], 400);
  for (const auto& [id, total] : sums.categoryTotal) EXPECT_EQ(total, sums.categorySum[id]) << id;
  EXPECT_EQ(sums.boqTotal, 34421);
  EXPECT_EQ(sums.boqSum, 34421);
  EXPECT_EQ(sums.vat, "19");
  EXPECT_EQ(sums.vatAmount, (34421 * 19 + 50) / 100);
  EXPECT_EQ(sums.totalGross, sums.boqTotal + sums.vatAmount);

  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(x84.c_str()));
  const pugi::xml_node first = Path(doc.document_element(), {"Award", "BoQ", "BoQBody", "BoQCtgy"});
  const pugi::xml_node masonry = Path(first, {"BoQBody", "BoQCtgy", "Totals"});
  EXPECT_STREQ(masonry.child("Total").child_value(), "680.42");
  EXPECT_STREQ(masonry.child("DiscountPcnt").child_value(), "50");
  EXPECT_STREQ(masonry.child("TotAfterDisc").child_value(), "340.21");
  EXPECT_FALSE(first.child("Totals").child("DiscountPcnt"));
  const pugi::xml_node plaster = Path(first.next_sibling(), {"BoQBody", "BoQCtgy", "Totals"});
  EXPECT_STREQ(plaster.child("DiscountAmt").child_value(), "1.00");
  EXPECT_STREQ(plaster.child("TotAfterDisc").child_value(), "4.00");
}

TEST(X84WriterFormat, AmountsKeepThePointWhateverTheUsersFormat) {
  PrepareGaeb();
  const FormatGuard english(EnglishFormatSettings());
  TestDocument doc;
  X83Result result = ReadX83(SampleTender(), doc);
  ASSERT_TRUE(result.Root) << result.Error;
  SetPositionValue(*Flatten(*LvOf(*result.Root)).Positions[0], "1234.5", "EP");
  std::ostringstream out;
  WriteX84(out, *result.Root, result.Origin, {"2025-06-02", "14:05:00"});
  EXPECT_NE(out.str().find("<UP>1234.500</UP>"), std::string::npos);
  EXPECT_NE(out.str().find("<IT>15431.25</IT>"), std::string::npos);
}

TEST_F(X84Writer, TextsGoOutAsUtf8) {
  KsGAEBObj* vergabe = result_.Root->Child("VERGABE");
  ASSERT_TRUE(vergabe);
  lv_->Child("LVINFO")->Members.FindOrMake("NAME")->SetAsString("M\xFCller \x80");
  std::ostringstream out;
  WriteX84(out, *result_.Root, result_.Origin, {"2025-06-02", "14:05:00"});
  EXPECT_NE(out.str().find("<Name>M\xC3\xBCller \xE2\x82\xAC</Name>"), std::string::npos);
}

// A control character typed or pasted into an entry leaves the answer
// well-formed: it goes out as "?".
TEST_F(X84Writer, ControlCharactersOfEntriesGoOutAsQuestionMarks) {
  lv_->Child("LVINFO")->Members.FindOrMake("NAME")->SetAsString("Bau\x07\x1b[2J");
  std::ostringstream out;
  WriteX84(out, *result_.Root, result_.Origin, {"2025-06-02", "14:05:00"});
  pugi::xml_document parsed;
  ASSERT_TRUE(parsed.load_string(out.str().c_str())) << out.str();
  EXPECT_NE(out.str().find("<Name>Bau??[2J</Name>"), std::string::npos) << out.str();
}

TEST_F(X84Writer, AFailingStreamRaises) {
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  EXPECT_THROW(WriteX84(out, *result_.Root, result_.Origin, {"2025-06-02", "14:05:00"}),
               std::runtime_error);
}

}  // namespace
