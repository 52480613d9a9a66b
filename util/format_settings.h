#pragma once

#include <string>

// The user's number and date format, one setting for the whole process.
// Taken from the system locale at start (German where the locale names no
// language); tests set it explicitly.
struct KsFormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  char DateSeparator = '.';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd.mm.yyyy";
  std::string LongTimeFormat = "hh:nn:ss";
};

const KsFormatSettings& FormatSettings();
void SetFormatSettings(const KsFormatSettings& settings);

// German format: "," decimal, "." thousands, dd.mm.yyyy.
KsFormatSettings GermanFormatSettings();
// English-like format: "." decimal, "," thousands, mm/dd/yyyy.
KsFormatSettings EnglishFormatSettings();
// Reads LC_NUMERIC / LC_TIME of the environment; C and POSIX give the German format.
KsFormatSettings FormatSettingsFromLocale();
