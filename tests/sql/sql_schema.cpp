#include "tests/sql/sql_schema.h"

#include <algorithm>

int SqlItem::freed = 0;

namespace {

std::unique_ptr<KsFBDesc> Head() {
  auto d = std::make_unique<KsFBDesc>("SQLHEAD", "HEAD");
  d->AddField(true, "ID", "", "", ftString, 10);
  d->AddField(false, "NAME", "", "", ftString, 40);
  d->AddField(false, "CNT", "", "", ftInteger);
  d->AddField(false, "SMALL", "", "", ftSmallint);
  d->AddField(false, "PRICE", "", "", ftFloat);
  d->AddField(false, "AMOUNT", "", "", ftCurrency);
  d->AddField(false, "DONE", "", "", ftBoolean);
  d->AddField(false, "DAY", "", "", ftDate);
  d->AddField(false, "CLOCK", "", "", ftTime);
  d->AddField(false, "STAMP", "", "", ftDateTime);
  d->AddField(false, "NOTE", "", "", ftMemo);
  d->AddField(false, "DATA", "", "", ftBlob);
  d->AddField(false, "TOTAL", "", "", ftFloat, 2, taLeftJustify, 0, fbfCalculated);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "ID", true}));
  return d;
}

std::unique_ptr<KsFBDesc> Item() {
  auto d = std::make_unique<KsFBDesc>("SQLITEM", "ITEM");
  d->AddField(true, "HEADID", "", "", ftString, 10);
  d->AddField(true, "NR", "", "", ftInteger);
  d->AddField(false, "TEXT", "", "", ftString, 40);
  d->AddField(false, "QTY", "", "", ftFloat);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "HEADID,NR", true}));
  return d;
}

std::unique_ptr<KsFBDesc> Note() {
  auto d = std::make_unique<KsFBDesc>("SQLNOTE", "NOTE");
  d->AddField(true, "HEADID", "", "", ftString, 10);
  d->AddField(false, "REMARK", "", "", ftString, 80);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "HEADID", true}));
  return d;
}

std::unique_ptr<KsFBDesc> Pad() {
  auto d = std::make_unique<KsFBDesc>("SQLPAD", "PAD");
  d->AddField(true, "CODE", "", "", ftString, 5, taRightJustify, '0');
  d->AddField(false, "NAME", "", "", ftString, 10);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "CODE", true}));
  return d;
}

std::unique_ptr<KsFBDesc> NoKey() {
  auto d = std::make_unique<KsFBDesc>("SQLNOKEY", "NOKEY");
  d->AddField(false, "NAME", "", "", ftString, 10);
  return d;
}

std::unique_ptr<KsFBDesc> Keyed(const char* table, std::vector<const char*> fields) {
  auto d = std::make_unique<KsFBDesc>(table, "X");
  d->AddField(true, "ID", "", "", ftString, 10);
  for (const char* f : fields) d->AddField(false, f, "", "", ftString, 10);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "ID", true}));
  return d;
}

template <class T>
struct TableClass : ObjClass {
  TableClass(const char* name, const char* table)
      : ObjClass(name, &KsObj::StaticClass(), [] { return static_cast<KsCustomObj*>(new T); }),
        table_(table) {}
  const std::string& ClassTablename() const override { return table_; }
  const std::string table_;
};

template <class List, class Item>
struct ListClass : ObjListClass {
  explicit ListClass(const char* name)
      : ObjListClass(name, &KsObjList::StaticClass(),
                     [] { return static_cast<KsCustomObj*>(new List); }) {}
  const ObjClass* ClassItemClass() const override { return &Item::StaticClass(); }
};

}  // namespace

void RegisterSqlSchema() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterDescriptor("SQLHEAD", Head);
  RegisterDescriptor("SQLITEM", Item);
  RegisterDescriptor("SQLNOTE", Note);
  RegisterDescriptor("SQLPAD", Pad);
  RegisterDescriptor("SQLNOKEY", NoKey);
  RegisterDescriptor("SQLMISSING", [] { return Keyed("SQLMISSING", {"NAME"}); });
  RegisterDescriptor("SQLBADCOL", [] { return Keyed("SQLBADCOL", {"X_OLD", "A=1 or 1"}); });
  RegisterDescriptor(kEvilTable, [] { return Keyed(kEvilTable, {}); });
}

