#pragma once

#include <string>

#include "gaeb/gaeb_obj.h"
#include "util/trim.h"

// What the GAEB DA XML writers take from an element of the tree: the text of
// a member, trimmed, and a member as a number; "" and 0 for a missing element
// or member.

inline std::string MemberText(const KsGAEBObj* element, const char* name) {
  return element ? Trim(element->Text(name)) : std::string();
}

inline double MemberNumber(const KsGAEBObj* element, const char* name) {
  const KsMember* m = element ? element->Members.Find(name) : nullptr;
  return m ? m->GetAsFloat() : 0.0;
}
