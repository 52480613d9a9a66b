#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/obj.h"
#include "core/obj_list.h"
#include "tests/sql/test_database.h"
#include "tests/support/format_guard.h"

// The object classes the persistence tests store: a head (key ID, one
// field of every type) with a list of items (key HEADID, NR) and, where a
// test adds it, a note loaded on demand (key HEADID). Further tables: SQLPAD
// (a key padded with zeros), SQLNOKEY (no key), SQLMISSING (never created),
// SQLBADCOL (columns no statement may hold) and kEvilTable.
void RegisterSqlSchema();
inline const char kEvilTable[] = "SQLHEAD; drop table SQLITEM --";
// Creates the tables of the classes on the test's database.
void CreateSqlTables(TestDatabase& db);

// Base of the tests that store these classes: the classes registered, their
// tables created on each test's database, the German number format set.
class SchemaTest : public EngineTest {
 protected:
  static void SetUpTestSuite() { RegisterSqlSchema(); }
  void SetUp() override;
  FormatGuard format{GermanFormatSettings()};
};

class SqlItem : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  ~SqlItem() override { ++freed; }
  bool ValidateSelf() override { return valid; }
  bool valid = true;
  static int freed;
};

class SqlItemList : public KsObjList {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  SqlItem* Item(int i) const { return static_cast<SqlItem*>(Items(i)); }
};

class SqlNote : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
};

class SqlHead : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  void Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) override;
  SqlItemList& ItemList() const { return *static_cast<SqlItemList*>(Children.Find("SQLITEM")); }
  // Adds the note child, loaded on demand.
  SqlNote& AddNote();
};

// Heads of the whole table: a list without key.
class SqlHeadList : public KsObjList {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  SqlHead* Head(int i) const { return static_cast<SqlHead*>(Items(i)); }
};

// A head with the key value id on the connection, its items keyed alike.
std::unique_ptr<SqlHead> NewHead(DbConnection* db, const std::string& id, KsParams params = {});
SqlItem& AddItem(SqlHead& head, int nr, const std::string& text, double qty);
// An object of a table without a class of its own.
std::unique_ptr<KsCustomObj> NewGeneric(DbConnection* db, const std::string& table);

// Records what the persistence reports to the observers.
class EventLog : public Observer {
 public:
  explicit EventLog(KsCustomObj& watched);
  ~EventLog() override;
  void Update(KsCustomObj* sender, int event, const KsParams& params) override;
  // "event:argument", the argument an integer or "item <NR>".
  std::vector<std::string> events;

 private:
  KsCustomObj& watched_;
};
