#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/db_error.h"
#include "db/query.h"
#include "tests/sql/test_database.h"

namespace {

// On SQLite a statement without rows is bound straight on the engine, one
// that is opened goes through Qt: whichever way a row was written, the
// engine must hold the same bytes of the same type.
class SqliteStatementsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.Exec(
        {"create table T (ID integer primary key, A text, B text, C real, D integer, E integer, "
         "F real, G blob, H text)"});
  }
  // The values of one row; `open` writes it the way of a statement with rows.
  void Insert(int id, bool open, const std::string& text) {
    KsQuery q;
    q.SetDatabaseName("main");
    q.AddLine("insert into T (ID, A, B, C, D, E, F, G, H)");
    q.AddLine("values (:ID, :A, :B, :C, :D, :E, :F, :G, :H)");
    q.ParamByName("ID").Value = Variant(int32_t{id});
    q.ParamByName("A").Value = Variant(text);
    q.ParamByName("B") = {"B", KsParamType::String, Variant("")};
    q.ParamByName("C").Value = Variant(-1234.5678);
    q.ParamByName("D").Value = Variant(true);
    q.ParamByName("E") = {"E", KsParamType::Integer, Variant("42")};
    q.ParamByName("F") = {"F", KsParamType::Float, Variant::Null()};
    q.ParamByName("G") = {"G", KsParamType::Blob, Variant(std::string("\x00\x81\xFF", 3))};
    q.ParamByName("H") = {"H", KsParamType::String, Variant(int32_t{7})};
    open ? q.OpenQuery() : q.ExecQuery();
  }
  std::vector<std::string> Stored(int id) {
    std::vector<std::string> out;
    for (const char* column : {"A", "B", "C", "D", "E", "F", "G", "H"})
      out.push_back(db_.Texts(std::string("select typeof(") + column + ") || ':' || hex(" + column +
                              ") from T where ID = " + std::to_string(id))[0]);
    return out;
  }
  TestDatabase db_{Engine::SQLite};
};

TEST_F(SqliteStatementsTest, StoresEveryValueAsQtDoes) {
  // Every byte of the code page, also those it leaves undefined; plain
  // text with one letter outside ASCII at either end; a text all ASCII.
  std::string every;
  for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
  const std::vector<std::string> texts = {every, "\xC4" + std::string(600, 'a') + "\x80",
                                          "Bauzaun herstellen", ""};
  int id = 0;
  for (const std::string& text : texts) {
    Insert(++id, false, text);
    Insert(++id, true, text);
    EXPECT_EQ(Stored(id - 1), Stored(id)) << text;
  }
  EXPECT_EQ(db_.Texts("select A from T where ID = 5")[0], "Bauzaun herstellen");
  EXPECT_EQ(Stored(7)[0], "text:");
}

// A statement run on the engine is done with when it returns, so the
// transaction around it commits; a refusal names the engine's reason and
// leaves the statement ready for the next values; two statements in one
// text are refused, not run in part.
TEST_F(SqliteStatementsTest, CommitsAfterItsStatementsAndRefusesInGerman) {
  db_.Main().StartTransaction();
  Insert(1, false, "a");
  try {
    Insert(1, false, "doppelt");
    ADD_FAILURE() << "a key twice was taken";
  } catch (const EDatabase& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Die Datenbank hat die Anweisung abgelehnt: ", 0), 0u);
    EXPECT_NE(std::string(e.what()).find("UNIQUE"), std::string::npos) << e.what();
  }
  Insert(2, false, "b");
  db_.Main().Commit();
  EXPECT_EQ(db_.Texts("select ID || A from T order by ID"), (std::vector<std::string>{"1a", "2b"}));

  KsQuery wrong;
  wrong.SetDatabaseName("main");
  wrong.AddLine("update NOPE set A = :A");
  wrong.ParamByName("A").Value = Variant("x");
  EXPECT_THROW(wrong.ExecQuery(), EDatabase);
  KsQuery two;
  two.SetDatabaseName("main");
  two.AddLine("delete from T where ID = :ID; delete from T");
  two.ParamByName("ID").Value = Variant(int32_t{1});
  EXPECT_THROW(two.ExecQuery(), EDatabase);
  EXPECT_EQ(db_.Texts("select count(*) from T"), std::vector<std::string>{"2"});
}

}  // namespace
