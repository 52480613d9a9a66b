#include "xml/expansion_guard.h"

#include <algorithm>

void ExpansionGuard::Start(size_t documentSize) {
  chain_.clear();
  spent_ = 0;
  budget_ = documentSize > kMinBudget / 4 ? documentSize * 4 : kMinBudget;
}

bool ExpansionGuard::Enter(const TEntityDef* entity, size_t size) {
  if (chain_.size() >= kMaxDepth) return false;
  if (std::find(chain_.begin(), chain_.end(), entity) != chain_.end()) return false;
  if (!Spend(size)) return false;
  chain_.push_back(entity);
  return true;
}

bool ExpansionGuard::Spend(size_t size) {
  if (size > budget_ - spent_) return false;
  spent_ += size;
  return true;
}
