#include "core/custom_obj.h"

#include "core/arena.h"
#include "core/eobj.h"
#include "core/member_layout.h"
#include "core/obj.h"
#include "core/obj_list.h"
#include "util/format_ex.h"
#include "util/message_boxes.h"
#include "util/same_text.h"
#include "util/strings.h"

std::string ParamAsString(const Variant& v) {
  return v.IsEmptyOrNull() ? std::string() : v.ToString();
}

bool ParamIsSet(const Variant& v) {
  switch (v.Kind()) {
    case KsVarKind::Boolean:
      return v.ToBoolean();
    case KsVarKind::Integer:
      return v.ToInteger() != 0;
    default:
      return false;
  }
}

const ObjClass& KsCustomObj::StaticClass() {
  static const ObjClass cls("KsCustomObj", nullptr, nullptr);
  return cls;
}

KsCustomObj::~KsCustomObj() {
  SetOwner(nullptr);
  Members.Clear();
  if (arena_) arena_->Release();
}

void KsCustomObj::SetDatabase(DbConnection* db) { Database = db; }

void KsCustomObj::ApplyOwnerKeys() {
  if (PKCount == 0) return;  // most objects have no key to take over
  if (auto* owner = dynamic_cast<KsObj*>(owner_); owner && owner->Members.Count() > 0) {
    const int n = TokenCount(FKNames(), ",");
    for (int i = 1; i <= n && i <= PKCount; ++i)
      if (const KsMember* m = owner->Members.Find(Token(FKNames(), i, ",")))
        key_->members[i - 1]->SetValue(m->Value);
  } else if (auto* list = dynamic_cast<KsObjList*>(owner_); list && list->Members.Count() > 0) {
    for (int i = 0; i < PKCount; ++i)
      if (const KsMember* m = list->Members.Find(key_->members[i]->Name()))
        key_->members[i]->SetValue(m->Value);
  }
}

const std::string& KsCustomObj::GetTableName() const { return Class().ClassTablename(); }

KsMember& KsCustomObj::GetMember(const std::string& name) {
  if (KsMember* m = Members.FindOrMake(name)) return *m;
  MessageBoxes().ShowMessage(std::string(ClassName()) + ".GetMember\r\n" +
                             FormatEx("Das Feld \"%s\" ist in der Tabelle \"%s\" nicht bekannt.",
                                      {Variant(name), Variant(TableName())}));
  return NoMember();
}

void KsCustomObj::SetParam(const std::string& name, const Variant& value) {
  if (SameText(name, "ONDEMAND")) {
    if (ParamIsSet(value)) Flags |= ofOnDemand;
  } else if (SameText(name, "FKNAMES")) {
    std::string names = ParamAsString(value);
    fkNames_ = names.empty() ? nullptr : std::make_unique<std::string>(std::move(names));
  } else if (SameText(name, "MEMBER")) {
    CreateMembers(ParamAsString(value));
  } else if (SameText(name, "LOAD_ONDEMAND")) {
    if (ParamIsSet(value)) Flags |= ofLoadOnDemand;
  } else if (SameText(name, "LOAD_BLOB")) {
    if (ParamIsSet(value)) Flags |= ofLoadBlob;
  } else if (SameText(name, "LOAD_MEMO")) {
    if (ParamIsSet(value)) Flags |= ofLoadMemo;
  }
}

Variant KsCustomObj::ReadValue(const std::string& name) const {
  const KsMember* m = Members.Find(name);
  return m ? m->Value : Variant();
}

void KsCustomObj::WriteValue(const std::string& name, const Variant& value) {
  if (KsMember* m = Members.FindOrMake(name)) m->SetValue(value);
}

void KsCustomObj::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  Flags = 0;
  Database = db;
  owner_ = nullptr;
  Observers.reset();
  CreateLists();
  for (size_t i = 0; i + 1 < params.size(); i += 2)
    if (params[i].Kind() == KsVarKind::String)
      SetParam(std::string(params[i].Str()), params[i + 1]);
  SetOwner(owner);
}

void KsCustomObj::Assign(const KsCustomObj& source) { Members.AssignValues(source.Members); }

KsParams KsCustomObj::CloneParams() const {
  return {Variant("FKNames"),
          Variant(FKNames()),
          Variant("OnDemand"),
          Variant((Flags & ofOnDemand) != 0),
          Variant("LOAD_ONDEMAND"),
          Variant((Flags & ofLoadOnDemand) != 0),
          Variant("LOAD_BLOB"),
          Variant((Flags & ofLoadBlob) != 0),
          Variant("LOAD_MEMO"),
          Variant((Flags & ofLoadMemo) != 0),
          Variant("PKMemberVariantCount"),
          Variant(static_cast<int32_t>(0))};
}

KsCustomObj* KsCustomObj::Clone(KsCustomObj* newOwner) const {
  DbConnection* db = newOwner ? newOwner->Database : Database;
  KsCustomObj* copy = Class().CreateObj(newOwner, CloneParams(), db);
  copy->Assign(*this);
  return copy;
}

