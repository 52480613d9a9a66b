#include <algorithm>

#include "core/eobj.h"
#include "core/obj.h"
#include "core/obj_list.h"
#include "core/sql_binding.h"
#include "core/sql_checks.h"
#include "core/sql_transaction.h"
#include "db/database.h"
#include "util/format_ex.h"
#include "util/same_text.h"
#include "util/strings.h"
#include "util/trim.h"

namespace {

const char kNoKey[] = "Im Objekt \"%s\" wurde kein PK definiert";
const char kNoKeyValue[] =
    "Zum Laden/Speichern des Objektes \"%s\" wurde kein Wert f\xFCr den PK angegeben.";

EObj NoKey(const KsCustomObj& obj, const char* method) {
  return EObj::CreateFmt(obj.ClassName(), kNoKey, {Variant(obj.TableName())}, method);
}

// The name goes after the formatting, so it is never read as a format.
EObj NoKeyValue(const KsCustomObj& obj, const std::string& field, const char* method) {
  return EObj(obj.ClassName(), FormatEx(kNoKeyValue, {Variant(obj.TableName())}) + " Feld:" + field,
              method);
}

// Blob and memo columns are read only when the flags ask for them; with
// ofLoadEmptyOnly only members that have no value yet.
bool Selected(const KsMember& m, uint16_t flags) {
  switch (m.GetFieldType()) {
    case ftBlob:
    case ftGraphic:
      if (!(flags & ofLoadBlob)) return false;
      break;
    case ftMemo:
    case ftFmtMemo:
      if (!(flags & ofLoadMemo)) return false;
      break;
    default:
      break;
  }
  return !(flags & ofLoadEmptyOnly) || m.Value.IsEmpty();
}

std::string Joined(const std::vector<KsMember*>& members, const char* before, const char* after) {
  std::string text;
  for (size_t i = 0; i < members.size(); ++i) {
    if (i > 0) text += ',';
    text += before;
    text += members[i]->Name();
    text += after;
  }
  return text;
}

bool EndsWithOld(const std::string& name) {
  return name.size() > 4 && SameText(std::string_view(name).substr(name.size() - 4), "_OLD");
}

}  // namespace

void KsObj::LoadFromDB(const std::vector<Variant>& keyValues) {
  if (PKCount == 0) throw NoKey(*this, "LoadFromDB");
  KsQuery query;
  if (BuildLoadQuery(query, keyValues)) LoadFromDataSet(query);
}

bool KsObj::BuildLoadQuery(KsQuery& query, const std::vector<Variant>& keyValues) {
  const char* method = "BuildLoadQuery";
  if (PKCount == 0) throw NoKey(*this, method);
  if (keyValues.empty())
    throw EObj::CreateFmt(ClassName(), kNoKeyValue, {Variant(TableName())}, method);
  if (keyValues.size() < static_cast<size_t>(PKCount))
    throw NoKeyValue(*this, GetPKMember(static_cast<uint8_t>(keyValues.size())).Name(), method);
  query.SetDatabaseName(Connection(*this, method).Name());
  query.SetUniDirectional(true);
  query.ClearSQL();
  std::vector<KsMember*> columns;
  Members.MakeAll();
  for (KsMember& m : Members.HeldMembers())
    if (Selected(m, Flags)) columns.push_back(&m);
  if (columns.empty()) return false;
  const std::string table = TableName();
  CheckTableName(*this, table, method);
  for (const KsMember* m : columns) CheckColumnName(*this, m->Name(), method);
  for (int i = 0; i < PKCount; ++i) CheckColumnName(*this, GetPKMember(i).Name(), method);
  query.AddLine("select " + Joined(columns, "", "") + " from " + table + " where ");
  for (int i = 0; i < PKCount; ++i) {
    const KsMember& key = GetPKMember(i);
    if (i > 0) query.AddLine(" and ");
    query.AddLine(key.Name() + "=:PK_" + key.Name());
    BindKeyValue(query.ParamByName("PK_" + key.Name()), key, keyValues[i]);
  }
  return true;
}

void KsObj::LoadFromDataSet(KsQuery& dataset) {
  if (!ExecuteLoadQuery(dataset)) return;
  LoadChildren(Flags);
  StoreKeyValues();
}

bool KsObj::ExecuteLoadQuery(KsQuery& dataset) {
  State |= osLoadTried;
  bool opened = false;
  try {
    if (!dataset.Active()) {
      dataset.OpenQuery();
      opened = true;
    }
    State &= static_cast<uint8_t>(~osInDatabase);
    const bool found = !dataset.Eof();
    if (found) {
      Members.MakeAll();
      for (KsMember& member : Members.HeldMembers()) {
        KsMember* m = &member;
        const int field = dataset.FindField(m->Name());
        if (field < 0) continue;
        try {
          m->SetValue(ColumnValue(dataset, field, *m));
        } catch (const std::exception& e) {
          // Half an object must not pass for the stored one.
          throw EObj::CreateFmt(ClassName(), "Der Wert der Spalte \"%s\" ist nicht lesbar: %s",
                                {Variant(m->Name()), Variant(std::string(e.what()))},
                                "ExecuteLoadQuery");
        }
        m->Modified = false;
      }
      State |= osInDatabase;
    }
    if (opened) dataset.Close();
    return found;
  } catch (const EObj&) {
    if (opened) dataset.Close();
    throw;
  } catch (const std::exception&) {
    if (opened) dataset.Close();
    throw EObj::CreateFmt(ClassName(), "Beim Laden des Objektes trat ein Fehler auf. %s",
                          {Variant(dataset.Text().substr(0, 40) + "...")}, "ExecuteLoadQuery");
  }
}

