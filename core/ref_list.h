#pragma once

#include <string>
#include <utility>
#include <vector>

class KsCustomObj;

// Table names with the owned child objects, sorted ignoring letter case. At
// most one object per name: adding under a present name replaces the object
// (the earlier one is no longer listed nor freed by this list).
class KsRefList {
 public:
  KsRefList() = default;
  KsRefList(const KsRefList&) = delete;
  KsRefList& operator=(const KsRefList&) = delete;
  ~KsRefList() { Clear(); }

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Strings(int i) const { return entries_.at(i).first; }
  KsCustomObj* Objects(int i) const { return entries_.at(i).second; }
  // Index of the entry with this name (ignoring case), -1 if none.
  int IndexOf(const std::string& name) const;
  KsCustomObj* Find(const std::string& name) const;
  void AddObject(const std::string& name, KsCustomObj* obj);
  // Removes the first entry holding obj; false if none.
  bool RemoveObject(const KsCustomObj* obj);
  // Frees every attached object, first to last, and removes all entries.
  void Clear();
  bool Clearing() const { return clearing_; }

 private:
  std::vector<std::pair<std::string, KsCustomObj*>> entries_;
  bool clearing_ = false;
};
