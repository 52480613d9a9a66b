#include <gtest/gtest.h>

#include <map>
#include <pugixml.hpp>
#include <string>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/xml_identity.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/document_fixture.h"
#include "tests/support/x84_sums.h"

namespace {

// The official test tender opened as a user opens it, priced as typed in the
// grid, saved and read back as XML. Expected amounts are exact decimals
// worked out by hand: quantity x unit price, rounded half up to the cent.
struct PricedItem {
  const char* oz;
  const char* ep;  // as typed, German format
  const char* up;  // UP of the answer
  const char* it;  // IT of the answer
};

constexpr PricedItem kPrices[] = {
    {"0010010010", "5000", "5000.000", "5000.00"},
    {"00100100101", "500", "500.000", "500.00"},
    {"0010010010A", "600", "600.000", "600.00"},
    {"0010020010", "5", "5.000", "2250.00"},
    {"0010020020", "6", "6.000", "43200.00"},
    {"0010020030", "0,01", "0.010", "123456.78"},  // 12,345,678.012 m2
    {"0010020040", "11", "11.000", "13695.00"},
    {"0010020050", "12", "12.000", "14940.00"},  // alternative: in no sum
    {"0010030010", "50", "50.000", "22000.00"},
    {"0010030020", "60", "60.000", "21000.00"},
    {"0010030030", "470", "470.000", "352500.00"},
    {"0010030040", "475", "475.000", "371939.25"},
    {"0010040010", "77", "77.000", "38500.00"},
    {"0010040020", "78", "78.000", "39000.00"},
    {"0010040030", "99,999", "99.999", "26699.73"},
    {"0020000000", "1234,5", "1234.500", "1234.50"},
    {"0020010010", "1,23", "1.230", "553500.00"},
    {"0020010020", "1,456", "1.456", "291200.00"},
    {"0020010040", "17,5", "17.500", "1750.00"},
    {"0020020010", "345,67", "345.670", "1728.35"},
    {"0020020020", "412,3", "412.300", "3298.40"},
    {"0020020030", "298,99", "298.990", "896.97"},
    {"0020020050", "12,345", "12.345", "1234.50"},
    {"0020030010", "4321", "4321.000", "4321.00"},
    {"9999999999", "85,5", "85.500", "85.50"},
    {"9999999999y", "62,25", "62.250", "622.50"},
    {"9999999999z", "45,125", "45.125", "451.25"},
};

// Totals of every category by its full number: Total and, where discounted,
// DiscountPcnt / DiscountAmt and TotAfterDisc.
struct CategoryTotals {
  const char* oz;
  const char* total;
  const char* discountPcnt;
  const char* discountAmt;
  const char* afterDiscount;
};

constexpr CategoryTotals kCategories[] = {
    {"001", "1059340.76", "", "", ""},
    {"001001", "6100.00", "", "", ""},
    {"001002", "182601.78", "", "1000.00", "181601.78"},
    {"001003", "767439.25", "", "", ""},
    {"001004", "104199.73", "", "", ""},
    {"002", "858948.97", "", "", ""},
    {"002000", "1234.50", "", "", ""},
    {"002001", "846450.00", "", "", ""},
    {"002002", "7158.22", "3", "", "6943.47"},
    {"002003", "4321.00", "", "", ""},
    {"999", "1159.25", "", "", ""},
    {"999999", "1159.25", "", "", ""},
};

std::string Text(const pugi::xml_node& node, const char* child) {
  return Sub(node, child).child_value();
}

// Items and categories of the answer by ID, with the full number of each
// category built from the RNoParts above it.
struct Answer {
  std::map<std::string, pugi::xml_node> items;
  std::map<std::string, pugi::xml_node> categories;  // by full number
  int markups = 0;

