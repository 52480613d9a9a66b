#include "xml/attr_list.h"

TAttr* TAttrList::AddAttr(std::string_view name, std::string_view value) {
  std::unique_ptr<TNvpNode> node;
  if (spare_.empty()) {
    node = std::make_unique<TAttr>();
  } else {
    node = std::move(spare_.back());
    spare_.pop_back();
  }
  auto* attr = static_cast<TAttr*>(node.get());
  attr->Name.assign(name);
  attr->Value.assign(value);
  attr->ValueKind = avNormal;
  attr->AttrType = atUnknown;
  Add(std::move(node));
  return attr;
}

void TAttrList::Clear() {
  for (auto& node : items_) spare_.push_back(std::move(node));
  TNvpList::Clear();
}
