#include "document/offer_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "util/trim.h"

namespace {

const std::string kData = TARVO_TEST_DATA_DIR;

std::vector<std::string> Found(OfferSearch& search, const std::string& query) {
  std::vector<std::string> found;
  for (const KsGAEBObj* element : search.FindAll(query)) found.push_back(Trim(element->Text("OZ")));
  return found;
}

using OfferSearchTest = DocumentTest;

// One LV in its three formats: the OZ however written, words of short and
// long texts whatever their case and umlauts, and digits that are no OZ
// looked for in the texts.
TEST_F(OfferSearchTest, FindsByOzAndWordsInEveryFormat) {
  const struct {
    const char* file;
    const char* position;  // the stored OZ of position 10 in area 1, trimmed
    const char* area;      // area 2
  } formats[] = {{"/real/LV_Los01.P83", "010010", "02"},
                 {"/xml-real/LV_Los01.X83", "1  10", "2"},
                 {"/gaeb90/LV_Los01.D83", "1  10", "2"}};
  for (const auto& format : formats) {
    SCOPED_TRACE(format.file);
    ASSERT_TRUE(doc_.Import(kData + format.file)) << doc_.LastError;
    OfferSearch search(doc_);
    for (const char* oz : {"1.10", "01.0010", "1 10", "010010"})
      EXPECT_EQ(Found(search, oz), std::vector<std::string>{format.position}) << oz;
    EXPECT_EQ(Found(search, "2"), std::vector<std::string>{format.area});
    EXPECT_EQ(Found(search,
                    "anlaufberatung BAUFELD\xDC"
                    "BERGABE"),
              std::vector<std::string>{format.position});
    EXPECT_EQ(Found(search, "ANLAUFBERATUNG baufelduebergabe"),
              std::vector<std::string>{format.position});
    EXPECT_TRUE(Found(search, "Bauzaun").empty());
    EXPECT_TRUE(Found(search, "   ").empty());
  }
}

// Next and previous wrap round; the hit searched from comes last.
TEST_F(OfferSearchTest, NextAndPreviousWrapRound) {
  ASSERT_TRUE(doc_.Import(kData + "/real/LV_Los01.P83")) << doc_.LastError;
  OfferSearch search(doc_);
  const std::vector<KsGAEBObj*> all = search.FindAll("erschwerniszulage");
  ASSERT_GE(all.size(), 2u);
  const int count = static_cast<int>(all.size());
  const auto found = [&](const KsGAEBObj* from, bool forward, const KsGAEBObj* element,
                         int number) {
    const OfferSearch::Hit hit = search.Find("erschwerniszulage", from, forward);
    EXPECT_EQ(hit.element, element);
    EXPECT_EQ(hit.number, number);
    EXPECT_EQ(hit.count, count);
  };
  found(nullptr, true, all.front(), 1);
  found(nullptr, false, all.back(), count);
  found(all.back(), true, all.front(), 1);
  found(all.front(), false, all.back(), count);
  found(all[0], true, all[1], 2);
  found(all[1], false, all[0], 1);
  // From a row that is no hit (the area above the first hit): the next hit.
  found(all[0]->ParentElement(), true, all[0], 1);
  EXPECT_EQ(search.Find("Bauzaun", all[0], true).element, nullptr);
  EXPECT_EQ(search.Find("Bauzaun", all[0], true).count, 0);
}

// Prepared a few elements at a time, as the window does while the user does
// nothing, the search finds what a search prepared at once finds; a search
// in the middle of the preparation too.
TEST_F(OfferSearchTest, PreparedInStepsFindsTheSame) {
  ASSERT_TRUE(doc_.Import(kData + "/real/LV_Los01.P83")) << doc_.LastError;
  OfferSearch atOnce(doc_);
  OfferSearch halfway(doc_);
  OfferSearch inSteps(doc_);
  EXPECT_FALSE(halfway.PrepareSome(5));
  int steps = 1;
  while (!inSteps.PrepareSome(3)) ++steps;
  EXPECT_GT(steps, 10);
  EXPECT_TRUE(inSteps.PrepareSome(3));
  for (const char* query : {"1.10", "010010", "2", "erschwerniszulage", "Bauzaun", "0010"}) {
    SCOPED_TRACE(query);
    const std::vector<std::string> expected = Found(atOnce, query);
    EXPECT_EQ(Found(inSteps, query), expected);
    EXPECT_EQ(Found(halfway, query), expected);
  }
  EXPECT_FALSE(Found(atOnce, "erschwerniszulage").empty());
}

}  // namespace
