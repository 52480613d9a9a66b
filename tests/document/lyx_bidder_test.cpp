#include <gtest/gtest.h>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"

namespace {

KsLyxObj::BidderValues WindowValues() {
  KsLyxObj::BidderValues values;
  for (size_t i = 0; i < values.size(); ++i) values[i] = "W" + std::to_string(i + 1);
  return values;
}

std::string TenderWithBidderName(const std::string& name1) {
  return Tender(Position("0010", "1", "m"),
                Block("AN", Block("ADRESSE", Field("NAME1", name1) + Field("ORT", "Aalen")) +
                                Field("DVNR", "4711")));
}

using BidderTest = DocumentTest;

TEST_F(BidderTest, WindowValuesFillABidderWithoutName) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"name of blanks", TenderWithBidderName("   ")},
      {"no bidder block", Tender(Position("0010", "1", "m"))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", c.text))) << doc_.LastError;
    EXPECT_FALSE(doc_.MergeBidderData(WindowValues()));
    EXPECT_EQ(doc_.BidderData(), WindowValues());
    const KsGAEBObj* address = doc_.An->Child("ADRESSE");
    for (const EntryField& field : kBidderFields) {
      const KsGAEBObj* holder = InAddress(field) ? address : doc_.An;
      EXPECT_EQ(holder->Text(field.Member), WindowValues()[BidderIndex(field.Member)])
          << field.Member;
    }
  }
}

TEST_F(BidderTest, FileWithBidderNameWins) {
  ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", TenderWithBidderName("Bau GmbH"))));
  EXPECT_TRUE(doc_.MergeBidderData(WindowValues()));
  KsLyxObj::BidderValues expected;
  expected[BidderIndex("NAME1")] = "Bau GmbH";
  expected[BidderIndex("ORT")] = "Aalen";
  expected[BidderIndex("DVNR")] = "4711";
  EXPECT_EQ(doc_.BidderData(), expected);
}

TEST_F(BidderTest, NothingLoadedNothingMerged) {
  EXPECT_FALSE(doc_.MergeBidderData(WindowValues()));
  EXPECT_EQ(doc_.BidderData(), KsLyxObj::BidderValues{});
}

}  // namespace
