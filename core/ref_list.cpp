#include "core/ref_list.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <unordered_set>

#include "core/arena.h"
#include "core/obj.h"
#include "util/same_text.h"

namespace {

// One copy of every name a list has held, for the life of the program.
// Elements are made by the thousand under a handful of names: the names a
// thread interned last are checked first, without taking the lock.
const std::string* Intern(std::string_view name) {
  constexpr size_t kRecent = 8;
  thread_local std::array<const std::string*, kRecent> recent{};
  thread_local size_t replace = 0;
  for (const std::string* known : recent)
    if (known && *known == name) return known;
  static std::mutex guard;
  static std::unordered_set<std::string> names;
  const std::string* interned;
  {
    const std::lock_guard<std::mutex> lock(guard);
    interned = &*names.emplace(name).first;
  }
  recent[replace] = interned;
  replace = (replace + 1) % kRecent;
  return interned;
}

Arena* ArenaOf(const KsObj* owner) { return owner ? owner->HomeArena() : nullptr; }

}  // namespace

KsRefList::~KsRefList() {
  Clear();
  if (!entries_) return;
  if (Arena* arena = ArenaOf(owner_))
    arena->deallocate(entries_, capacity_ * sizeof(Entry), alignof(Entry));
  else
    ::operator delete(entries_);
}

void KsRefList::Settle() const {
  if (!pending_ || clearing_ || !owner_) return;
  pending_ = false;
  owner_->CreateDeferredChildren();
}

int KsRefList::Count() const {
  Settle();
  return static_cast<int>(count_);
}

const KsRefList::Entry& KsRefList::At(int i) const {
  Settle();
  if (i < 0 || static_cast<uint32_t>(i) >= count_) throw std::out_of_range("KsRefList");
  return entries_[i];
}

const std::string& KsRefList::Strings(int i) const { return *At(i).name; }

KsCustomObj* KsRefList::Objects(int i) const { return At(i).obj; }

KsRefList::Entry* KsRefList::Lower(std::string_view name) const {
  return std::lower_bound(
      entries_, entries_ + count_, name,
      [](const Entry& e, std::string_view n) { return CompareText(*e.name, n) < 0; });
}

int KsRefList::IndexOf(const std::string& name) const {
  Settle();
  const Entry* it = Lower(name);
  if (it != entries_ + count_ && CompareText(*it->name, name) == 0)
    return static_cast<int>(it - entries_);
  return -1;
}

KsCustomObj* KsRefList::Find(const std::string& name) const {
  if (pending_ && owner_ && owner_->DefersChild(name)) Settle();
  const Entry* it = Lower(name);
  return it != entries_ + count_ && CompareText(*it->name, name) == 0 ? it->obj : nullptr;
}

void KsRefList::Reserve(uint32_t capacity) {
  if (capacity > UINT16_MAX) throw std::length_error("KsRefList");
  Arena* arena = ArenaOf(owner_);
  void* place = arena ? arena->allocate(capacity * sizeof(Entry), alignof(Entry))
                      : ::operator new(capacity * sizeof(Entry));
  auto* grown = static_cast<Entry*>(place);
  if (count_ > 0) std::memcpy(grown, entries_, count_ * sizeof(Entry));
  if (entries_) {
    if (arena)
      arena->deallocate(entries_, capacity_ * sizeof(Entry), alignof(Entry));
    else
      ::operator delete(entries_);
  }
  entries_ = grown;
  capacity_ = static_cast<uint16_t>(capacity);
}

void KsRefList::AddObject(const std::string& name, KsCustomObj* obj) {
  // A child put off under this name would have been there first.
  if (pending_ && owner_ && owner_->DefersChild(name)) Settle();
  Entry* it = Lower(name);
  if (it != entries_ + count_ && CompareText(*it->name, name) == 0) {
    it->obj = obj;
    return;
  }
  const auto at = static_cast<uint32_t>(it - entries_);
  if (count_ == capacity_) Reserve(capacity_ == 0 ? 2 : capacity_ * 2u);
  std::memmove(entries_ + at + 1, entries_ + at, (count_ - at) * sizeof(Entry));
  entries_[at] = {Intern(name), obj};
  ++count_;
}

// Children put off are nobody's yet, so they need not be made for this.
bool KsRefList::RemoveObject(const KsCustomObj* obj) {
  Entry* it =
      std::find_if(entries_, entries_ + count_, [obj](const Entry& e) { return e.obj == obj; });
  if (it == entries_ + count_) return false;
  std::memmove(it, it + 1, (entries_ + count_ - it - 1) * sizeof(Entry));
  --count_;
  return true;
}

void KsRefList::Clear() {
  pending_ = false;
  clearing_ = true;
  for (uint32_t i = 0; i < count_; ++i) {
    delete entries_[i].obj;
    entries_[i].obj = nullptr;
  }
  count_ = 0;
  clearing_ = false;
}
