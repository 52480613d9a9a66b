#include "gaeb/gaeb_obj.h"

#include <array>
#include <unordered_map>

#include "core/arena.h"
#include "core/member_layout.h"
#include "gaeb/gaeb_classes.h"
#include "util/same_text.h"

namespace {

GaebDocument* DocumentOf(const Variant& v) {
  return v.Kind() == KsVarKind::Pointer ? static_cast<GaebDocument*>(v.Ptr()) : nullptr;
}

KsCustomObj* HeldObject(const KsMember* m) { return m ? m->Child() : nullptr; }

std::string UpperAscii(std::string s) {
  for (char& c : s) c = AsciiUpper(c);
  return s;
}

// What a child field of the catalogue means to its elements, worked out once
// per field: the class key its member holds and, for a child list, the
// registered list class and the table name the list is listed under.
struct ChildField {
  std::string name;  // the field's name and type when this was worked out
  uint8_t type = ftUnknown;
  std::string key;
  const ObjClass* elementClass = nullptr;  // of a single child
  const ObjClass* listClass = nullptr;
  std::string listTableName;
};

const ChildField& ChildFieldOf(const KsFieldDesc& field) {
  static std::unordered_map<const KsFieldDesc*, ChildField> known;
  ChildField& info = known[&field];
  if (info.name == field.Name && info.type == field.FieldType && !info.key.empty()) return info;
  info = ChildField{field.Name, field.FieldType, "GAEB" + field.Name, nullptr, nullptr, {}};
  if (field.FieldType == ftUnknown) info.elementClass = GaebClasses().FindClass(info.key);
  if (field.FieldType == ftCursor) {
    info.key += "LIST";
    info.listClass = GaebClasses().FindClass(info.key);
    if (info.listClass) info.listTableName = info.listClass->ClassItemClass()->ClassTablename();
  }
  return info;
}

// Lists may wait until they are needed when each is a registered list class
// and no two are listed under one table name, so that the order in which
// they are made cannot change what Children holds.
bool ListsMayWait(const MemberLayout& layout) {
  // Every element is checked as it is made: the names are kept without
  // allocating. A layout of more lists than this makes them at once.
  std::array<const std::string*, 16> names;
  size_t count = 0;
  for (const int i : layout.ChildFields()) {
    const KsFieldDesc& field = *layout.Field(i);
    if (field.FieldType != ftCursor) continue;
    const ChildField& info = ChildFieldOf(field);
    if (!info.listClass || count == names.size()) return false;
    for (size_t k = 0; k < count; ++k)
      if (SameText(*names[k], info.listTableName)) return false;
    names[count++] = &info.listTableName;
  }
  return true;
}

}  // namespace

const ObjClass& KsGAEBObj::StaticClass() {
  static const ObjClassOf<KsGAEBObj, GaebClass> cls("KsGAEBObj", &KsObj::StaticClass());
  return cls;
}

const ObjClass& KsGTitPosBase::StaticClass() {
  static const ObjClassOf<KsGTitPosBase, GaebClass> cls("KsGTitPosBase", &KsGAEBObj::StaticClass());
  return cls;
}

const ObjClass& KsGAEBObjList::StaticClass() {
  static const ObjClassOf<KsGAEBObjList, GaebListClass> cls("KsGAEBObjList",
                                                            &KsObjList::StaticClass());
  return cls;
}

KsGAEBObj* AsElement(KsCustomObj* obj) {
  return obj && obj->Class().InheritsFrom(KsGAEBObj::StaticClass()) ? static_cast<KsGAEBObj*>(obj)
                                                                    : nullptr;
}

KsGAEBObjList* AsElementList(KsCustomObj* obj) {
  return obj && obj->Class().InheritsFrom(KsGAEBObjList::StaticClass())
             ? static_cast<KsGAEBObjList*>(obj)
             : nullptr;
}

const std::string& GaebClass::ClassTablename() const {
  if (tableName_.empty()) tableName_ = "GAEB" + UpperAscii(std::string(Name()).substr(3));
  return tableName_;
}

const ObjClass* GaebListClass::ClassItemClass() const {
  if (!itemClass_) {
    const std::string name = Name();
    const std::string element = name.size() > 7 ? name.substr(3, name.size() - 7) : std::string();
    const ObjClass* cls = GaebClasses().FindClass("GAEB" + element);
    itemClass_ = cls ? cls : &KsGAEBObj::StaticClass();
  }
  return itemClass_;
}

KsMember& KsGAEBObj::GetMember(const std::string& name) {
  if (KsMember* m = Members.FindOrMake(name)) return *m;
  return NoMember();
}

void KsGAEBObj::SetParam(const std::string& name, const Variant& value) {
  KsObj::SetParam(name, value);
  if (SameText(name, kImportDocParam)) ImportDoc = DocumentOf(value);
}

void KsGAEBObjList::SetParam(const std::string& name, const Variant& value) {
  KsObjList::SetParam(name, value);
  if (SameText(name, kImportDocParam)) ImportDoc = DocumentOf(value);
}

void KsGAEBObj::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  ImportDoc = nullptr;
  KsObj::Create(owner, params, db);
  created_ = true;
  const MemberLayout* layout = Members.Layout();
  if (!layout) return;
  const bool listsMayWait = ListsMayWait(*layout);
  bool waiting = false;
  for (const int i : layout->ChildFields()) {
    if (Members.Holds(i)) {
      InitChildMember(Members.GetOrMake(i));  // made while the element was created
    } else if (layout->Field(i)->FieldType == ftUnknown || !listsMayWait) {
      Members.GetOrMake(i);  // set up as it is made
    } else {
      waiting = true;
    }
  }
  // Every element holds its required fields and its single-child fields from
  // the start, so that writing walks the members held and nothing else.
  for (const int i : layout->RequiredFields()) Members.GetOrMake(i);
  if (waiting) Children.SetPending();
}

