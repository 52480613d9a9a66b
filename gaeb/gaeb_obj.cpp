#include "gaeb/gaeb_obj.h"

#include "gaeb/gaeb_classes.h"
#include "util/same_text.h"

namespace {

GaebDocument* DocumentOf(const Variant& v) {
  return v.Kind() == KsVarKind::Pointer ? static_cast<GaebDocument*>(v.Ptr()) : nullptr;
}

KsCustomObj* HeldObject(const KsMember* m) {
  if (!m || m->OldValue().Kind() != KsVarKind::Pointer) return nullptr;
  return static_cast<KsCustomObj*>(m->OldValue().Ptr());
}

std::string UpperAscii(std::string s) {
  for (char& c : s) c = AsciiUpper(c);
  return s;
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

std::string GaebClass::ClassTablename() const {
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
  if (KsMember* m = Members.Find(name)) return *m;
  return NoMember();
}

void KsGAEBObj::SetParam(const std::string& name, const Variant& value) {
  KsObj::SetParam(name, value);
  if (SameText(name, "GAEBImp00"))
    ImportDoc = DocumentOf(value);
  else if (SameText(name, "GAEBExp00"))
    ExportDoc = DocumentOf(value);
}

void KsGAEBObjList::SetParam(const std::string& name, const Variant& value) {
  KsObjList::SetParam(name, value);
  if (SameText(name, "GAEBImp00"))
    ImportDoc = DocumentOf(value);
  else if (SameText(name, "GAEBExp00"))
    ExportDoc = DocumentOf(value);
}

void KsGAEBObj::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  ImportDoc = nullptr;
  ExportDoc = nullptr;
  KsObj::Create(owner, params, db);
  for (KsMember* m : Members) {
    const uint8_t type = m->GetFieldType();
    if (type == ftUnknown) {
      m->Value = Variant("GAEB" + m->Name());
    } else if (type == ftCursor) {
      const std::string key = "GAEB" + m->Name() + "LIST";
      m->Value = Variant(key);
      KsCustomObj* list = GaebClasses().CreateObj(key, this,
                                                  {Variant("GAEBImp00"), DocumentParam(ImportDoc),
                                                   Variant("GAEBExp00"), DocumentParam(ExportDoc)},
                                                  nullptr);
      m->SetOldValue(Variant::FromPointer(list));
    }
  }
}

void KsGAEBObj::Assign(const KsCustomObj& source) {
  KsObj::Assign(source);
  // The children this element had, its own lists among them, were replaced by
  // copies of the source's; each child member must hold the copy now.
  for (KsMember* m : Members) {
    const uint8_t type = m->GetFieldType();
    if (type != ftUnknown && type != ftCursor) continue;
    KsCustomObj* child = Children.Find("GAEB" + m->Name());
    m->SetOldValue(child ? Variant::FromPointer(child) : Variant());
  }
}

KsGAEBObj* KsGAEBObj::Child(const std::string& memberName) const {
  return dynamic_cast<KsGAEBObj*>(HeldObject(Members.Find(memberName)));
}

KsGAEBObjList* KsGAEBObj::ChildList(const std::string& memberName) const {
  return dynamic_cast<KsGAEBObjList*>(HeldObject(Members.Find(memberName)));
}

std::string KsGAEBObj::Text(const std::string& memberName) const {
  const KsMember* m = Members.Find(memberName);
  return m ? m->GetAsString() : std::string();
}

KsGAEBObj* KsGAEBObj::ParentElement() const {
  KsCustomObj* o = Owner();
  if (dynamic_cast<KsObjList*>(o)) o = o->Owner();
  return dynamic_cast<KsGAEBObj*>(o);
}
