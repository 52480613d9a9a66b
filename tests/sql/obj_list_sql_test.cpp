#include <gtest/gtest.h>

#include <map>

#include "core/eobj.h"
#include "db/query.h"
#include "tests/sql/sql_schema.h"

namespace {

class ListSql : public SchemaTest {
 protected:
  void SetUp() override {
    SchemaTest::SetUp();
    SqlItem::freed = 0;
  }
  // A stored head H1 with items 1..n.
  std::unique_ptr<SqlHead> StoredHead(int n) {
    auto head = NewHead(&Main(), "H1");
    for (int i = 1; i <= n; ++i) AddItem(*head, i, "Pos " + std::to_string(i), i);
    head->StoreToDB();
    return head;
  }
  std::unique_ptr<SqlHead> Reloaded() {
    auto head = NewHead(&Main(), "");
    head->LoadFromDB({Variant("H1")});
    return head;
  }
  std::vector<std::string> ItemRows() {
    return db->Texts("select HEADID, NR, TEXT, QTY from SQLITEM order by HEADID, NR");
  }
};

TEST_P(ListSql, ThousandChildrenComeBackMemberByMember) {
  auto head = NewHead(&Main(), "H1");
  head->GetMember("NAME").SetAsString("Kopf");
  for (int i = 1; i <= 1000; ++i)
    AddItem(*head, i, "Pos " + std::to_string(i) + " \xE4\xF6\xFC\x80", i * 0.125);
  head->StoreToDB();
  EXPECT_EQ(db->Texts("select count(*) from SQLITEM where HEADID = 'H1'"),
            std::vector<std::string>{"1000"});
  EXPECT_FALSE(head->IsModified());

  auto back = Reloaded();
  EXPECT_EQ(back->GetMember("NAME").GetAsString(), "Kopf");
  const SqlItemList& items = back->ItemList();
  ASSERT_EQ(items.Count(), 1000);
  std::map<int, const KsCustomObj*> byNr;
  for (int i = 0; i < items.Count(); ++i)
    byNr[items.Items(i)->ReadValue("NR").ToInteger()] = items.Items(i);
  ASSERT_EQ(byNr.size(), 1000u);
  const SqlItemList& stored = head->ItemList();
  for (int i = 0; i < stored.Count(); ++i) {
    const KsCustomObj& a = *stored.Items(i);
    const KsCustomObj& b = *byNr.at(a.ReadValue("NR").ToInteger());
    ASSERT_EQ(a.Members.Count(), b.Members.Count());
    for (int m = 0; m < a.Members.Count(); ++m) {
      const KsMember& x = a.Members.Get(m);
      const KsMember& y = b.Members.Get(m);
      EXPECT_TRUE(VarEquals(x.Value, y.Value)) << x.Name() << " of item " << i;
      EXPECT_FALSE(y.Modified);
    }
    EXPECT_EQ(b.StoredKey(1).ToInteger(), a.ReadValue("NR").ToInteger());
    EXPECT_EQ(b.State, osInDatabase | osLoadTried);
  }
  EXPECT_EQ(items.State, osInDatabase | osLoadTried);
  EXPECT_FALSE(Main().InTransaction());
}

TEST_P(ListSql, ItemsLoadTheirChildrenWhileTheListReadsItsRows) {
  for (const char* id : {"H1", "H2", "H3"}) {
    auto head = NewHead(&Main(), id);
    for (int i = 1; i <= 3; ++i) AddItem(*head, i, id, i);
    head->StoreToDB();
  }
  std::unique_ptr<SqlHeadList> heads(
      static_cast<SqlHeadList*>(SqlHeadList::StaticClass().CreateObj(nullptr, {}, &Main())));
  heads->LoadFromDB({});
  ASSERT_EQ(heads->Count(), 3);
  for (int h = 0; h < 3; ++h) {
    const SqlItemList& items = heads->Head(h)->ItemList();
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Items(2)->ReadValue("TEXT").ToString(),
              heads->Head(h)->ReadValue("ID").ToString());
  }
}

TEST_P(ListSql, ObserversHearEveryStepOfLoadStoreAndDelete) {
  StoredHead(2);
  auto head = NewHead(&Main(), "");
  EventLog log(*head);
  head->LoadFromDB({Variant("H1")});
  EXPECT_EQ(log.events, (std::vector<std::string>{"1:0", "2:item 1", "2:item 2", "3:1"}));

  log.events.clear();
  SqlItemList& items = head->ItemList();
  items.Delete(0);
  AddItem(*head, 3, "neu", 3);
  head->StoreToDB();
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"4:1", "7:1", "8:item 1", "9:0", "5:item 3", "6:0"}));
  EXPECT_EQ(ItemRows(), (std::vector<std::string>{"H1|2|Pos 2|2", "H1|3|neu|3"}));

  log.events.clear();
  items.Delete(1);
  head->DeleteFromDB();
  EXPECT_EQ(log.events, (std::vector<std::string>{"7:0", "8:item 3", "9:0"}));
  EXPECT_TRUE(ItemRows().empty());
  EXPECT_TRUE(db->Texts("select ID from SQLHEAD").empty());
}

