#pragma once

#include "document/lyx_observer.h"

class TFormLyx;

// The main window's view of the document: progress while a file is read or
// written, and the totals panel when the LV totals change.
class KsLyxObserverForm final : public KsLyxObserver {
 public:
  explicit KsLyxObserverForm(TFormLyx& form) : Form(form) {}
  void Update(KsLyxObj& document, int code) override;

  TFormLyx& Form;
};
