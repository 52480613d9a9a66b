#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/member.h"

// The fields an object's members stand for, in member order. Objects built
// from the same descriptor share one layout; an object keeps a member only
// for a field it has been asked about, the layout answers for the others
// (see KsMemberList).
class MemberLayout {
 public:
  // `ownedByList`: made for one member list, which frees it.
  MemberLayout(std::vector<const KsFieldDesc*> fields, bool ownedByList);
  MemberLayout(const MemberLayout&) = delete;
  MemberLayout& operator=(const MemberLayout&) = delete;

  int Count() const { return static_cast<int>(fields_.size()); }
  const KsFieldDesc* Field(int i) const { return fields_[static_cast<size_t>(i)]; }
  const std::vector<const KsFieldDesc*>& Fields() const { return fields_; }
  // Position of the first field with this name, ignoring the case of A-Z; -1 if none.
  int IndexOf(std::string_view name) const;
  // A member of field i as it is made: Empty, not modified, no second value.
  const KsMember& Blank(int i) const { return blanks_[static_cast<size_t>(i)]; }
  bool OwnedByList() const { return ownedByList_; }
  // Positions of the fields that stand for a child element (ftUnknown) or a
  // child list (ftCursor), in order.
  const std::vector<int>& ChildFields() const { return childFields_; }
  // Positions of the required fields, in order.
  const std::vector<int>& RequiredFields() const { return requiredFields_; }

 private:
  // Open addressing over the field positions; every lookup by name (each
  // field a reader stores, each total) goes through here.
  static size_t Hash(std::string_view name);

  std::vector<const KsFieldDesc*> fields_;
  std::unique_ptr<KsMember[]> blanks_;
  std::vector<int16_t> slots_;  // field position, -1 for a free slot; size a power of 2
  std::vector<int> childFields_;
  std::vector<int> requiredFields_;
  bool ownedByList_;
};
