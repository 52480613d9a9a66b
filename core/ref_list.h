#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class KsCustomObj;
class KsObj;

// Table names with the owned child objects, sorted ignoring letter case. At
// most one object per name: adding under a present name replaces the object
// (the earlier one is no longer listed nor freed by this list).
//
// The owner may put off making some children until they are needed (the
// element layer's empty child lists): it then marks the list Pending, and
// the list has the owner make them before anything reads it, or before a
// child arrives under the name of one of them.
class KsRefList {
 public:
  explicit KsRefList(KsObj* owner = nullptr) : owner_(owner) {}
  KsRefList(const KsRefList&) = delete;
  KsRefList& operator=(const KsRefList&) = delete;
  ~KsRefList();

  int Count() const;
  const std::string& Strings(int i) const;
  KsCustomObj* Objects(int i) const;
  // Index of the entry with this name (ignoring case), -1 if none.
  int IndexOf(const std::string& name) const;
  KsCustomObj* Find(const std::string& name) const;
  void AddObject(const std::string& name, KsCustomObj* obj);
  // Removes the first entry holding obj; false if none.
  bool RemoveObject(const KsCustomObj* obj);
  // Frees every attached object, first to last, and removes all entries.
  // Children still put off are never made.
  void Clear();
  bool Clearing() const { return clearing_; }

  void SetPending() { pending_ = true; }

 private:
  struct Entry {
    const std::string* name;  // interned: names are few and repeat in every element
    KsCustomObj* obj;
  };
  // Has the owner make what it put off.
  void Settle() const;
  const Entry& At(int i) const;
  Entry* Lower(std::string_view name) const;
  void Reserve(uint32_t capacity);

  Entry* entries_ = nullptr;
  uint32_t count_ = 0;
  uint16_t capacity_ = 0;
  bool clearing_ = false;
  mutable bool pending_ = false;
  KsObj* owner_;  // whose children these are; gives the arena. Null for a list alone.
};
