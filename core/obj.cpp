#include "core/obj.h"

#include "util/same_text.h"

const ObjClass& KsObj::StaticClass() {
  static const ObjClassOf<KsObj> cls("KsObj", &KsCustomObj::StaticClass());
  return cls;
}

KsObj::~KsObj() { Children.Clear(); }

void KsObj::SetDatabase(DbConnection* db) {
  KsCustomObj::SetDatabase(db);
  for (int i = 0; i < Children.Count(); ++i) Children.Objects(i)->SetDatabase(db);
}

void KsObj::ApplyOwnerKeys() {
  KsCustomObj::ApplyOwnerKeys();
  for (int i = 0; i < Children.Count(); ++i) Children.Objects(i)->ApplyOwnerKeys();
}

bool KsObj::IsModified() const {
  // A member not made yet is not modified.
  for (const KsMember& m : Members.HeldMembers())
    if (m.Modified) return true;
  for (int i = 0; i < Children.Count(); ++i)
    if (Children.Objects(i)->IsModified()) return true;
  return false;
}

void KsObj::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  KsCustomObj::Create(owner, params, db);
  if (!TableName().empty() && Members.Count() == 0) {
    CreateMembers("#ALL#");
    ApplyOwnerKeys();
  }
}

void KsObj::CreateMembers(const std::string& members) { BuildMembers(members, 0); }

void KsObj::Assign(const KsCustomObj& source) {
  KsCustomObj::Assign(source);
  Children.Clear();
  if (const auto* src = dynamic_cast<const KsObj*>(&source)) {
    for (int i = 0; i < src->Children.Count(); ++i) {
      KsCustomObj* copy = src->Children.Objects(i)->Clone(this);
      copy->SetDatabase(Database);
    }
  }
}

void KsObj::ChangePKValues(const std::vector<Variant>& values) {
  KsCustomObj::ChangePKValues(values);
  for (int i = 0; i < Children.Count(); ++i) Children.Objects(i)->ApplyOwnerKeys();
}

bool KsObj::Validate(bool recursive) {
  if (!ValidateSelf()) return false;
  if (recursive)
    for (int i = 0; i < Children.Count(); ++i)
      if (!Children.Objects(i)->Validate(true)) return false;
  return true;
}

void KsObj::DetachChild(KsCustomObj* child) {
  if (!Children.Clearing()) Children.RemoveObject(child);
}

void KsObj::AttachChild(KsCustomObj* child) {
  Children.AddObject(child->TableName(), child);
  child->ApplyOwnerKeys();
}

const ObjClass& KsObjGeneric::StaticClass() {
  static const ObjClassOf<KsObjGeneric> cls("KsObjGeneric", &KsObj::StaticClass());
  return cls;
}

void KsObjGeneric::SetParam(const std::string& name, const Variant& value) {
  KsObj::SetParam(name, value);
  if (SameText(name, "TABLENAME")) TableNameValue = ParamAsString(value);
}