void CreateSqlTables(TestDatabase& db) {
  db.Exec(
      {"create table SQLHEAD (ID varchar(10) not null primary key, NAME varchar(40), CNT "
       "integer, SMALL smallint, PRICE double precision, AMOUNT numeric(15,2), DONE boolean, "
       "DAY date, CLOCK time, STAMP timestamp, NOTE text, DATA " +
           db.BlobType() + ")",
       "create table SQLITEM (HEADID varchar(10) not null, NR integer not null, TEXT "
       "varchar(40), QTY double precision check (QTY >= 0), primary key (HEADID, NR))",
       "create table SQLNOTE (HEADID varchar(10) not null primary key, REMARK varchar(80))"});
}

const ObjClass& SqlItem::StaticClass() {
  static const TableClass<SqlItem> cls("SqlItem", "SQLITEM");
  return cls;
}

const ObjClass& SqlItemList::StaticClass() {
  static const ListClass<SqlItemList, SqlItem> cls("SqlItemList");
  return cls;
}

const ObjClass& SqlHeadList::StaticClass() {
  static const ListClass<SqlHeadList, SqlHead> cls("SqlHeadList");
  return cls;
}

const ObjClass& SqlNote::StaticClass() {
  static const TableClass<SqlNote> cls("SqlNote", "SQLNOTE");
  return cls;
}

const ObjClass& SqlHead::StaticClass() {
  static const TableClass<SqlHead> cls("SqlHead", "SQLHEAD");
  return cls;
}

void SqlHead::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  KsObj::Create(owner, params, db);
  SqlItemList::StaticClass().CreateObj(this, {Variant("FKNames"), Variant("ID")}, db);
}

SqlNote& SqlHead::AddNote() {
  return *static_cast<SqlNote*>(SqlNote::StaticClass().CreateObj(
      this, {Variant("FKNames"), Variant("ID"), Variant("ONDEMAND"), Variant(true)}, Database));
}

std::unique_ptr<SqlHead> NewHead(DbConnection* db, const std::string& id, KsParams params) {
  std::unique_ptr<SqlHead> head(
      static_cast<SqlHead*>(SqlHead::StaticClass().CreateObj(nullptr, params, db)));
  if (!id.empty()) head->ChangePKValues({Variant(id)});
  return head;
}

SqlItem& AddItem(SqlHead& head, int nr, const std::string& text, double qty) {
  auto* item = static_cast<SqlItem*>(head.ItemList().Add());
  item->GetMember("NR").SetAsInteger(nr);
  item->GetMember("TEXT").SetAsString(text);
  item->GetMember("QTY").SetAsFloat(qty);
  return *item;
}

std::unique_ptr<KsCustomObj> NewGeneric(DbConnection* db, const std::string& table) {
  return std::unique_ptr<KsCustomObj>(
      KsObjGeneric::StaticClass().CreateObj(nullptr, {Variant("TABLENAME"), Variant(table)}, db));
}

EventLog::EventLog(KsCustomObj& watched) : watched_(watched) {
  if (!watched.Observers) watched.Observers = std::make_unique<std::vector<Observer*>>();
  watched.Observers->push_back(this);
}

EventLog::~EventLog() { std::erase(*watched_.Observers, this); }

void EventLog::Update(KsCustomObj*, int event, const KsParams& params) {
  const Variant& arg = params.at(0);
  std::string text = std::to_string(event) + ":";
  if (arg.Kind() == KsVarKind::Pointer)
    text += "item " + static_cast<KsCustomObj*>(arg.Ptr())->Members.Find("NR")->GetAsString();
  else
    text += arg.ToString();
  events.push_back(text);
}

void SchemaTest::SetUp() {
  EngineTest::SetUp();
  if (!HasFatalFailure()) CreateSqlTables(*db);
}
