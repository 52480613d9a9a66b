#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "gaeb/file_write_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_obj.h"
#include "tests/sql/test_database.h"

namespace {

// A GAEB element stored through the object model's persistence keeps its
// children on its members; the key bookkeeping of storing and deleting must
// leave them there.
class ElementTreeSql : public EngineTest {
 protected:
  static void SetUpTestSuite() { RegisterGaebDescriptors(); }
  void SetUp() override {
    EngineTest::SetUp();
    if (HasFatalFailure()) return;
    db->Exec(
        {"create table GAEBAN (ADRESSE varchar(40), DVNR varchar(8) primary key, "
         "ZUSTEXT varchar(40))"});
    bidder.reset(AsElement(GaebClasses().CreateObj("GAEBAN", nullptr, {}, &Main())));
    ASSERT_NE(bidder, nullptr);
    // Only the bidder has a table: its children are not stored with it.
    bidder->Flags |= ofNoDescend | ofDeleteKeepsChildren;
    bidder->SetPKNames("DVNR");
    bidder->Members.FindOrMake("DVNR")->SetAsString("4711");
    address = bidder->ChildOrNew("ADRESSE", nullptr);
    ASSERT_NE(address, nullptr);
    address->Members.FindOrMake("NAME1")->SetAsString("Bau GmbH");
    ASSERT_NE(bidder->NewListItem("ZUSTEXT", nullptr), nullptr);
    notes = bidder->ChildList("ZUSTEXT");
  }
  static std::string Written(KsGAEBObj& element) {
    std::ostringstream out;
    KsFileWriteGaeb00 writer(out);
    element.WriteElement(writer);
    writer.Flush();
    return out.str();
  }
  void ExpectChildrenKept(const std::string& written) {
    EXPECT_EQ(bidder->Child("ADRESSE"), address);
    EXPECT_EQ(bidder->ChildList("ZUSTEXT"), notes);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->Count(), 1);
    EXPECT_EQ(Written(*bidder), written);
  }
  std::unique_ptr<KsGAEBObj> bidder;
  KsGAEBObj* address = nullptr;
  KsGAEBObjList* notes = nullptr;
};

TEST_P(ElementTreeSql, StoringAndClearingTheStoredKeysKeepsEveryChild) {
  const std::string written = Written(*bidder);
  ASSERT_NE(written.find("Bau GmbH"), std::string::npos) << written;
  bidder->StoreToDB();
  EXPECT_EQ(db->Texts("select DVNR, ADRESSE, ZUSTEXT from GAEBAN"),
            std::vector<std::string>{"4711|GAEBADRESSE|GAEBZUSTEXTLIST"});
  EXPECT_EQ(bidder->StoredKey(0).ToString(), "4711");
  ExpectChildrenKept(written);

  bidder->ClearStoredKeys();
  EXPECT_TRUE(bidder->StoredKey(0).IsNull());
  ExpectChildrenKept(written);
}

TEST_P(ElementTreeSql, DeletingTheRowKeepsEveryChild) {
  const std::string written = Written(*bidder);
  bidder->StoreToDB();
  bidder->DeleteFromDB();  // clears the stored keys once the row is gone
  EXPECT_TRUE(db->Texts("select DVNR from GAEBAN").empty());
  EXPECT_TRUE(bidder->StoredKey(0).IsNull());
  ExpectChildrenKept(written);
}

TARVO_ON_BOTH_ENGINES(ElementTreeSql);

}  // namespace
