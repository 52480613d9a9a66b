#pragma once

#include <array>
#include <string>

// The user's number and date format, one setting for the whole process.
// Taken from the system locale at start (German where the locale names no
// language); tests set it explicitly.
struct NumberFormat {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';  // '\0': numbers are written without grouping
  char DateSeparator = '.';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd.mm.yyyy";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string ShortTimeFormat = "hh:nn";
  // Names for the date patterns ddd, dddd, mmm and mmmm; Sunday first.
  std::array<std::string, 7> ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  std::array<std::string, 7> LongDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                             "Donnerstag", "Freitag", "Samstag"};
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                                 "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  std::array<std::string, 12> LongMonthNames = {"Januar",    "Februar", "M\xE4rz",  "April",
                                                "Mai",       "Juni",    "Juli",     "August",
                                                "September", "Oktober", "November", "Dezember"};
};

const NumberFormat& FormatSettings();
void SetFormatSettings(const NumberFormat& settings);

// German format: "," decimal, "." thousands, dd.mm.yyyy.
NumberFormat GermanFormatSettings();
// English-like format: "." decimal, "," thousands, mm/dd/yyyy.
NumberFormat EnglishFormatSettings();
// Reads LC_NUMERIC / LC_TIME of the environment; C and POSIX give the German format.
NumberFormat FormatSettingsFromLocale();
// Fractional digits of the environment's locale (LC_MONETARY); 2 where the
// locale names no language or does not say.
int NumberDigitsFromLocale();
