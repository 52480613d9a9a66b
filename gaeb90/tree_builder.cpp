#include "gaeb90/tree_builder.h"

#include "gaeb/gaeb_classes.h"
#include "gaeb90/records.h"

std::unique_ptr<KsGGAEB> TreeBuilder::Root() {
  std::unique_ptr<KsCustomObj> created(GaebClasses().CreateObj(
      "GAEBGAEB", nullptr, {Variant("GAEBImp00"), DocumentParam(&doc_)}, nullptr));
  auto* element = dynamic_cast<KsGGAEB*>(created.get());
  if (!element) throw Gaeb90Error("Das Element GAEB kann nicht angelegt werden.");
  created.release();
  return std::unique_ptr<KsGGAEB>(element);
}

KsGAEBObj& TreeBuilder::Child(KsGAEBObj& parent, const char* member) {
  if (KsGAEBObj* existing = parent.Child(member)) return *existing;
  KsMember* slot = parent.Members.Find(member);
  KsCustomObj* created =
      slot ? GaebClasses().CreateObj("GAEB" + slot->Name(), &parent,
                                     {Variant("GAEBImp00"), DocumentParam(&doc_)}, nullptr)
           : nullptr;
  auto* element = dynamic_cast<KsGAEBObj*>(created);
  if (!element) {
    delete created;
    throw Gaeb90Error(std::string("Das Element ") + member + " kann nicht angelegt werden.");
  }
  slot->SetOldValue(Variant::FromPointer(created));
  return *element;
}

KsGAEBObj& TreeBuilder::NewItem(KsGAEBObj& parent, const char* listMember) {
  KsGAEBObjList* list = parent.ChildList(listMember);
  KsCustomObj* item =
      list ? list->ItemClass()->CreateObj(
                 list,
                 {Variant("TableName"), Variant(parent.TableName()), Variant("FKNames"),
                  Variant(""), Variant("GAEBImp00"), DocumentParam(&doc_)},
                 nullptr)
           : nullptr;
  auto* element = dynamic_cast<KsGAEBObj*>(item);
  if (!element) {
    delete item;
    throw Gaeb90Error(std::string("Das Element ") + listMember + " kann nicht angelegt werden.");
  }
  return *element;
}

void TreeBuilder::Set(KsGAEBObj& element, const char* member, std::string value) {
  if (value.empty()) return;
  if (KsMember* m = element.Members.Find(member)) m->SetValue(Variant(std::move(value)));
}

void TreeBuilder::SetNumber(KsGAEBObj& element, const char* member, const std::string& value) {
  if (KsMember* m = element.Members.Find(member))
    m->SetValue(Variant(element.ConvertFieldValue(value, *m)));
}
