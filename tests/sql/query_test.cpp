#include "db/query.h"

#include <gtest/gtest.h>

#include "db/db_error.h"
#include "tests/sql/test_database.h"
#include "tests/support/format_guard.h"
#include "util/date_time.h"

namespace {

class Query : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (HasFatalFailure()) return;
    db->Exec(
        {"create table T (ID integer not null primary key, NAME varchar(40), PRICE double "
         "precision, DONE boolean, DAY date, CLOCK time, STAMP timestamp, DATA " +
         db->BlobType() + ")"});
  }
  KsQuery NewQuery(const std::string& sql) {
    KsQuery q;
    q.SetDatabaseName("main");
    q.AddLine(sql);
    return q;
  }
  static double Day(int y, int m, int d) {
    double v = 0;
    TryEncodeDate(y, m, d, v);
    return v;
  }
  FormatGuard format{GermanFormatSettings()};
};

TEST_P(Query, BindsByPositionAndNameAndReadsBackEveryType) {
  const std::string blob("\x00\xFF'\\x\"", 6);
  const double stamp = Day(2024, 3, 31) + EncodeTime(2, 30, 15, 250);
  KsQuery ins = NewQuery("insert into T (ID, NAME, PRICE, DONE, DAY, CLOCK, STAMP, DATA)");
  ins.AddLine("values (:ID, :NAME, :PRICE, :DONE, :DAY, :CLOCK, :STAMP, :DATA)");
  ASSERT_EQ(ins.ParamCount(), 8);
  EXPECT_EQ(ins.Params(7).Name, "DATA");
  ins.Params(0).Value = Variant(int32_t{7});
  ins.ParamByName("name").Value = Variant(
      "Gr\xFC\xDF"
      "e \x80 'O''Neil'");
  ins.ParamByName("PRICE").Value = Variant(1234.5678);
  ins.ParamByName("DONE") = {"DONE", KsParamType::Boolean, Variant("1")};
  ins.ParamByName("DAY") = {"DAY", KsParamType::Date, Variant::FromDateTime(Day(1899, 12, 29))};
  ins.ParamByName("CLOCK") = {"CLOCK", KsParamType::Time, Variant::FromDateTime(0.75)};
  ins.ParamByName("STAMP") = {"STAMP", KsParamType::DateTime, Variant::FromDateTime(stamp)};
  ins.ParamByName("DATA") = {"DATA", KsParamType::Blob, Variant(blob)};
  ins.ExecQuery();
  EXPECT_EQ(ins.RowsAffected(), 1);

  KsQuery sel = NewQuery("select * from T where ID = :ID");
  sel.SetUniDirectional(true);
  sel.Params(0).Value = Variant(int32_t{7});
  sel.OpenQuery();
  ASSERT_TRUE(sel.Active());
  ASSERT_FALSE(sel.Eof());
  EXPECT_EQ(sel.FindField("nope"), -1);
  EXPECT_EQ(sel.FieldValue(sel.FindField("name")).ToString(),
            "Gr\xFC\xDF"
            "e \x80 'O''Neil'");
  EXPECT_EQ(sel.FieldValue(sel.FindField("Id")).ToInteger(), 7);
  EXPECT_EQ(sel.FieldValue(sel.FindField("PRICE")).ToFloat(), 1234.5678);
  EXPECT_TRUE(sel.FieldValue(sel.FindField("DONE")).ToBoolean());
  EXPECT_EQ(sel.FieldDateTime(sel.FindField("DAY")).ToFloat(), Day(1899, 12, 29));
  EXPECT_EQ(sel.FieldDateTime(sel.FindField("CLOCK")).ToFloat(), 0.75);
  EXPECT_DOUBLE_EQ(sel.FieldDateTime(sel.FindField("STAMP")).ToFloat(), stamp);
  EXPECT_EQ(sel.FieldValue(sel.FindField("DATA")).ToString(), blob);
  sel.Next();
  EXPECT_TRUE(sel.Eof());
  sel.Close();
  EXPECT_FALSE(sel.Active());
}

TEST_P(Query, NullsKeepTheirTypeAndValuesSurviveTextChanges) {
  KsQuery ins = NewQuery("insert into T (ID, NAME, PRICE, DAY, DATA)");
  ins.AddLine("values (:ID, :NAME, :PRICE, :DAY, :DATA)");
  ins.ParamByName("ID").Value = Variant(int32_t{1});
  ins.ParamByName("NAME") = {"NAME", KsParamType::String, Variant::Null()};
  ins.ParamByName("PRICE") = {"PRICE", KsParamType::Float, Variant::Null()};
  ins.ParamByName("DAY") = {"DAY", KsParamType::Date, Variant::Null()};
  ins.ParamByName("DATA") = {"DATA", KsParamType::Blob, Variant()};
  ins.AddLine("");  // a changed text keeps the values given to its names
  ins.ExecQuery();
  EXPECT_EQ(db->Texts("select ID, NAME, PRICE, DAY, DATA from T"),
            std::vector<std::string>{"1|<null>|<null>|<null>|<null>"});
}

