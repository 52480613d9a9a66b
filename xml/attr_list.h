#pragma once

#include <memory>
#include <string>
#include <vector>

#include "xml/nvp_list.h"
#include "xml/vocabulary.h"

// One attribute of the current tag.
class TAttr : public TNvpNode {
 public:
  using TNvpNode::TNvpNode;
  TAttrValueKind ValueKind = avNormal;
  TAttrType AttrType = atUnknown;
};

// The attributes of the current tag. Every tag refills the list, so cleared
// entries are kept for reuse instead of being freed.
class TAttrList : public TNvpList {
 public:
  TAttr* Attr(int i) const { return static_cast<TAttr*>(Items(i)); }
  TAttr* FindAttr(std::string_view name) const { return static_cast<TAttr*>(Find(name)); }
  // Appends an attribute with a plain value, written in the tag.
  TAttr* AddAttr(std::string_view name, std::string_view value);
  void Clear() override;

 private:
  std::vector<std::unique_ptr<TNvpNode>> spare_;
};
