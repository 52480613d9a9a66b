#pragma once

class KsLyxObj;

// Notification codes of the offer document.
enum KsLyxCode {
  lcReadStart = 0,
  lcReadEnd = 1,
  lcElementRead = 3,
  lcDisplaying = 4,
  lcWriteStart = 5,
  lcWriteStep = 6,
  lcWriteEnd = 7,
  lcTotalsChanged = 8,
};

class KsLyxObserver {
 public:
  virtual ~KsLyxObserver() = default;
  virtual void Update(KsLyxObj& document, int code) = 0;
};
