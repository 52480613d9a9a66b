#pragma once

#include <cstddef>
#include <vector>

class TEntityDef;

// Bounds entity expansion, so a few hundred bytes of declarations cannot
// recurse without end or grow into gigabytes ("billion laughs"). An entity
// may not be entered while it is being read, nesting is limited, and the
// expanded text of one scan is limited to 16 MiB or four times the
// document, whichever is larger.
class ExpansionGuard {
 public:
  static constexpr size_t kMaxDepth = 64;
  static constexpr size_t kMinBudget = size_t{16} << 20;

  // Starts a scan of a document of that size.
  void Start(size_t documentSize);
  // Enters an entity with that much text; false when that would break a bound.
  bool Enter(const TEntityDef* entity, size_t size);
  // Counts text that the declarations add without an entity (attribute defaults).
  bool Spend(size_t size);
  void Leave() { chain_.pop_back(); }
  void LeaveAll() { chain_.clear(); }

 private:
  std::vector<const TEntityDef*> chain_;
  size_t spent_ = 0;
  size_t budget_ = kMinBudget;
};
