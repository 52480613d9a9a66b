#include "core/obj_list.h"

#include <algorithm>
#include <cstdint>

#include "core/eobj.h"
#include "util/same_text.h"

KsCustomObj* const KsObjList::kRemoveAll =
    reinterpret_cast<KsCustomObj*>(static_cast<intptr_t>(-3));

const std::string& ObjListClass::ClassTablename() const {
  throw EObj("KsObjList", "Aufruf ist nicht erlaubt ! Stattdessen KsObjList.TableName verwenden .",
             "ClassTablename");
}

const ObjClass& KsObjList::StaticClass() {
  static const ObjClassOf<KsObjList, ObjListClass> cls("KsObjList", &KsCustomObj::StaticClass());
  return cls;
}

KsObjList::~KsObjList() {
  Clear();
  // Objects taken out of the list are still ours.
  State |= osClearing;
  for (auto it = Removed.rbegin(); it != Removed.rend(); ++it) delete *it;
  Removed.clear();
  State &= static_cast<uint8_t>(~osClearing);
}

int KsObjList::IndexOf(const KsCustomObj* obj) const {
  auto it = std::find(ItemsList.begin(), ItemsList.end(), obj);
  return it == ItemsList.end() ? -1 : static_cast<int>(it - ItemsList.begin());
}

void KsObjList::Clear() {
  State |= osClearing;
  for (auto it = ItemsList.rbegin(); it != ItemsList.rend(); ++it) delete *it;
  ItemsList.clear();
  State &= static_cast<uint8_t>(~(osClearing | osInDatabase | osLoadTried));
}

const ObjClass* KsObjList::ItemClass() const {
  const ObjClass* cls = Class().ClassItemClass();
  if (!cls)
    throw EObj(ClassName(), "F\xFCr den Klassen-Container wurde noch keine Klasse definiert",
               "CreateObj");
  return cls;
}

KsCustomObj* KsObjList::CreateObj() {
  const ObjClass* cls = ItemClass();
  return cls->CreateObj(
      this, {Variant("TableName"), Variant(TableName()), Variant("FKNames"), Variant(FKNames())},
      Database);
}

void KsObjList::MoveLastTo(int index) {
  if (index >= 0 && index < Count() - 1) {
    KsCustomObj* last = ItemsList.back();
    ItemsList.pop_back();
    ItemsList.insert(ItemsList.begin() + index, last);
    Flags &= static_cast<uint16_t>(~ofAppended);
  }
}

KsCustomObj* KsObjList::Insert(int index) {
  KsCustomObj* obj = CreateObj();
  MoveLastTo(index);
  return obj;
}

void KsObjList::AddObj(KsCustomObj* obj, int index) {
  if (!obj) return;
  obj->SetOwner(this);
  MoveLastTo(index);
}

void KsObjList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  Removed.push_back(ItemsList[index]);
  ItemsList.erase(ItemsList.begin() + index);
}

void KsObjList::Remove(KsCustomObj* obj) {
  if (obj == kRemoveAll) {
    while (Count() > 0) Delete(0);
    return;
  }
  const int i = IndexOf(obj);
  if (i >= 0) Delete(i);
}

const std::string& KsObjList::GetTableName() const { return ItemClass()->ClassTablename(); }

void KsObjList::SetParam(const std::string& name, const Variant& value) {
  KsCustomObj::SetParam(name, value);
  if (SameText(name, "PKMemberVariantCount") && !value.IsEmptyOrNull())
    PKMemberVariantCount = static_cast<int16_t>(value.ToInteger());
}

void KsObjList::SetDatabase(DbConnection* db) {
  KsCustomObj::SetDatabase(db);
  for (KsCustomObj* item : ItemsList) item->SetDatabase(db);
}

void KsObjList::ApplyOwnerKeys() {
  KsCustomObj::ApplyOwnerKeys();
  for (KsCustomObj* item : ItemsList) item->ApplyOwnerKeys();
  for (KsCustomObj* item : Removed) item->ApplyOwnerKeys();
}

bool KsObjList::IsModified() const {
  if (!Removed.empty()) return true;
  for (const KsCustomObj* item : ItemsList)
    if (item->IsModified()) return true;
  return false;
}

void KsObjList::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  KsCustomObj::Create(owner, params, db);
  if (!TableName().empty() && Members.Count() == 0) CreateMembers("#PK_ONLY#");
}

void KsObjList::CreateLists() { PKMemberVariantCount = 1; }

void KsObjList::CreateMembers(const std::string&) {
  BuildMembers("#PK_ONLY#", PKMemberVariantCount);
}

void KsObjList::Assign(const KsCustomObj& source) {
  KsCustomObj::Assign(source);
  Clear();
  if (const auto* src = dynamic_cast<const KsObjList*>(&source)) {
    for (const KsCustomObj* item : src->ItemsList) {
      KsCustomObj* copy = item->Clone(this);
      copy->SetDatabase(Database);
    }
  }
}

void KsObjList::ChangePKValues(const std::vector<Variant>& values) {
  KsCustomObj::ChangePKValues(values);
  for (KsCustomObj* item : ItemsList) item->ApplyOwnerKeys();
  for (KsCustomObj* item : Removed) item->ApplyOwnerKeys();
}

bool KsObjList::Validate(bool recursive) {
  for (KsCustomObj* item : ItemsList)
    if (!item->Validate(recursive)) return false;
  return true;
}

KsParams KsObjList::CloneParams() const {
  KsParams p = KsCustomObj::CloneParams();
  p.back() = Variant(static_cast<int32_t>(PKMemberVariantCount));
  return p;
}

void KsObjList::DetachChild(KsCustomObj* child) {
  if (State & osClearing) return;
  if (auto it = std::find(ItemsList.begin(), ItemsList.end(), child); it != ItemsList.end())
    ItemsList.erase(it);
  if (auto it = std::find(Removed.begin(), Removed.end(), child); it != Removed.end())
    Removed.erase(it);
}

void KsObjList::AttachChild(KsCustomObj* child) {
  ItemsList.push_back(child);
  Flags &= static_cast<uint16_t>(~ofAppended);
  child->ApplyOwnerKeys();
}