void KsGAEBObj::InitMember(KsMember& member) {
  if (created_) InitChildMember(member);
}

void KsGAEBObj::InitChildMember(KsMember& member) {
  if (!KsMember::IsChildField(member.FieldDesc)) return;
  const ChildField& info = ChildFieldOf(*member.FieldDesc);
  member.Value = Variant(info.key, HomeArena());
  if (member.GetFieldType() != ftCursor) return;
  member.SetChild(GaebClasses().CreateObj(info.key, this, ImportParams(ImportDoc), nullptr));
}

void KsGAEBObj::CreateDeferredChildren() {
  const MemberLayout* layout = Members.Layout();
  if (!layout) return;
  for (const int i : layout->ChildFields())
    if (layout->Field(i)->FieldType == ftCursor && !Members.Holds(i)) Members.GetOrMake(i);
}

bool KsGAEBObj::DefersChild(std::string_view tableName) const {
  const MemberLayout* layout = Members.Layout();
  if (!layout) return false;
  for (const int i : layout->ChildFields())
    if (layout->Field(i)->FieldType == ftCursor && !Members.Holds(i) &&
        SameText(ChildFieldOf(*layout->Field(i)).listTableName, tableName))
      return true;
  return false;
}

void KsGAEBObj::Assign(const KsCustomObj& source) {
  // Every child member is made first, so that none is set up with a list of
  // its own once the children are copies of the source's.
  const MemberLayout* layout = Members.Layout();
  if (layout)
    for (const int i : layout->ChildFields()) Members.GetOrMake(i);
  KsObj::Assign(source);
  // The children this element had, its own lists among them, were replaced by
  // copies of the source's; each child member must hold the copy now.
  if (layout)
    for (const int i : layout->ChildFields())
      Members.GetOrMake(i).SetChild(Children.Find("GAEB" + layout->Field(i)->Name));
}

KsGAEBObj* KsGAEBObj::Child(const std::string& memberName) const {
  return HeldElement(Members.Find(memberName));
}

KsGAEBObj* KsGAEBObj::HeldElement(const KsMember* member) { return AsElement(HeldObject(member)); }

KsGAEBObjList* KsGAEBObj::HeldElementList(const KsMember* member) {
  return AsElementList(HeldObject(member));
}

KsGAEBObjList* KsGAEBObj::ChildList(const std::string& memberName) const {
  return HeldElementList(Members.Find(memberName));
}

KsGAEBObjList* KsGAEBObj::ChildListOrNew(const std::string& memberName) {
  return HeldElementList(Members.FindOrMake(memberName));
}

std::string KsGAEBObj::Text(const std::string& memberName) const {
  const KsMember* m = Members.Find(memberName);
  if (!m) return std::string();
  // A child list waiting to be made is named by its class key all the same.
  if (m->GetFieldType() == ftCursor && m->Value.IsEmpty()) return ChildFieldOf(*m->FieldDesc).key;
  return m->GetAsString();
}

const ObjClass* KsGAEBObj::ChildElementClass(const KsMember& member) {
  if (member.Value.Kind() != KsVarKind::String) return nullptr;
  const std::string_view key = member.Value.Str();
  if (member.GetFieldType() == ftUnknown) {
    const ChildField& info = ChildFieldOf(*member.FieldDesc);
    if (key == info.key) return info.elementClass;
  }
  return GaebClasses().FindClass(std::string(key));
}

KsGAEBObj* KsGAEBObj::NewChild(KsMember& member, GaebDocument* doc) {
  const ObjClass* cls = ChildElementClass(member);
  if (!cls) return nullptr;
  KsCustomObj* child = cls->CreateObj(this, ImportParams(doc), nullptr);
  KsGAEBObj* element = AsElement(child);
  if (!element) {
    delete child;
    return nullptr;
  }
  // The new child took the earlier one's place in Children, so nothing else
  // would free that.
  KsCustomObj* earlier = HeldObject(&member);
  if (earlier && earlier != child && earlier->Owner() == this) delete earlier;
  member.SetChild(child);
  return element;
}

KsGAEBObj* KsGAEBObj::NewListItem(KsGAEBObjList& list, GaebDocument* doc) {
  KsParams params = {Variant("TableName"), Variant(TableName()), Variant("FKNames"), Variant("")};
  const KsParams docParams = ImportParams(doc);
  params.insert(params.end(), docParams.begin(), docParams.end());
  KsCustomObj* item = list.ItemClass()->CreateObj(&list, params, nullptr);
  if (KsGAEBObj* element = AsElement(item)) return element;
  delete item;
  return nullptr;
}

KsGAEBObj* KsGAEBObj::ChildOrNew(const std::string& memberName, GaebDocument* doc) {
  if (KsGAEBObj* existing = Child(memberName)) return existing;
  KsMember* member = Members.FindOrMake(memberName);
  return member ? NewChild(*member, doc) : nullptr;
}

KsGAEBObj* KsGAEBObj::NewListItem(const std::string& listMember, GaebDocument* doc) {
  KsGAEBObjList* list = ChildListOrNew(listMember);
  return list ? NewListItem(*list, doc) : nullptr;
}

std::string Uncreatable(const std::string& name) {
  return "Das Element " + name + " kann nicht angelegt werden.";
}

KsGAEBObj* KsGAEBObj::ParentElement() const {
  KsCustomObj* o = Owner();
  if (dynamic_cast<KsObjList*>(o)) o = o->Owner();
  return dynamic_cast<KsGAEBObj*>(o);
}
