#include "core/member_layout.h"

#include <cstdint>
#include <stdexcept>

#include "util/same_text.h"

// Length and a few letters, blind to case: the names of a table's fields
// differ there, so a lookup mostly compares a single name.
size_t MemberLayout::Hash(std::string_view name) {
  size_t h = name.size() * 0x9E3779B1u;
  if (!name.empty()) {
    h ^= static_cast<unsigned char>(AsciiUpper(name.front())) * 0x85EBCA6Bu;
    h ^= static_cast<unsigned char>(AsciiUpper(name.back())) * 0xC2B2AE35u;
    h ^= static_cast<unsigned char>(AsciiUpper(name[name.size() / 2])) * 0x27D4EB2Fu;
  }
  return h ^ (h >> 15);
}

MemberLayout::MemberLayout(std::vector<const KsFieldDesc*> fields, bool ownedByList)
    : fields_(std::move(fields)),
      blanks_(std::make_unique<KsMember[]>(fields_.size())),
      ownedByList_(ownedByList) {
  if (fields_.size() > INT16_MAX) throw std::length_error("MemberLayout");
  size_t size = 8;
  while (size < fields_.size() * 2) size *= 2;
  slots_.assign(size, -1);
  for (size_t i = 0; i < fields_.size(); ++i) {
    blanks_[i].FieldDesc = fields_[i];
    blanks_[i].index_ = static_cast<uint16_t>(i);
    if (!fields_[i]) continue;
    if (IndexOf(fields_[i]->Name) < 0) {  // of two equal names the first is found
      size_t s = Hash(fields_[i]->Name) & (size - 1);
      while (slots_[s] >= 0) s = (s + 1) & (size - 1);
      slots_[s] = static_cast<int16_t>(i);
    }
    if (KsMember::IsChildField(fields_[i])) childFields_.push_back(static_cast<int>(i));
    if (fields_[i]->Required) requiredFields_.push_back(static_cast<int>(i));
  }
}

int MemberLayout::IndexOf(std::string_view name) const {
  const size_t mask = slots_.size() - 1;
  for (size_t s = Hash(name) & mask; slots_[s] >= 0; s = (s + 1) & mask) {
    // Most names are asked for as the field is named: that is checked first.
    const std::string& field = fields_[static_cast<size_t>(slots_[s])]->Name;
    if (field == name || SameText(field, name)) return slots_[s];
  }
  return -1;
}
