#include "gaeb90/tree_builder.h"

#include "gaeb/gaeb_classes.h"
#include "gaeb90/records.h"

std::unique_ptr<KsGGAEB> TreeBuilder::Root() {
  std::unique_ptr<KsGGAEB> root = NewGaebRoot(&doc_);
  if (!root) throw Gaeb90Error(Uncreatable("GAEB"));
  return root;
}

KsGAEBObj& TreeBuilder::Child(KsGAEBObj& parent, const char* member) {
  KsGAEBObj* child = parent.ChildOrNew(member, &doc_);
  if (!child) throw Gaeb90Error(Uncreatable(member));
  return *child;
}

KsGAEBObj& TreeBuilder::NewItem(KsGAEBObj& parent, const char* listMember) {
  KsGAEBObj* item = parent.NewListItem(listMember, &doc_);
  if (!item) throw Gaeb90Error(Uncreatable(listMember));
  return *item;
}

void TreeBuilder::Set(KsGAEBObj& element, const char* member, std::string value) {
  if (value.empty()) return;
  if (KsMember* m = element.Members.FindOrMake(member)) m->SetValue(Variant(std::move(value)));
}

void TreeBuilder::SetNumber(KsGAEBObj& element, const char* member, const std::string& value) {
  if (KsMember* m = element.Members.FindOrMake(member))
    m->SetValue(Variant(element.ConvertFieldValue(value, *m)));
}
