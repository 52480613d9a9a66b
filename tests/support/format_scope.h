#pragma once

#include "util/format_settings.h"

// Sets the process-wide number format for one test and restores it after.
class FormatScope {
 public:
  explicit FormatScope(const KsFormatSettings& s) : saved_(FormatSettings()) {
    SetFormatSettings(s);
  }
  ~FormatScope() { SetFormatSettings(saved_); }

 private:
  KsFormatSettings saved_;
};
