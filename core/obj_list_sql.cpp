#include <algorithm>
#include <optional>

#include "core/eobj.h"
#include "core/obj_list.h"
#include "core/sql_binding.h"
#include "core/sql_checks.h"
#include "core/sql_transaction.h"
#include "db/database.h"
#include "db/query.h"

namespace {

KsParams Arg(int value) { return {Variant(static_cast<int32_t>(value))}; }
KsParams Arg(KsCustomObj* obj) { return {Variant::FromPointer(obj)}; }

}  // namespace

void KsObjList::LoadFromDB(const std::vector<Variant>& keyValues) {
  const char* method = "LoadFromDB";
  // Values without a key member to compare them with would load rows of
  // other owners.
  if (keyValues.size() > static_cast<size_t>(PKCount))
    throw EObj::CreateFmt(
        ClassName(),
        "Zum Laden der Liste \"%s\" wurden %d PK-Werte angegeben, sie hat aber "
        "nur %d PKs.",
        {Variant(TableName()), Variant(static_cast<int32_t>(keyValues.size())), Variant(PKCount)},
        method);
  KsQuery query;
  query.SetDatabaseName(Connection(*this, method).Name());
  query.SetUniDirectional(true);
  const std::string table = TableName();
  CheckTableName(*this, table, method);
  for (size_t i = 0; i < keyValues.size(); ++i)
    CheckColumnName(*this, GetPKMember(i).Name(), method);
  query.AddLine("select * from " + table);
  // No values, no condition: " where " alone would not run.
  if (!keyValues.empty()) query.AddLine(" where ");
  for (size_t i = 0; i < keyValues.size(); ++i) {
    KsMember& key = GetPKMember(i);
    query.AddLine((i > 0 ? " and " : "") + key.Name() + "=:" + key.Name());
    BindKeyValue(query.ParamByName(key.Name()), key, keyValues[i]);
    key.SetValue(keyValues[i]);
  }
  ExecuteLoadQuery(query);
}

void KsObjList::LoadFromDataSet(KsQuery& dataset) { ExecuteLoadQuery(dataset); }

bool KsObjList::ExecuteLoadQuery(KsQuery& dataset) {
  Notify(true, this, Arg(0), 1);
  State |= osLoadTried;
  State &= static_cast<uint8_t>(~osInDatabase);
  std::optional<SqlTransaction> transaction;
  bool opened = false;
  try {
    if (!dataset.Active()) {
      transaction.emplace(Connection(*this, "ExecuteLoadQuery"));
      dataset.OpenQuery();
      opened = true;
    }
    const ObjClass* itemClass = ItemClass();
    for (; !dataset.Eof(); dataset.Next()) {
      KsCustomObj* item = Add();
      if (!item->Class().InheritsFrom(*itemClass))
        throw EObj(ClassName(),
                   std::string("Erzeugtes  Objekt ist nicht vom Typ ") + itemClass->Name(),
                   "ExecuteLoadQuery");
      item->LoadFromDataSet(dataset);
      Notify(true, this, Arg(item), 2);
    }
    State |= osInDatabase;
  } catch (...) {
    // The transaction opened here is rolled back as it goes out of scope.
    if (opened) dataset.Close();
    Notify(true, this, Arg(Count() - 1), 3);
    throw;
  }
  if (opened) dataset.Close();
  Notify(true, this, Arg(Count() - 1), 3);
  if (transaction) transaction->Commit();
  return true;
}

void KsObjList::StoreToDB() {
  Notify(true, this, Arg(Count() - 1), 4);
  if ((Flags & ofSkipValidate) || Validate(true)) {
    SqlTransaction transaction(Connection(*this, "StoreToDB"));
    if (!(Flags & ofKeepRemoved)) DeleteRemoved();
    std::vector<KsCustomObj*> changed;
    for (KsCustomObj* item : ItemsList)
      if (item->IsModified()) changed.push_back(item);
    if (Flags & ofStoreKnownFirst)
      std::stable_partition(changed.begin(), changed.end(),
                            [](const KsCustomObj* item) { return item->KeyStored(); });
    for (KsCustomObj* item : changed) {
      Notify(true, this, Arg(item), 5);
      item->StoreToDB();
    }
    transaction.Commit();
  }
  Notify(true, this, Arg(0), 6);
}

void KsObjList::DeleteRemoved() {
  Notify(true, this, Arg(Count() - 1), 7);
  SqlTransaction transaction(Connection(*this, "DeleteRemoved"));
  std::vector<KsCustomObj*> removed = Removed;
  for (KsCustomObj* obj : removed) {
    if (dynamic_cast<KsObjList*>(obj) || obj->KeyStored()) {
      Notify(true, this, Arg(obj), 8);
      obj->DeleteFromDB();
    }
  }
  // Objects that were never stored go too: the list owns them and nothing
  // else would free them.
  Removed.clear();
  SqlTransaction::Release(*this, std::move(removed));
  transaction.Commit();
  Notify(true, this, Arg(0), 9);
}

void KsObjList::DeleteFromDB() {
  SqlTransaction transaction(Connection(*this, "DeleteFromDB"));
  if (!(Flags & ofDeleteKeepsRemoved)) DeleteRemoved();
  for (KsCustomObj* item : std::vector<KsCustomObj*>(ItemsList)) item->DeleteFromDB();
  transaction.Commit();
  SqlTransaction::Remember(*this);
  State &= static_cast<uint8_t>(~osInDatabase);
}
