#pragma once

#include <string>

#include "document/recovery_place.h"

class KsLyxObj;

// Keeps the recovery file of one open offer: written while the offer has
// unsaved changes, at most once per interval, and removed when the offer is
// saved or closed without saving. The window and tarvo-cli use the same code.
class Autosave {
 public:
  // `intervalSeconds` 0 turns it off.
  explicit Autosave(int intervalSeconds) : interval_(intervalSeconds) {}
  void SetInterval(int seconds) { interval_ = seconds; }
  int Interval() const { return interval_; }

  // A tender was opened from `tenderPath` (file system bytes): its size and
  // time are kept to see later whether it changed; an earlier file goes.
  void Opened(const std::string& tenderPath);
  // Writes the recovery file when the offer has unsaved changes and the
  // interval has passed since the last one (`now` in seconds), or at once
  // when `force`; true when written. Raises std::runtime_error (German) when
  // it cannot be written; the file written before then stays.
  bool Secure(KsLyxObj& doc, long long now, bool force = false);
  // The offer was saved or its changes dropped: the file goes.
  void Discard();
  // The recovery file, "" before the first write.
  const std::string& Path() const { return claim_.Path(); }

 private:
  int interval_;
  std::string tender_;
  long long tenderSize_ = -1;
  long long tenderMTime_ = 0;
  long long last_ = 0;
  RecoveryClaim claim_;
};