TEST_P(ListSql, FlagsOrderTheStoreAndKeepRemovedItems) {
  auto head = StoredHead(2);
  SqlItemList& items = head->ItemList();
  EventLog log(*head);
  AddItem(*head, 3, "neu", 3);
  items.Item(0)->GetMember("TEXT").SetAsString("eins");
  items.Insert(0);
  items.Item(0)->GetMember("NR").SetAsInteger(4);
  items.Item(2)->GetMember("TEXT").SetAsString("zwei");  // order now 4, 1, 2, 3
  items.Flags |= ofStoreKnownFirst | ofKeepRemoved;
  items.Delete(3);  // item 3, never stored: stays removed
  items.StoreToDB();
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"4:2", "5:item 1", "5:item 2", "5:item 4", "6:0"}));
  EXPECT_EQ(items.Removed.size(), 1u);
  EXPECT_EQ(ItemRows(),
            (std::vector<std::string>{"H1|1|eins|1", "H1|2|zwei|2", "H1|4|<null>|<null>"}));
}

TEST_P(ListSql, ParentWithoutDescentStoresOnlyItsOwnRow) {
  auto head = NewHead(&Main(), "H1");
  AddItem(*head, 1, "a", 1);
  head->Flags |= ofNoDescend;
  head->StoreToDB();
  EXPECT_EQ(db->Texts("select ID from SQLHEAD"), std::vector<std::string>{"H1"});
  EXPECT_TRUE(ItemRows().empty());

  // The head has nothing left to write, so only its items are stored.
  head->Flags &= static_cast<uint16_t>(~ofNoDescend);
  head->StoreToDB();
  EXPECT_EQ(ItemRows(), std::vector<std::string>{"H1|1|a|1"});
}

TEST_P(ListSql, RemovedItemsAreDeletedAndFreedStoredOrNot) {
  auto head = StoredHead(3);
  SqlItemList& items = head->ItemList();
  AddItem(*head, 9, "nie gespeichert", 9);
  items.Delete(3);
  items.Delete(0);
  items.DeleteRemoved();
  EXPECT_TRUE(items.Removed.empty());
  EXPECT_EQ(SqlItem::freed, 2);
  EXPECT_EQ(ItemRows(), (std::vector<std::string>{"H1|2|Pos 2|2", "H1|3|Pos 3|3"}));
}

TEST_P(ListSql, DeleteFlagsKeepChildrenAndRemovedItems) {
  auto head = StoredHead(3);
  SqlItemList& items = head->ItemList();
  items.Delete(0);
  items.Flags |= ofDeleteKeepsRemoved;
  items.DeleteFromDB();
  EXPECT_EQ(ItemRows(), std::vector<std::string>{"H1|1|Pos 1|1"});
  EXPECT_EQ(items.State & osInDatabase, 0);

  auto other = NewHead(&Main(), "H2");
  AddItem(*other, 1, "bleibt", 1);
  other->StoreToDB();
  other->Flags |= ofDeleteKeepsChildren;
  other->DeleteFromDB();
  EXPECT_EQ(db->Texts("select ID from SQLHEAD"), std::vector<std::string>{"H1"});
  EXPECT_EQ(ItemRows(), (std::vector<std::string>{"H1|1|Pos 1|1", "H2|1|bleibt|1"}));
}

TEST_P(ListSql, InvalidItemsStopTheStoreUnlessValidationIsSkipped) {
  auto head = NewHead(&Main(), "H1");
  SqlItem& item = AddItem(*head, 1, "a", 1);
  item.valid = false;
  SqlItemList& items = head->ItemList();
  EventLog log(*head);
  items.StoreToDB();
  EXPECT_EQ(log.events, (std::vector<std::string>{"4:0", "6:0"}));
  items.Flags |= ofSkipValidate;  // the list goes on, the item still checks itself
  items.StoreToDB();
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"4:0", "6:0", "4:0", "7:0", "9:0", "5:item 1", "6:0"}));
  EXPECT_TRUE(ItemRows().empty());
  item.Flags |= ofSkipValidate;
  items.StoreToDB();
  EXPECT_EQ(ItemRows(), std::vector<std::string>{"H1|1|a|1"});
}

TEST_P(ListSql, AnOpenDataSetAddsItsRowsAfterTheItemsThere) {
  StoredHead(2);
  auto head = NewHead(&Main(), "H1");
  AddItem(*head, 7, "schon da", 7);
  KsQuery q;
  q.SetDatabaseName("main");
  q.AddLine("select * from SQLITEM order by NR desc");
  q.OpenQuery();
  head->ItemList().LoadFromDataSet(q);
  EXPECT_TRUE(q.Active());  // opened by the caller, left open for it
  std::vector<int> nrs;
  for (int i = 0; i < head->ItemList().Count(); ++i)
    nrs.push_back(head->ItemList().Items(i)->ReadValue("NR").ToInteger());
  EXPECT_EQ(nrs, (std::vector<int>{7, 2, 1}));
}

TARVO_ON_BOTH_ENGINES(ListSql);

}  // namespace
