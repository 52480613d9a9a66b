#include "document/edit_history.h"

#include <algorithm>

#include "core/fb_desc.h"
#include "gaeb/gaeb_obj.h"

namespace {

bool IsOwnValue(const KsMember& member) {
  const uint8_t type = member.GetFieldType();
  return type != ftUnknown && type != ftCursor;
}

// Values compare by kind and text, so 100 and "100" differ as they would
// when written.
bool SameValue(const Variant& a, const Variant& b) {
  if (a.Kind() != b.Kind()) return false;
  if (a.IsEmptyOrNull()) return true;
  if (a.Kind() == KsVarKind::Pointer) return a.Ptr() == b.Ptr();
  if (a.Kind() == KsVarKind::StringList) return a.List() == b.List();
  if (a.Kind() == KsVarKind::Float || a.Kind() == KsVarKind::Currency ||
      a.Kind() == KsVarKind::DateTime)
    return a.ToFloat() == b.ToFloat();
  return a.ToString() == b.ToString();
}

}  // namespace

EditHistory::Values EditHistory::Take(const KsGAEBObj& element) {
  Values taken;
  const int count = element.Members.Count();
  taken.values.resize(count);
  int i = 0;
  for (const KsMember& member : element.Members.All()) {
    if (IsOwnValue(member)) taken.values[i] = member.Value;
    ++i;
  }
  return taken;
}

bool EditHistory::Same(const Values& a, const Values& b) {
  if (a.values.size() != b.values.size()) return false;
  for (size_t i = 0; i < a.values.size(); ++i)
    if (!SameValue(a.values[i], b.values[i])) return false;
  return true;
}

// Only the values that differ are written, so members the entry never
// touched stay as they are (and unmade ones stay unmade).
void EditHistory::Put(KsGAEBObj& element, const Values& values) {
  const Values now = Take(element);
  const int count = std::min<int>(element.Members.Count(), static_cast<int>(values.values.size()));
  for (int i = 0; i < count; ++i) {
    if (SameValue(now.values[i], values.values[i])) continue;
    KsMember& member = element.Members.GetOrMake(i);
    if (IsOwnValue(member)) member.SetValue(values.values[i]);
  }
}

void EditHistory::Note(KsGAEBObj& element) {
  if (noted_.insert(&element).second) open_.push_back({&element, Take(element), {}});
}

bool EditHistory::Close() {
  if (open_.empty()) return false;
  Step step;
  for (Change& change : open_) {
    change.after = Take(*change.element);
    if (!Same(change.before, change.after)) step.push_back(std::move(change));
  }
  open_.clear();
  noted_.clear();
  if (step.empty()) return false;
  done_.push_back(std::move(step));
  undone_.clear();
  return true;
}

std::vector<KsGAEBObj*> EditHistory::Apply(const Step& step, bool undo) {
  std::vector<KsGAEBObj*> elements;
  // Backwards when undoing, so an element's values of before win in any order.
  if (undo) {
    for (auto change = step.rbegin(); change != step.rend(); ++change)
      Put(*change->element, change->before);
  } else {
    for (const Change& change : step) Put(*change.element, change.after);
  }
  for (const Change& change : step) elements.push_back(change.element);
  return elements;
}

std::vector<KsGAEBObj*> EditHistory::Undo() {
  Close();
  if (done_.empty()) return {};
  Step step = std::move(done_.back());
  done_.pop_back();
  std::vector<KsGAEBObj*> elements = Apply(step, true);
  undone_.push_back(std::move(step));
  return elements;
}

std::vector<KsGAEBObj*> EditHistory::Redo() {
  Close();
  if (undone_.empty()) return {};
  Step step = std::move(undone_.back());
  undone_.pop_back();
  std::vector<KsGAEBObj*> elements = Apply(step, false);
  done_.push_back(std::move(step));
  return elements;
}
