#include "document/value_entries.h"

#include <exception>
#include <utility>

#include "core/member.h"
#include "document/cell_text.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "util/entry_error.h"
#include "util/trim.h"
#include "util/variant.h"

namespace {

// The entered fields of an element as they stood before the first entry.
struct Before {
  KsGAEBObj* Element;
  std::string Field;
  Variant Value;
};

void PutBack(KsLyxObj& document, const std::vector<Before>& before) {
  for (auto it = before.rbegin(); it != before.rend(); ++it)
    it->Element->GetMember(it->Field).SetValue(it->Value);
  if (document.Lv) CalcAll(*document.Lv);
}

}  // namespace

void ApplyEntries(KsLyxObj& document, const ValueEntries& entries) {
  std::vector<Before> before;
  before.reserve(entries.size());
  for (const ValueEntry& entry : entries) {
    KsMember& member = entry.Element->GetMember(entry.Field);
    before.push_back({entry.Element, entry.Field, member.Value});
    try {
      document.NoteEdit(*entry.Element);
      ApplyCellText(*entry.Element, member, entry.Text);
    } catch (const std::exception& e) {
      PutBack(document, before);
      const bool refusal = dynamic_cast<const EntryError*>(&e) != nullptr;
      throw EntryError(Trim(entry.Element->Text("OZ")) + ", " + entry.Field + ": " +
                       (refusal ? std::string(e.what()) : entry.Text + " ist keine Zahl"));
    }
  }
}