  void Walk(const pugi::xml_node& body, const std::string& oz) {
    for (pugi::xml_node e = body.first_child(); e; e = e.next_sibling()) {
      if (Local(e) == "BoQCtgy") {
        const std::string full = oz + e.attribute("RNoPart").value();
        categories[full] = e;
        Walk(Sub(e, "BoQBody"), full);
      }
      if (Local(e) != "Itemlist") continue;
      for (pugi::xml_node item = e.first_child(); item; item = item.next_sibling()) {
        if (Local(item) == "Item") items[item.attribute("ID").value()] = item;
        markups += Local(item) == "MarkupItem";
      }
    }
  }
};

class OfficialOffer : public DocumentTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(doc_.Import(kOfficialX83)) << doc_.LastError;
    const FlatLv flat = Flatten(*doc_.Lv);
    for (KsGAEBObj* p : flat.Positions) positions_[p->Text("OZ")] = p;
    for (KsGAEBObj* a : flat.Areas) areas_[a->Text("OZ")] = a;
    for (const PricedItem& row : kPrices) {
      ASSERT_TRUE(positions_.count(row.oz)) << row.oz;
      SetPositionValue(*positions_[row.oz], row.ep, "EP");
    }
    SetAreaDiscount(*areas_.at("001002"), "1000", "NACHLASSABS");
    SetAreaDiscount(*areas_.at("002002"), "3", "NACHLASSPROZ");
    SetVatRate(*doc_.Lv, "19");
    KsLyxObj::BidderValues bidder{};
    bidder[BidderIndex("NAME1")] = "Bau M\xFCller GmbH";
    bidder[BidderIndex("STRASSE")] =
        "Hauptstra\xDF"
        "e 1";
    bidder[BidderIndex("VERGNR")] = "BMVBS-1234";
    EXPECT_FALSE(doc_.MergeBidderData(bidder));
    ASSERT_TRUE(doc_.ExportD84(dir_.Path("angebot.X84"))) << doc_.LastError;
    x84_ = ReadFile(dir_.Path("angebot.X84"));
    ASSERT_TRUE(xml_.load_string(x84_.c_str()));
    award_ = Sub(xml_.document_element(), "Award");
    answer_.Walk(Sub(Sub(award_, "BoQ"), "BoQBody"), "");
  }

  std::map<std::string, KsGAEBObj*> positions_, areas_;
  std::string x84_;
  pugi::xml_document xml_;
  pugi::xml_node award_;
  Answer answer_;
};

TEST_F(OfficialOffer, EveryItemAnswersWithItsPriceAndAmount) {
  EXPECT_EQ(answer_.items.size(), std::size(kPrices));
  for (const PricedItem& row : kPrices) {
    const KsGAEBObj& position = *positions_.at(row.oz);
    const pugi::xml_node item = answer_.items[position.Text(kXmlIdMember)];
    ASSERT_TRUE(item) << row.oz;
    EXPECT_STREQ(item.attribute("RNoPart").value(), position.Text(kXmlRNoPartMember).c_str());
    EXPECT_EQ(Text(item, "UP"), row.up) << row.oz;
    EXPECT_EQ(Text(item, "IT"), row.it) << row.oz;
    EXPECT_FALSE(Sub(item, "UPComp1")) << row.oz << ": no breakdown was asked for";
  }
  EXPECT_EQ(answer_.markups, 1);
}

TEST_F(OfficialOffer, CategoryAndBoQTotalsAddUpToTheCent) {
  EXPECT_EQ(answer_.categories.size(), std::size(kCategories));
  for (const CategoryTotals& row : kCategories) {
    const pugi::xml_node totals = Sub(answer_.categories[row.oz], "Totals");
    ASSERT_TRUE(totals) << row.oz;
    EXPECT_EQ(Text(totals, "Total"), row.total) << row.oz;
    EXPECT_EQ(Text(totals, "DiscountPcnt"), row.discountPcnt) << row.oz;
    EXPECT_EQ(Text(totals, "DiscountAmt"), row.discountAmt) << row.oz;
    EXPECT_EQ(Text(totals, "TotAfterDisc"), row.afterDiscount) << row.oz;
  }
  const pugi::xml_node totals = Sub(Sub(Sub(award_, "BoQ"), "BoQInfo"), "Totals");
  EXPECT_EQ(Text(totals, "Total"), "1919448.98");
  EXPECT_EQ(Text(totals, "VAT"), "19");
  EXPECT_EQ(Text(totals, "VATAmount"), "364695.31");
  EXPECT_EQ(Text(totals, "TotalGross"), "2284144.29");

  // The same once more from the answer and the tender alone.
  X84Sums sums;
  sums.ReadTender(ReadFile(kOfficialX83));
  sums.ReadAnswer(x84_);
  ASSERT_TRUE(sums.wellFormed);
  for (const auto& [id, cents] : sums.itemItCents) EXPECT_EQ(cents, sums.itemExpectedCents[id]);
  for (const auto& [id, total] : sums.categoryTotal) EXPECT_EQ(total, sums.categorySum[id]) << id;
  EXPECT_EQ(sums.boqTotal, sums.boqSum);
}