TEST_P(Query, ValuesNeverBecomeStatementText) {
  const std::string evil = "x'); drop table T; --";
  KsQuery ins = NewQuery("insert into T (ID, NAME) values (:ID, :NAME)");
  ins.Params(0).Value = Variant(int32_t{1});
  ins.Params(1).Value = Variant(evil);
  ins.ExecQuery();
  EXPECT_EQ(db->Texts("select NAME from T"), std::vector<std::string>{evil});
}

// Statements without rows are prepared once per connection and text; every
// run binds its own values, also after a refusal, a rollback or a reconnect.
TEST_P(Query, RepeatedStatementsTakeTheirOwnValues) {
  auto insert = [](const std::string& connection, int id, const std::string& name) {
    KsQuery q;
    q.SetDatabaseName(connection);
    q.AddLine("insert into T (ID, NAME) values (:ID, :NAME)");
    q.Params(0).Value = Variant(int32_t{id});
    q.Params(1).Value = Variant(name);
    q.ExecQuery();
    return q.RowsAffected();
  };
  EXPECT_EQ(insert("main", 1, "a"), 1);
  EXPECT_EQ(insert("main", 2, "b"), 1);
  EXPECT_THROW(insert("main", 1, "doppelt"), EDatabase);
  Main().StartTransaction();
  EXPECT_EQ(insert("main", 3, "weg"), 1);
  Main().Rollback();
  auto other = db->Connect("other");
  EXPECT_EQ(insert("other", 4, "d"), 1);
  other.reset();
  other = db->Connect("other");
  EXPECT_EQ(insert("other", 5, "e"), 1);

  KsQuery update = NewQuery("update T set NAME = :NAME where ID > :ID");
  update.Params(0).Value = Variant("x");
  update.Params(1).Value = Variant(int32_t{3});
  update.ExecQuery();
  EXPECT_EQ(update.RowsAffected(), 2);
  EXPECT_EQ(db->Texts("select ID, NAME from T order by ID"),
            (std::vector<std::string>{"1|a", "2|b", "4|x", "5|x"}));
}

TEST_P(Query, EmptyResultIsAtItsEnd) {
  KsQuery sel = NewQuery("select ID from T");
  sel.OpenQuery();
  EXPECT_TRUE(sel.Active());
  EXPECT_TRUE(sel.Eof());
  EXPECT_EQ(sel.FieldCount(), 1);
  EXPECT_THROW(sel.FieldValue(0), EDatabase);
}

TEST_P(Query, EngineErrorsAndUnknownNamesRaise) {
  struct Case {
    const char* connection;
    const char* sql;
    const char* message;
  };
  const Case cases[] = {
      {"main", "select * from NOPE", "Die Datenbank hat die Anweisung abgelehnt: "},
      {"main", "selec 1", "Die Datenbank hat die Anweisung abgelehnt: "},
      {"elsewhere", "select 1", "Die Datenbankverbindung \"elsewhere\" ist nicht bekannt."},
  };
  for (const Case& c : cases) {
    KsQuery q;
    q.SetDatabaseName(c.connection);
    q.AddLine(c.sql);
    try {
      q.OpenQuery();
      ADD_FAILURE() << c.sql;
    } catch (const EDatabase& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
    EXPECT_FALSE(q.Active());
  }
  KsQuery q = NewQuery("select 1");
  EXPECT_THROW(q.ParamByName("X"), EDatabase);
}

TEST_P(Query, TransactionsCommitAndRollBack) {
  auto other = db->Connect("other");
  DbConnection& main = Main();
  EXPECT_FALSE(main.InTransaction());
  EXPECT_THROW(main.Commit(), EDatabase);
  main.Rollback();  // nothing open: nothing happens

  main.StartTransaction();
  EXPECT_TRUE(main.InTransaction());
  EXPECT_THROW(main.StartTransaction(), EDatabase);
  db->Exec({"insert into T (ID) values (1)"});
  main.Rollback();
  EXPECT_FALSE(main.InTransaction());

  main.StartTransaction();
  db->Exec({"insert into T (ID) values (2)"});
  main.Commit();
  EXPECT_FALSE(main.InTransaction());

  KsQuery sel;
  sel.SetDatabaseName("other");
  sel.AddLine("select ID from T");
  sel.OpenQuery();
  ASSERT_FALSE(sel.Eof());
  EXPECT_EQ(sel.FieldValue(0).ToInteger(), 2);
  sel.Next();
  EXPECT_TRUE(sel.Eof());
}

TEST_P(Query, ConnectionNamesAreUniqueAndBadTargetsRaise) {
  EXPECT_THROW(db->Connect("main"), EDatabase);
  ConnectionParams p;
  p.DatabaseName = "/nonexistent-folder/x.db";
  if (GetParam() == Engine::PostgreSQL) {
    p.Driver = "QPSQL";
    p.HostName = "/nonexistent-folder";
  }
  try {
    DbConnection bad("bad", p);
    FAIL() << "connected";
  } catch (const EDatabase& e) {
    EXPECT_NE(std::string(e.what()).find("konnte nicht hergestellt werden"), std::string::npos);
  }
  DbConnection again("bad", {});  // the name is free again
  EXPECT_EQ(again.Name(), "bad");
}

TARVO_ON_BOTH_ENGINES(Query);

}  // namespace
