#pragma once

#include "util/format_settings.h"
#include "util/startup.h"

// Sets the number and date format (and the default decimals) for one test
// and restores the previous ones afterwards.
class FormatGuard {
 public:
  explicit FormatGuard(const NumberFormat& settings, int digits = 2)
      : saved_(FormatSettings()), savedDigits_(NumberDigits()) {
    SetFormatSettings(settings);
    SetNumberDigits(digits);
  }
  ~FormatGuard() {
    SetFormatSettings(saved_);
    SetNumberDigits(savedDigits_);
  }
  FormatGuard(const FormatGuard&) = delete;
  FormatGuard& operator=(const FormatGuard&) = delete;

 private:
  NumberFormat saved_;
  int savedDigits_;
};
