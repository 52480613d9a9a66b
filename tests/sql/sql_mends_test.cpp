#include <gtest/gtest.h>

#include "core/eobj.h"
#include "db/db_error.h"
#include "db/query.h"
#include "tests/sql/sql_schema.h"

namespace {

// A list is stored or deleted entirely or not at all, and a failed load
// leaves no transaction open.
class SqlMends : public SchemaTest {
 protected:
  std::vector<std::string> Table() {
    return db->Texts("select HEADID, NR, TEXT, QTY from SQLITEM order by HEADID, NR");
  }
  // Whether a second connection can take the item table for itself and write
  // now, without waiting for a lock.
  bool OtherConnectionCanWrite() {
    auto other = db->Connect("other", GetParam() == Engine::SQLite ? "QSQLITE_BUSY_TIMEOUT=0" : "");
    auto run = [](const std::string& sql) {
      KsQuery q;
      q.SetDatabaseName("other");
      q.AddLine(sql);
      q.ExecQuery();
    };
    try {
      other->StartTransaction();
      if (GetParam() == Engine::PostgreSQL)
        run("lock table SQLITEM in access exclusive mode nowait");
      run("insert into SQLITEM (HEADID, NR) values ('ZZ', 1)");
      run("delete from SQLITEM where HEADID = 'ZZ'");
      other->Commit();
      return true;
    } catch (const EDatabase&) {
      other->Rollback();
      return false;
    }
  }
};

TEST_P(SqlMends, StoreFailingAtItem500LeavesTheTableAsItWas) {
  auto head = NewHead(&Main(), "H1");
  for (int i = 1; i <= 10; ++i) AddItem(*head, i, "alt", i);
  head->StoreToDB();
  const std::vector<std::string> before = Table();

  SqlItemList& items = head->ItemList();
  items.Item(0)->GetMember("TEXT").SetAsString("ge\xE4ndert");
  items.Item(1)->GetMember("NR").SetAsInteger(100);  // a key changed in memory
  items.Delete(2);
  for (int i = 1; i <= 1000; ++i) AddItem(*head, 1000 + i, "neu", i == 500 ? -1 : i);
  EXPECT_THROW(items.StoreToDB(), EDatabase);  // item 500 breaks the check on QTY
  EXPECT_EQ(Table(), before);
  EXPECT_FALSE(Main().InTransaction());

  // Memory still says what is not stored, so the next store writes it all.
  EXPECT_EQ(items.Removed.size(), 1u);
  EXPECT_TRUE(items.Item(0)->GetMember("TEXT").Modified);
  EXPECT_EQ(items.Item(1)->StoredKey(1).ToInteger(), 2);
  EXPECT_TRUE(items.Item(10)->StoredKey(0).IsEmptyOrNull());
  items.Item(8 + 500)->GetMember("QTY").SetAsFloat(500);
  items.StoreToDB();
  const std::vector<std::string> after = Table();
  ASSERT_EQ(after.size(), 1009u);
  EXPECT_EQ(after[0], "H1|1|ge\xE4ndert|1");
  EXPECT_EQ(after[1], "H1|4|alt|4");  // 2 moved to 100, 3 deleted
  EXPECT_EQ(after[8], "H1|100|alt|2");
  EXPECT_EQ(after[9], "H1|1001|neu|1");
  EXPECT_EQ(after[9 + 499], "H1|1500|neu|500");
  EXPECT_TRUE(items.Removed.empty());
}

TEST_P(SqlMends, FailedDeleteRollsBackAndCanBeRepeated) {
  db->Exec(
      {"create table SQLREF (HEADID varchar(10), NR integer, foreign key (HEADID, NR) "
       "references SQLITEM (HEADID, NR))"});
  if (GetParam() == Engine::SQLite) db->Exec({"pragma foreign_keys = on"});
  auto head = NewHead(&Main(), "H1");
  for (int i = 1; i <= 5; ++i) AddItem(*head, i, "x", i);
  head->StoreToDB();
  db->Exec({"insert into SQLREF (HEADID, NR) values ('H1', 4)"});
  const std::vector<std::string> before = Table();
  SqlItemList& items = head->ItemList();
  items.Delete(0);
  EXPECT_THROW(items.DeleteFromDB(), EDatabase);
  EXPECT_EQ(Table(), before);
  EXPECT_FALSE(Main().InTransaction());
  EXPECT_EQ(items.Removed.size(), 1u);
  EXPECT_EQ(items.Item(0)->StoredKey(0).ToString(), "H1");

  db->Exec({"delete from SQLREF"});
  items.DeleteFromDB();
  EXPECT_TRUE(Table().empty());
  EXPECT_TRUE(items.Removed.empty());
}

TEST_P(SqlMends, ATransactionOfTheCallerStaysTheCallers) {
  auto head = NewHead(&Main(), "H1");
  AddItem(*head, 1, "gut", 1);
  AddItem(*head, 2, "schlecht", -1);
  Main().StartTransaction();
  EXPECT_THROW(head->StoreToDB(), EDatabase);
  EXPECT_TRUE(Main().InTransaction());
  Main().Rollback();
  EXPECT_TRUE(Table().empty());
}

TEST_P(SqlMends, FailedLoadLeavesNoTransactionOpen) {
  auto head = NewHead(&Main(), "H1");
  AddItem(*head, 1, "a", 1);
  head->StoreToDB();

  // What an open transaction does to other users of the database.
  Main().StartTransaction();
  db->Texts("select NR from SQLITEM");
  EXPECT_FALSE(OtherConnectionCanWrite());
  Main().Rollback();
  EXPECT_TRUE(OtherConnectionCanWrite());

  // Items of a class the list does not hold end the load with an error.
  struct WrongList : SqlItemList {
    KsCustomObj* CreateObj() override {
      return KsObjGeneric::StaticClass().CreateObj(this, {Variant("TABLENAME"), Variant("SQLITEM")},
                                                   Database);
    }
  };
  WrongList wrong;
  wrong.Create(nullptr, {}, &Main());
  try {
    wrong.LoadFromDB({Variant("H1")});
    ADD_FAILURE() << "loaded";
  } catch (const EObj& e) {
    EXPECT_STREQ(e.what(),
                 "Erzeugtes  Objekt ist nicht vom Typ SqlItem [SqlItemList.ExecuteLoadQuery]");
  }
  EXPECT_EQ(wrong.Count(), 1);  // the item stays
  EXPECT_FALSE(Main().InTransaction());
  EXPECT_TRUE(OtherConnectionCanWrite());

  // A statement the engine refuses after the transaction was begun.
  KsQuery bad;
  bad.SetDatabaseName("main");
  bad.AddLine("select * from NOPE");
  EXPECT_THROW(head->ItemList().LoadFromDataSet(bad), EDatabase);
  EXPECT_FALSE(Main().InTransaction());
  EXPECT_TRUE(OtherConnectionCanWrite());
}

TARVO_ON_BOTH_ENGINES(SqlMends);

}  // namespace
