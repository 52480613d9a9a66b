#include "xml/nvp_list.h"

namespace {
constexpr size_t kLinearSearch = 8;
}

TNvpNode* TNvpList::Add(std::unique_ptr<TNvpNode> node) {
  items_.push_back(std::move(node));
  return items_.back().get();
}

TNvpNode* TNvpList::Find(std::string_view name) const {
  if (items_.size() <= kLinearSearch) {
    for (const auto& node : items_)
      if (node->Name == name) return node.get();
    return nullptr;
  }
  for (; indexed_ < items_.size(); ++indexed_)
    index_.try_emplace(items_[indexed_]->Name, items_[indexed_].get());
  auto it = index_.find(name);
  return it == index_.end() ? nullptr : it->second;
}

std::string TNvpList::Value(std::string_view name) const {
  const TNvpNode* node = Find(name);
  return node ? node->Value : std::string();
}

void TNvpList::Clear() {
  items_.clear();
  if (indexed_ > 0) {
    index_.clear();
    indexed_ = 0;
  }
}
