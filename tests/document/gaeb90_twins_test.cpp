#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/lyx_obj.h"
#include "tests/document/gaeb90_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/document_fixture.h"
#include "util/strings.h"
#include "util/trim.h"

namespace {

const std::string kData = TARVO_TEST_DATA_DIR;

// Lines of a GAEB 90 text are cut at 70 columns, a GAEB 2000 text is cut where
// its author pressed return: the words are what must agree.
std::string Words(const std::string& text) {
  std::string words;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\r' || c == '\n' || c == '\t';
    if (blank && (words.empty() || words.back() == ' ')) continue;
    words += blank ? ' ' : c;
  }
  return TrimRight(words);
}

struct Twin {
  const char* gaeb90;
  const char* gaeb2000;
  size_t areas, positions;
};

class Gaeb90TwinTest : public DocumentFixture<::testing::TestWithParam<Twin>> {};

TEST_P(Gaeb90TwinTest, ReadsLikeItsGaeb2000Twin) {
  KsLyxObj twin;
  ASSERT_TRUE(twin.Import(kData + "/real/" + GetParam().gaeb2000)) << twin.LastError;
  ASSERT_TRUE(doc_.Import(kData + "/gaeb90/" + GetParam().gaeb90)) << doc_.LastError;
  EXPECT_TRUE(doc_.IsGaeb90());
  EXPECT_EQ(doc_.ImportWarning, "");
  EXPECT_EQ(doc_.LvInfo->Text("BEZ"), twin.LvInfo->Text("BEZ").substr(0, 40));
  EXPECT_EQ(doc_.LvInfo->Text("DATUM"), twin.LvInfo->Text("DATUM"));
  EXPECT_EQ(doc_.VergabeInfo->Text("WAE"), "EUR");
  // The GAEB 2000 reader cuts the client's name to its field; record 03 keeps 60 columns.
  const std::string client = twin.Ag->Child("ADRESSE")->Text("NAME1");
  EXPECT_EQ(doc_.Ag->Child("ADRESSE")->Text("NAME1").substr(0, client.size()), client);
  EXPECT_EQ(doc_.Ag->Text("DVNR"), twin.Ag->Text("DVNR"));

  const FlatLv ours = Flatten(*doc_.Lv), theirs = Flatten(*twin.Lv);
  EXPECT_EQ(ours.Areas.size(), GetParam().areas);
  EXPECT_EQ(ours.Positions.size(), GetParam().positions);
  ASSERT_EQ(ours.Areas.size(), theirs.Areas.size());
  ASSERT_EQ(ours.Positions.size(), theirs.Positions.size());
  for (size_t i = 0; i < ours.Areas.size(); ++i) {
    const KsGAEBObj &a = *ours.Areas[i], &b = *theirs.Areas[i];
    SCOPED_TRACE("LV-Bereich " + b.Text("OZ"));
    EXPECT_EQ(OzLevels(doc_, a.Text("OZ")), OzLevels(twin, b.Text("OZ")));
    EXPECT_EQ(a.Text("BEZ"), b.Text("BEZ"));
    ASSERT_EQ(ListCount(a, "HINWEIS"), ListCount(b, "HINWEIS"));
    for (int n = 0; n < ListCount(a, "HINWEIS"); ++n)
      EXPECT_EQ(Words(DescriptionText(*a.ChildList("HINWEIS")->Element(n), "LANGTEXT")),
                Words(DescriptionText(*b.ChildList("HINWEIS")->Element(n), "LANGTEXT")));
  }
  for (size_t i = 0; i < ours.Positions.size(); ++i) {
    const KsGAEBObj &a = *ours.Positions[i], &b = *theirs.Positions[i];
    SCOPED_TRACE("Position " + b.Text("OZ"));
    EXPECT_EQ(OzLevels(doc_, a.Text("OZ")), OzLevels(twin, b.Text("OZ")));
    EXPECT_EQ(a.Text("_TARVO_POSTYP"), b.Text("_TARVO_POSTYP"));
    EXPECT_EQ(a.Members.Find("MENGE")->GetAsFloat(), b.Members.Find("MENGE")->GetAsFloat());
    EXPECT_EQ(a.Text("ME"), b.Text("ME"));
    EXPECT_EQ(DescriptionText(a, "KURZTEXT"), DescriptionText(b, "KURZTEXT"));
    EXPECT_EQ(Words(DescriptionText(a, "LANGTEXT")), Words(DescriptionText(b, "LANGTEXT")));
  }
}

INSTANTIATE_TEST_SUITE_P(RealTenders, Gaeb90TwinTest,
                         ::testing::Values(Twin{"LV_Los01.D83", "LV_Los01.P83", 3, 13},
                                           Twin{"LV_Los02.D83", "LV_Los02.P83", 24, 121}));

}  // namespace
