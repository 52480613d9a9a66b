#include "core/ref_list.h"

#include <algorithm>

#include "core/custom_obj.h"
#include "util/same_text.h"

namespace {
using Entry = std::pair<std::string, KsCustomObj*>;
bool NameLess(const Entry& e, const std::string& name) { return CompareText(e.first, name) < 0; }
}  // namespace

int KsRefList::IndexOf(const std::string& name) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), name, NameLess);
  if (it != entries_.end() && CompareText(it->first, name) == 0)
    return static_cast<int>(it - entries_.begin());
  return -1;
}

KsCustomObj* KsRefList::Find(const std::string& name) const {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : entries_[i].second;
}

void KsRefList::AddObject(const std::string& name, KsCustomObj* obj) {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), name, NameLess);
  if (it != entries_.end() && CompareText(it->first, name) == 0)
    it->second = obj;
  else
    entries_.insert(it, Entry(name, obj));
}

bool KsRefList::RemoveObject(const KsCustomObj* obj) {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [obj](const Entry& e) { return e.second == obj; });
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

void KsRefList::Clear() {
  clearing_ = true;
  for (Entry& e : entries_) {
    delete e.second;
    e.second = nullptr;
  }
  entries_.clear();
  clearing_ = false;
}
