#pragma once

#include "gaeb/gaeb_document.h"

class KsLyxObj;

// Notification codes of the offer document: its own, and those its elements
// send (gaeb/gaeb_document.h), under one name for observers.
enum KsLyxCode {
  lcReadStart = 0,
  lcReadEnd = 1,
  lcElementRead = gcElementRead,
  lcDisplaying = 4,
  lcWriteStart = 5,
  lcWriteStep = gcWriteStep,
  lcWriteEnd = 7,
  lcTotalsChanged = gcTotalsChanged,
};

class KsLyxObserver {
 public:
  virtual ~KsLyxObserver() = default;
  virtual void Update(KsLyxObj& document, int code) = 0;
};
