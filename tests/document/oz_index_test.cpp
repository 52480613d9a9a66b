#include "document/oz_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "tests/support/tender_files.h"
#include "util/trim.h"

namespace {

const std::string kData = TARVO_TEST_DATA_DIR;

// The trimmed stored OZ of what the text finds.
std::vector<std::string> Found(const OzIndex& index, const std::string& oz) {
  std::vector<std::string> found;
  for (const KsGAEBObj* element : index.Find(oz)) found.push_back(Trim(element->Text("OZ")));
  return found;
}

using OzIndexTest = DocumentTest;

// The one real LV in its three formats stores the OZ of position 10 in area
// 1 as "010010" (GAEB 2000) and " 1  10" (GAEB DA XML, GAEB 90); every way
// an estimator writes it finds that position and nothing else.
TEST_F(OzIndexTest, EveryWritingFindsThePositionInEveryFormat) {
  const struct {
    const char* file;
    const char* stored;  // trimmed
    const char* area3;
  } formats[] = {{"/real/LV_Los01.P83", "010010", "03"},
                 {"/xml-real/LV_Los01.X83", "1  10", "3"},
                 {"/gaeb90/LV_Los01.D83", "1  10", "3"}};
  for (const auto& format : formats) {
    SCOPED_TRACE(format.file);
    ASSERT_TRUE(doc_.Import(kData + format.file)) << doc_.LastError;
    const OzIndex index(doc_);
    for (const char* oz : {"1.10", "01.0010", "1 10", "010010", " 1  10", "1.0010", "01.10"}) {
      SCOPED_TRACE(oz);
      EXPECT_EQ(Found(index, oz), std::vector<std::string>{format.stored});
    }
    EXPECT_EQ(Found(index, "3"), std::vector<std::string>{format.area3});
    EXPECT_EQ(Found(index, "03"), std::vector<std::string>{format.area3});
    for (const char* nothing : {"1.11", "4.10", "110", "0100100", "1.10.1.1", "", "."})
      EXPECT_TRUE(index.Find(nothing).empty()) << nothing;
    const std::vector<KsGAEBObj*> found = index.Find("2.30");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(index.Key(*found[0]), "2.30");
    EXPECT_EQ(index.Find(index.Key(*found[0])), found);
  }
}

// Under the mask 1122PPPPX a position may stand directly in an area of the
// first level (its second level blank) and carry an index; "1.10" then fits
// the sub-area 01.10 and that position alike, and the refusal names both.
TEST_F(OzIndexTest, MaskWithTwoLevelsAndIndex) {
  ASSERT_TRUE(Load(Tender(Area("01", "Rohbau",
                               Area("0110", "Mauerwerk", Position("01100020A", "3", "m")) +
                                   Position("01  0010", "2", "m")) +
                          Position("    0030", "1", "St"))));
  const OzIndex index(doc_);
  EXPECT_EQ(Found(index, "1.10.20.A"), std::vector<std::string>{"01100020A"});
  EXPECT_EQ(Found(index, "01100020A"), std::vector<std::string>{"01100020A"});
  EXPECT_EQ(Found(index, "1 10 20 A"), std::vector<std::string>{"01100020A"});
  EXPECT_TRUE(Found(index, "1.10.20").empty());
  EXPECT_EQ(Found(index, "1..10"), std::vector<std::string>{"01  0010"});
  EXPECT_EQ(Found(index, "01  0010"), std::vector<std::string>{"01  0010"});
  EXPECT_EQ(Found(index, "30"), std::vector<std::string>{"0030"});
  EXPECT_EQ(Found(index, "..30"), std::vector<std::string>{"0030"});
  const std::vector<KsGAEBObj*> both = index.Find("1.10");
  ASSERT_EQ(Found(index, "1.10"), (std::vector<std::string>{"0110", "01  0010"}));
  EXPECT_EQ(OzIndex::Ambiguous("1.10", both),
            "1.10 passt im LV auf mehrere Stellen: LV-Bereich \"Mauerwerk\" in LV-Bereich 01 und "
            "Position \"\" in LV-Bereich 01; nicht \xFC"
            "bernommen");
}

// A tender without a mask, or with one its numbers do not fit, is found by
// its levels as written and by its OZ exactly as stored.
TEST_F(OzIndexTest, NumbersThatFitNoMask) {
  const std::string lv =
      Block("LVINFO", Field("NAME", "01")) +
      Area("A", "Rohbau", Position("A.001", "1", "m") + Position("B7", "1", "m"));
  ASSERT_TRUE(Load(Block("GAEB", Block("GAEBINFO", Field("VERSION", "1.2")) +
                                     Block("VERGABE", Field("DP", "83") + Block("LV", lv)))));
  const OzIndex index(doc_);
  EXPECT_EQ(Found(index, "A.1"), std::vector<std::string>{"A.001"});
  EXPECT_EQ(Found(index, "A 001"), std::vector<std::string>{"A.001"});
  EXPECT_EQ(Found(index, "B7"), std::vector<std::string>{"B7"});
  EXPECT_EQ(Found(index, "A"), std::vector<std::string>{"A"});
}

// Built a step at a time, the index finds what it has indexed so far, and
// once it is whole what the index built at once finds, in the LV's order.
TEST_F(OzIndexTest, BuiltInStepsFindsWhatItHasIndexed) {
  ASSERT_TRUE(doc_.Import(kData + "/real/LV_Los01.P83")) << doc_.LastError;
  const OzIndex whole(doc_);
  OzIndex steps(doc_, OzIndex::InSteps());
  const std::vector<std::string> queries = {"1.10", "2.30", "3", "010010", "2"};
  std::vector<size_t> foundAt(queries.size(), 0);  // the step from which each is found
  size_t step = 0;
  for (bool done = false; !done;) {
    done = steps.IndexSome(1);
    ++step;
    for (size_t q = 0; q < queries.size(); ++q)
      if (foundAt[q] == 0 && !steps.Find(queries[q]).empty()) foundAt[q] = step;
  }
  EXPECT_GT(step, 10u);
  for (size_t q = 0; q < queries.size(); ++q) {
    SCOPED_TRACE(queries[q]);
    EXPECT_GT(foundAt[q], 1u);
    EXPECT_LT(foundAt[q], step);
    EXPECT_EQ(steps.Find(queries[q]), whole.Find(queries[q]));
  }
  EXPECT_LT(foundAt[0], foundAt[1]) << "position 1.10 stands before 2.30 in the LV";
  const std::vector<KsGAEBObj*> area2 = whole.Find("2");
  ASSERT_EQ(area2.size(), 1u);
  EXPECT_EQ(whole.Key(*area2[0]), "2");
}

}  // namespace
