#pragma once

#include <string>
#include <unordered_map>
#include <vector>

class KsGAEBObj;
class KsMember;

// A member's value as compared with what it was: numbers by value ("100"
// from the file equals a stored 100,00, an empty discount equals 0),
// everything else by its text.
std::string ComparableValue(const KsMember& member);

// Whether the offer still equals the file it was last opened from or saved
// to. Every command that changes values notes the element first; the element's
// values of that moment are kept, and a value typed back to what it was
// counts as no change. Amounts and sums follow from the entered values, so
// the entered ones are all that need keeping.
class ChangeTracker {
 public:
  // Keeps the element's values the first time it is noted; later notes keep
  // the first ones. The element must live until the next Reset.
  void Note(const KsGAEBObj& element);
  // True while any noted element holds a value other than the kept one.
  bool Changed() const;
  // The present values become those of the file (after opening or saving).
  void Reset();
  // Changed until the next Reset, whatever is noted (an offer restored from
  // a recovery file was never saved).
  void MarkUnsaved() { unsaved_ = true; }

 private:
  bool unsaved_ = false;
  std::unordered_map<const KsGAEBObj*, std::vector<std::string>> kept_;
};
