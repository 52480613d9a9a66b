#pragma once

#include "core/custom_obj.h"

// A member found by name once and then, in every further object of the same
// layout, at the same index: objects of one table share their descriptor, so
// a walk over thousands of positions needs no name lookups. Reading makes no
// member (a field without one reads as a fresh member); In makes the member
// when the object has none yet. A slot remembers the last layout it saw: a
// slot shared by threads must be one per thread.
class MemberSlot {
 public:
  explicit MemberSlot(const char* name) : name_(name) {}

  // The member as it stands; null when the object has no such field.
  const KsMember* Peek(const KsCustomObj& object) {
    const int i = IndexIn(object.Members);
    return i < 0 ? nullptr : &object.Members.Peek(i);
  }
  KsMember* In(KsCustomObj& object) {
    const int i = IndexIn(object.Members);
    return i < 0 ? nullptr : &object.Members.Items(i);
  }

 private:
  // Checked against the list's fields, not its members: finding a member
  // walks the members the list holds.
  int IndexIn(const KsMemberList& members);

  const char* name_;
  int index_ = 0;
  const KsFieldDesc* desc_ = nullptr;
};
