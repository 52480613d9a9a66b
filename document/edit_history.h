#pragma once

#include <unordered_set>
#include <vector>

#include "util/variant.h"

class KsGAEBObj;

// The entries made in the open offer, for undo and redo. An entry is one
// step, however many elements it changes (a price, a VAT rate, a bidder
// field, or prices taken over in one command): every element is noted before
// the entry changes it, and the step closes with the values it left. Undo
// puts the values of before back, redo those of after; amounts and sums are
// the caller's to recompute. Saving keeps the steps, a new tender starts
// with none (a document of its own).
class EditHistory {
 public:
  // Keeps the element's values as they stand, the first time it is noted in
  // the open step. The element must live as long as the history.
  void Note(KsGAEBObj& element);
  // Closes the open step with the values its elements hold now; a step that
  // changed nothing is dropped, a step that changed something drops what
  // could be redone. True when a step was kept.
  bool Close();
  // Forgets every step (the tree they name is going).
  void Clear() { *this = EditHistory(); }
  bool CanUndo() const { return !done_.empty() || !open_.empty(); }
  bool CanRedo() const { return !undone_.empty() && open_.empty(); }
  // The elements the step changed, in the order noted; empty when there was
  // nothing to undo (redo). The open step is closed first.
  std::vector<KsGAEBObj*> Undo();
  std::vector<KsGAEBObj*> Redo();

 private:
  // An element's own values by member position; child elements are not its
  // values.
  struct Values {
    std::vector<Variant> values;
  };
  struct Change {
    KsGAEBObj* element;
    Values before, after;
  };
  using Step = std::vector<Change>;

  static Values Take(const KsGAEBObj& element);
  static bool Same(const Values& a, const Values& b);
  static void Put(KsGAEBObj& element, const Values& values);
  static std::vector<KsGAEBObj*> Apply(const Step& step, bool undo);

  Step open_;
  std::unordered_set<const KsGAEBObj*> noted_;  // the elements of open_, to note each once
  std::vector<Step> done_;
  std::vector<Step> undone_;
};
