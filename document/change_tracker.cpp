#include "document/change_tracker.h"

#include <cstdio>
#include <exception>

#include "core/fb_desc.h"
#include "gaeb/gaeb_obj.h"

namespace {

bool IsNumber(uint8_t type) {
  return type == ftSmallint || type == ftInteger || type == ftFloat || type == ftCurrency;
}

}  // namespace

std::string ComparableValue(const KsMember& member) {
  if (IsNumber(member.GetFieldType())) {
    try {
      char exact[40];
      std::snprintf(exact, sizeof exact, "%a", member.GetAsFloat());
      return exact;
    } catch (const std::exception&) {
      // a number the file held as text that is none: compared as text
    }
  }
  return member.GetAsString();
}

namespace {

// The element's own values; children are elements of their own.
std::vector<std::string> Values(const KsGAEBObj& element) {
  std::vector<std::string> values;
  values.reserve(element.Members.Count());
  for (const KsMember& member : element.Members.All()) {
    const uint8_t type = member.GetFieldType();
    if (type != ftUnknown && type != ftCursor) values.push_back(ComparableValue(member));
  }
  return values;
}

}  // namespace

void ChangeTracker::Note(const KsGAEBObj& element) {
  if (!kept_.contains(&element)) kept_.emplace(&element, Values(element));
}

bool ChangeTracker::Changed() const {
  if (unsaved_) return true;
  for (const auto& [element, values] : kept_)
    if (Values(*element) != values) return true;
  return false;
}

void ChangeTracker::Reset() {
  kept_.clear();
  unsaved_ = false;
}