void KsCustomObj::ChangePKValues(const std::vector<Variant>& values) {
  if (values.empty())
    throw EObj::CreateFmt(ClassName(),
                          "Zum Laden/Speichern des Objektes \"%s\" wurde kein Wert f\xFCr den PK "
                          "angegeben.",
                          {Variant(TableName())}, "ChangePKValues");
  for (size_t j = 0; j < values.size() && j < static_cast<size_t>(PKCount); ++j)
    key_->members[j]->SetValue(values[j]);
}

void KsCustomObj::SetOwner(KsCustomObj* newOwner) {
  if (newOwner == owner_) return;
  if (owner_) owner_->DetachChild(this);
  owner_ = newOwner;
  if (newOwner) newOwner->AttachChild(this);
}

void KsCustomObj::SetPKNames(const std::string& names) {
  PKCount = 0;
  const int n = TokenCount(names, ",");
  if (n > kMaxPK)
    throw EObj::CreateFmt(ClassName(), "\"%s\" enth\xE4lt zu viele PKs (max:%d).",
                          {Variant(names), Variant(static_cast<int32_t>(kMaxPK))}, "SetPKNames");
  for (int i = 1; i <= n; ++i) {
    const std::string name = Token(names, i, ",");
    KsMember* m = &GetMember(name);
    if (!key_) key_ = std::make_unique<Key>();
    key_->members[PKCount] = m;
    key_->stored[PKCount] = Variant();
    ++PKCount;
  }
}

KsMember& KsCustomObj::GetPKMember(uint8_t i) const {
  if (i >= PKCount)
    throw EObj(ClassName(), "Die Nummer des PK ist gr\xF6sser als die Anzahl der PKs",
               "GetPKMember");
  return *key_->members[i];
}

namespace {
const Variant kNothingStored;
}  // namespace

const std::string& KsCustomObj::FKNames() const {
  static const std::string none;
  return fkNames_ ? *fkNames_ : none;
}

const Variant& KsCustomObj::StoredKey(int i) const {
  return i >= 0 && i < PKCount ? key_->stored[i] : kNothingStored;
}

const Variant& KsCustomObj::StoredValueOf(const KsMember& member) const {
  for (int i = 0; i < PKCount; ++i)
    if (key_->members[i] == &member) return key_->stored[i];
  return kNothingStored;
}

void KsCustomObj::StoreKeyValues() {
  for (int i = 0; i < PKCount; ++i) key_->stored[i] = key_->members[i]->Value;
}

void KsCustomObj::SetStoredKey(int i, Variant value) {
  if (i >= 0 && i < PKCount) key_->stored[i] = std::move(value);
}

void KsCustomObj::ClearStoredKeys() {
  for (int i = 0; i < PKCount; ++i) key_->stored[i] = Variant::Null();
}

void KsCustomObj::Notify(bool propagate, KsCustomObj* sender, const KsParams& params, int event) {
  if (Observers) {
    for (Observer* o : *Observers)
      if (o->Active && (o->Events == 0 || (event >= 0 && event < 16 && (o->Events >> event) & 1)))
        o->Update(sender, event, params);
  }
  if (propagate && owner_) owner_->Notify(propagate, sender, params, event);
}

void KsCustomObj::BuildMembers(const std::string& members, int variantCount) {
  try {
    const KsFBDesc* desc = FindDescriptor(TableName());
    if (!desc) return;
    const IndexDesc* pk = desc->FirstUniqueIndex();
    if (members == "#ALL#" && Members.Count() == 0) {
      Members.UseLayout(desc->Layout());
      if (pk) SetPKNames(pk->FieldNames);
      return;
    }
    if (members != "#PK_ONLY#") {
      std::vector<const KsFieldDesc*> fields;
      const std::string list = "," + members + ",";
      for (const auto& f : desc->Fields) {
        if (f->Flags & fbfCalculated) continue;
        if (members != "#ALL#" && list.find("," + f->Name + ",") == std::string::npos) continue;
        fields.push_back(f.get());
      }
      Members.AddMembers(fields);
      if (pk) SetPKNames(pk->FieldNames);
      return;
    }
    if (!pk) return;
    const int k = TokenCount(pk->FieldNames, ",");
    std::vector<const KsFieldDesc*> fields;
    std::string names;
    for (int i = 1; i <= k - variantCount; ++i) {
      const std::string name = Token(pk->FieldNames, i, ",");
      const KsFieldDesc* field = nullptr;
      for (const auto& f : desc->Fields)
        if (SameText(f->Name, name)) {
          field = f.get();
          break;
        }
      fields.push_back(field);
      names += (i > 1 ? "," : "") + name;
    }
    if (fields.empty()) return;
    Members.AddMembers(fields);
    SetPKNames(names);
  } catch (...) {
    // Members made so far stay; a broken descriptor must not stop the object.
  }
}
