#include "document/offer_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/tender_generator.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
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
  EXPECT_GT(steps, 2);
  EXPECT_TRUE(inSteps.PrepareSome(3));
  for (const char* query : {"1.10", "010010", "2", "erschwerniszulage", "Bauzaun", "0010"}) {
    SCOPED_TRACE(query);
    const std::vector<std::string> expected = Found(atOnce, query);
    EXPECT_EQ(Found(inSteps, query), expected);
    EXPECT_EQ(Found(halfway, query), expected);
  }
  EXPECT_FALSE(Found(atOnce, "erschwerniszulage").empty());
}

// A larger tender: a position is found by words from the middle of its
// texts, and exactly the positions whose folded texts hold them are found.
TEST_F(OfferSearchTest, FindsExactlyThePositionsWhoseTextsHoldTheWords) {
  const std::string file = dir_.Path("gross.d83");
  WriteSyntheticTenderFile(file, NestedTender(4000));
  ASSERT_TRUE(doc_.Import(file)) << doc_.LastError;
  std::vector<std::pair<std::string, std::string>> positions;  // OZ, folded texts
  WalkLv(
      doc_, [](const KsGAEBObj&, int) {},
      [&](const KsGAEBObj& position) {
        positions.emplace_back(
            Trim(position.Text("OZ")),
            OfferSearch::Folded(position.Text("OZ") + " " + position.Text("BEZ") + " " +
                                LongText(position)));
      });
  ASSERT_EQ(positions.size(), 4000u);

  OfferSearch search(doc_);
  for (const size_t at : {size_t{0}, size_t{1777}, size_t{3999}}) {
    // Two words from the middle of the position's texts, as the estimator would type them.
    std::vector<std::string> words;
    for (size_t from = 0; from < positions[at].second.size();) {
      const size_t blank =
          std::min(positions[at].second.find(' ', from), positions[at].second.size());
      if (blank > from) words.push_back(positions[at].second.substr(from, blank - from));
      from = blank + 1;
    }
    ASSERT_GT(words.size(), 4u);
    const std::string& first = words[words.size() / 2];
    const std::string& second = words[words.size() / 2 + 1];
    SCOPED_TRACE(first + " " + second);
    std::vector<std::string> expected;
    for (const auto& [oz, folded] : positions)
      if (folded.find(first) != std::string::npos && folded.find(second) != std::string::npos)
        expected.push_back(oz);
    std::vector<std::string> found;  // the positions among the hits
    for (const KsGAEBObj* hit : search.FindAll(first + " " + second))
      if (IsPositionRow(hit)) found.push_back(Trim(hit->Text("OZ")));
    EXPECT_EQ(found, expected);
    EXPECT_NE(std::find(found.begin(), found.end(), positions[at].first), found.end());
  }
}

// A long text in RTF is searched as the grid shows it: by its words, its
// umlauts written as control words too, and not by the control words.
TEST_F(OfferSearchTest, FindsRichTextByTheWordsItShows) {
  ASSERT_TRUE(doc_.Import(kData + "/real/LV_Los01.P83")) << doc_.LastError;
  OfferSearch search(doc_);
  std::vector<KsGAEBObj*> positions;
  for (KsGAEBObj* hit : search.FindAll("erschwerniszulage"))
    if (IsPositionRow(hit)) positions.push_back(hit);
  ASSERT_FALSE(positions.empty());
  KsGAEBObj& position = *positions.front();
  const std::string rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Fenstert\\'fcr\\par Zarge aus Eiche}";
  position.Child("BESCHREIBUNG")->GetMember("LANGTEXT").SetAsString(rtf);
  const std::vector<std::string> oz{Trim(position.Text("OZ"))};
  EXPECT_EQ(Found(search, "fenstertuer eiche"), oz);
  EXPECT_EQ(Found(search, "T\xDCR zarge"), oz);
  EXPECT_TRUE(Found(search, "fonttbl").empty());
  EXPECT_TRUE(Found(search, "arial").empty());
  EXPECT_TRUE(Found(search, "tuerzarge").empty()) << "the paragraph end parts the words";
  EXPECT_EQ(position.Child("BESCHREIBUNG")->Text("LANGTEXT"), rtf);
}

}  // namespace