void KsObj::LoadChildren(uint16_t flags) {
  for (int i = 0; i < Children.Count(); ++i) {
    KsCustomObj* child = Children.Objects(i);
    if ((child->Flags & ofOnDemand) && !(flags & ofLoadOnDemand)) continue;
    std::vector<Variant> values;
    const int n = std::min(TokenCount(child->FKNames(), ","), kMaxPK);
    for (int k = 1; k <= n; ++k) values.push_back(GetMember(Token(child->FKNames(), k, ",")).Value);
    if (!values.empty()) child->LoadFromDB(values);
  }
}

void KsObj::StoreToDB() {
  if (!(Flags & ofSkipValidate) && !Validate(true)) return;
  KsQuery query;
  BuildStoreQuery(query, false);
  ExecuteStoreQuery(query);
}

bool KsObj::BuildStoreQuery(KsQuery& query, bool forceInsert) {
  const char* method = "BuildStoreQuery";
  if (PKCount == 0) throw NoKey(*this, method);
  for (int i = 0; i < PKCount; ++i)
    if (GetPKMember(i).Value.IsEmptyOrNull())
      throw NoKeyValue(*this, GetPKMember(i).Name(), method);
  query.SetDatabaseName(Connection(*this, method).Name());
  query.ClearSQL();
  const bool insert = forceInsert || !KeyStored();
  std::vector<KsMember*> columns;
  Members.MakeAll();
  for (KsMember& member : Members.HeldMembers()) {
    KsMember* m = &member;
    const bool take = insert ? !m->Value.IsEmptyOrNull()
                             : m->Modified && !m->Value.IsEmpty() &&
                                   !((Flags & ofUpdateSkipNull) && m->Value.IsNull());
    if (take) columns.push_back(m);
  }
  if (columns.empty()) return false;
  const std::string table = TableName();
  CheckTableName(*this, table, method);
  for (const KsMember* m : columns) CheckColumnName(*this, m->Name(), method);
  for (int i = 0; i < PKCount; ++i) CheckColumnName(*this, GetPKMember(i).Name(), method);
  if (insert) {
    query.AddLine("insert into " + table + " (" + Joined(columns, "", "") + ") values (" +
                  Joined(columns, ":", "") + ") ");
    return true;
  }
  std::string assignments;
  for (size_t i = 0; i < columns.size(); ++i)
    assignments += (i > 0 ? "," : "") + columns[i]->Name() + "=:" + columns[i]->Name();
  query.AddLine("update " + table + " set " + assignments + " where ");
  for (int i = 0; i < PKCount; ++i) {
    const std::string& name = GetPKMember(i).Name();
    if (i > 0) query.AddLine(" and ");
    query.AddLine(name + "=:" + name + "_OLD ");
  }
  return true;
}

void KsObj::ExecuteStoreQuery(KsQuery& query) {
  if (!Trim(query.Text()).empty()) {
    SetQueryParams(query);
    query.ExecQuery();
    SqlTransaction::Remember(*this);
    StoreKeyValues();
    for (int i = 0; i < query.ParamCount(); ++i) {
      const std::string& name = query.Params(i).Name;
      if (EndsWithOld(name)) continue;
      if (KsMember* m = Members.FindOrMake(name)) m->Modified = false;
    }
  }
  if (!(Flags & ofNoDescend))
    for (int i = 0; i < Children.Count(); ++i) Children.Objects(i)->StoreToDB();
}

void KsObj::SetQueryParams(KsQuery& query) {
  for (int i = 0; i < query.ParamCount(); ++i) {
    QueryParam& param = query.Params(i);
    const std::string memberName = param.Name.substr(0, param.Name.find('_'));
    const KsMember& member = GetMember(memberName);
    BindMember(param, member,
               SameText(param.Name, memberName) ? member.Value : StoredValueOf(member));
  }
}

void KsObj::DeleteFromDB() {
  if (!(Flags & ofDeleteKeepsChildren)) {
    for (int i = 0; i < Children.Count(); ++i) {
      KsCustomObj* child = Children.Objects(i);
      if (dynamic_cast<KsObjList*>(child) || child->KeyStored()) child->DeleteFromDB();
    }
  }
  DeleteSelfFromDB();
}

void KsObj::DeleteSelfFromDB() {
  const char* method = "DeleteSelfFromDB";
  if (PKCount == 0) throw NoKey(*this, method);
  if (!KeyStored()) return;
  KsQuery query;
  query.SetDatabaseName(Connection(*this, method).Name());
  const std::string table = TableName();
  CheckTableName(*this, table, method);
  for (int i = 0; i < PKCount; ++i) CheckColumnName(*this, GetPKMember(i).Name(), method);
  query.AddLine("delete from " + table + " where ");
  for (int i = 0; i < PKCount; ++i) {
    const std::string& name = GetPKMember(i).Name();
    query.AddLine((i > 0 ? " and " : "") + name + "=:" + name + "_OLD ");
  }
  SetQueryParams(query);
  query.ExecQuery();
  SqlTransaction::Remember(*this);
  ClearStoredKeys();
  State &= static_cast<uint8_t>(~osInDatabase);
}
