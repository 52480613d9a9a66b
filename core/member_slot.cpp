#include "core/member_slot.h"

#include "core/member_layout.h"

int MemberSlot::IndexIn(const KsMemberList& members) {
  const MemberLayout* layout = members.Layout();
  if (!layout) return -1;
  if (desc_ && index_ < layout->Count() && layout->Field(index_) == desc_) return index_;
  const int i = layout->IndexOf(name_);
  if (i >= 0) {
    index_ = i;
    desc_ = layout->Field(i);
  }
  return i;
}
