#pragma once

#include <future>
#include <string>

#include "document/recovery_file.h"
#include "document/recovery_place.h"
#include "document/tender_stamp.h"

class KsLyxObj;

// Keeps the recovery file of one open offer: written while the offer has
// unsaved changes, at most once per interval, and removed when the offer is
// saved or closed without saving. The window and tarvo-cli use the same code.
//
// The caller's thread only turns the tree into text (a consistent copy of
// that moment, made into the room of the text written before); the file is
// written and flushed to disk on a thread of its own, one write at a time,
// so that typing goes on meanwhile.
class Autosave {
 public:
  // `intervalSeconds` 0 turns it off.
  explicit Autosave(int intervalSeconds) : interval_(intervalSeconds) {}
  ~Autosave();
  Autosave(const Autosave&) = delete;
  Autosave& operator=(const Autosave&) = delete;
  void SetInterval(int seconds) { interval_ = seconds; }
  int Interval() const { return interval_; }

  // A tender was opened from `tenderPath` (file system bytes): its stamp is
  // kept to see later whether it changed; an earlier file goes.
  void Opened(const std::string& tenderPath);
  // An offer was restored from the recovery file `claim` holds: that file is
  // written from now on (it keeps the offer until the next write replaces
  // it), with the tender and the stamp the file named.
  void Restored(RecoveryClaim claim, const RecoveryHead& head);
  // Starts writing the recovery file when the offer has unsaved changes and
  // the interval has passed since the last one (`now` in seconds), or at once
  // when `force`; true when started. An offer whose changes were all undone
  // has its file removed. While a write still runs, the new one
  // is due and starts with the next call after it. Raises std::runtime_error
  // (German) when the file cannot be made or the previous write failed; the
  // file written before then stays.
  bool Secure(KsLyxObj& doc, long long now, bool force = false);
  // Waits for the running write; raises as Secure when it failed.
  void Wait();
  // The offer was saved or its changes dropped: the file goes (after a
  // running write has ended), and with it the room kept for the next text.
  void Discard();
  // The recovery file, "" before the first write.
  const std::string& Path() const { return claim_.Path(); }

 private:
  // True when no write runs any more (its failure raised).
  bool WriterIdle();

  int interval_;
  std::string tender_;
  TenderStamp stamp_;
  long long last_ = 0;
  bool due_ = false;
  RecoveryClaim claim_;
  // The write running, which gives its text back for the next one's room.
  std::future<PiecedText> writing_;
  PiecedText spare_;
};
