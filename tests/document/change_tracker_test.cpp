#include <gtest/gtest.h>

#include <functional>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/document_fixture.h"

namespace {

// Area 01 with a discount of 100,00 and two positions, the first priced.
std::string PricedTender() {
  return Tender(
      Area("01", "Rohbau",
           Field("NACHLASSABS", "100") + Position("01.0010", "10", "m3", Field("EP", "12,5")) +
               Position("01.0020", "2", "St")),
      Block("AN", Block("ADRESSE", Field("NAME1", "Muster Bau"))));
}

class ChangeTrackerTest : public DocumentTest {
 public:
  void SetUp() override { ASSERT_TRUE(Load(PricedTender())); }
  KsGAEBObj& Area() { return *doc_.LvAreas->Element(0); }
  KsGAEBObj& Position(int i) { return *Area().ChildList("POSITION")->Element(i); }
  KsGAEBObj& Address() { return *doc_.An->Child("ADRESSE"); }
  // An edit as the window makes it: the element is noted, then changed.
  void Edit(KsGAEBObj& element, const std::function<void()>& change) {
    doc_.NoteEdit(element);
    change();
  }
};

TEST_F(ChangeTrackerTest, AnOpenedTenderIsUnchanged) { EXPECT_FALSE(doc_.Modified()); }

TEST_F(ChangeTrackerTest, EveryKindOfEntryCounts) {
  const struct {
    const char* name;
    std::function<void(ChangeTrackerTest&)> edit;
  } cases[] = {
      {"unit price",
       [](ChangeTrackerTest& t) {
         t.Edit(t.Position(1), [&] { SetPositionValue(t.Position(1), "7", "EP"); });
       }},
      {"position discount",
       [](ChangeTrackerTest& t) {
         t.Edit(t.Position(0), [&] { SetPositionValue(t.Position(0), "3", "NACHLASSPROZ"); });
       }},
      {"area discount",
       [](ChangeTrackerTest& t) {
         t.Edit(t.Area(), [&] { SetAreaDiscount(t.Area(), "50", "NACHLASSABS"); });
       }},
      {"VAT rate",
       [](ChangeTrackerTest& t) {
         t.Edit(*t.doc_.LvInfo, [&] { t.doc_.LvInfo->GetMember("UST").SetAsFloat(7); });
       }},
      {"bidder field",
       [](ChangeTrackerTest& t) {
         t.Edit(t.Address(), [&] { t.Address().GetMember("ORT").SetAsString("Ulm"); });
       }},
      {"offer date",
       [](ChangeTrackerTest& t) {
         t.Edit(*t.doc_.VergabeInfo,
                [&] { t.doc_.VergabeInfo->GetMember("ANGEBDATUM").SetAsString("01.04.2026"); });
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.edit(*this);
    EXPECT_TRUE(doc_.Modified());
    doc_.MarkSaved();
    EXPECT_FALSE(doc_.Modified());
  }
}

// Typing the old price again leaves nothing to save; so does an entry that
// rounds to the stored value.
TEST_F(ChangeTrackerTest, ValuesTypedBackAreNoChange) {
  Edit(Position(0), [&] { SetPositionValue(Position(0), "13", "EP"); });
  EXPECT_TRUE(doc_.Modified());
  Edit(Position(0), [&] { SetPositionValue(Position(0), "12,5", "EP"); });
  EXPECT_FALSE(doc_.Modified());
  Edit(Position(0), [&] { SetPositionValue(Position(0), "12,5001", "EP"); });
  EXPECT_FALSE(doc_.Modified());
}

// A percentage discount clears the amount discount; taking the percentage
// back does not bring the amount back, so the area stays changed.
TEST_F(ChangeTrackerTest, ValuesAnEntryClearedCount) {
  Edit(Area(), [&] { SetAreaDiscount(Area(), "5", "NACHLASSPROZ"); });
  Edit(Area(), [&] { SetAreaDiscount(Area(), "0", "NACHLASSPROZ"); });
  EXPECT_TRUE(doc_.Modified());
  Edit(Area(), [&] { SetAreaDiscount(Area(), "100", "NACHLASSABS"); });
  EXPECT_FALSE(doc_.Modified());
}

TEST_F(ChangeTrackerTest, SavingMakesTheNewValuesTheFilesOnes) {
  Edit(Position(1), [&] { SetPositionValue(Position(1), "7", "EP"); });
  doc_.MarkSaved();
  Edit(Position(1), [&] { SetPositionValue(Position(1), "0", "EP"); });
  EXPECT_TRUE(doc_.Modified());
  Edit(Position(1), [&] { SetPositionValue(Position(1), "7", "EP"); });
  EXPECT_FALSE(doc_.Modified());
}

// The next import forgets the elements of the old tree.
TEST_F(ChangeTrackerTest, OpeningAgainStartsUnchanged) {
  Edit(Position(1), [&] { SetPositionValue(Position(1), "7", "EP"); });
  ASSERT_TRUE(doc_.Import(dir_.Write("lv2.d83", PricedTender())));
  EXPECT_FALSE(doc_.Modified());
}

}  // namespace
