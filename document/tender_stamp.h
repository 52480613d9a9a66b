#pragma once

#include <string>

struct RecoveryHead;

// What identifies the content of a tender file at one moment: its size, its
// modification time and a hash of its bytes, so that a tender changed (or
// put back with another time) after an offer was secured is noticed.
struct TenderStamp {
  long long Size = -1;  // -1: the file could not be read
  long long MTime = 0;
  std::string Hash;  // 16 hex digits (64-bit FNV-1a)
};

// The stamp of the file now; Size -1 when it is missing or unreadable.
TenderStamp StampOf(const std::string& path);

enum class TenderState {
  Unchanged,
  Changed,  // another size, time or content than when the offer was secured
  Gone,     // missing or unreadable
};

// The tender a recovery file names, compared with the stamp it holds.
TenderState CheckTender(const RecoveryHead& head);