TEST_F(OfficialOffer, TheFrameAnswersTheTender) {
  const pugi::xml_node gaeb = xml_.document_element();
  EXPECT_STREQ(gaeb.attribute("xmlns").value(), "http://www.gaeb.de/GAEB_DA_XML/DA84/3.3");
  const pugi::xml_node info = Sub(gaeb, "GAEBInfo");
  EXPECT_EQ(Text(info, "Version"), "3.3");
  EXPECT_EQ(Text(info, "ProgSystem"), "Tarvo f\xC3\xBCr Windows");
  EXPECT_EQ(Text(info, "ProgName"), "Quorva");
  EXPECT_EQ(Text(Sub(gaeb, "PrjInfo"), "NamePrj"), "BVBS GAEB Muster");
  EXPECT_EQ(Text(award_, "DP"), "84");
  EXPECT_EQ(Text(Sub(award_, "AwardInfo"), "Cur"), "EUR");
  const pugi::xml_node ctr = Sub(award_, "CTR");
  EXPECT_EQ(Text(Sub(ctr, "Address"), "Name1"), "Bau M\xC3\xBCller GmbH");
  EXPECT_EQ(Text(Sub(ctr, "Address"), "Street"),
            "Hauptstra\xC3\x9F"
            "e 1");
  EXPECT_EQ(Text(ctr, "AwardNo"), "BMVBS-1234");
  EXPECT_STREQ(Sub(award_, "BoQ").attribute("ID").value(), doc_.Lv->Text(kXmlIdMember).c_str());
}

// Names of the child elements in order, without those whose values differ
// between the two answers only by when they were written.
std::string Children(const pugi::xml_node& node) {
  std::string names;
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && Local(c) != "Date" && Local(c) != "Time")
      names += std::string(Local(c)) + " ";
  return names;
}

// The published answer to an earlier edition of the tender shows which
// elements an X84 carries and in which order; ours has the same shape.
// (Optional elements such as an empty CurLbl may differ.)
TEST_F(OfficialOffer, ShapedLikeThePublishedAnswer) {
  pugi::xml_document published;
  ASSERT_TRUE(published.load_file(kOfficialX84.c_str()));
  const pugi::xml_node theirs = published.document_element(), ours = xml_.document_element();
  EXPECT_STREQ(ours.attribute("xmlns").value(), theirs.attribute("xmlns").value());
  EXPECT_EQ(Children(ours), Children(theirs));
  EXPECT_EQ(Children(Sub(ours, "GAEBInfo")), Children(Sub(theirs, "GAEBInfo")));
  const pugi::xml_node theirAward = Sub(theirs, "Award");
  EXPECT_EQ(Children(award_), Children(theirAward));
  EXPECT_EQ(Children(Sub(Sub(award_, "CTR"), "Address")).substr(0, 6), "Name1 ");
  EXPECT_EQ(Children(Sub(award_, "BoQ")), Children(Sub(theirAward, "BoQ")));
  const pugi::xml_node ourInfo = Sub(Sub(award_, "BoQ"), "BoQInfo");
  const pugi::xml_node theirInfo = Sub(Sub(theirAward, "BoQ"), "BoQInfo");
  EXPECT_EQ(Children(Sub(ourInfo, "Totals")), Children(Sub(theirInfo, "Totals")));
  EXPECT_EQ(Children(Sub(ourInfo, "BoQBkdn")), Children(Sub(theirInfo, "BoQBkdn")));
  // Each item answers with UP then IT, each category with BoQBody then Totals.
  EXPECT_EQ(Children(answer_.items.begin()->second), "UP IT ");
  const pugi::xml_node category = answer_.categories["001001"];
  EXPECT_EQ(Children(category), "BoQBody Totals ");
  EXPECT_STREQ(category.attribute("RNoPart").value(), "001");
  EXPECT_TRUE(category.attribute("ID"));
}

}  // namespace
