#pragma once

#include <string>
#include <utility>

#include "util/format_settings.h"

// A date-time is a count of days since 30.12.1899 as a double; the fraction
// is the time of day. Negative values lie before that day, their fraction
// still counting forward from midnight (-1.25 is 29.12.1899 06:00).

struct DateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MilliSecond = 0;
  int DayOfWeek = 7;  // 1 = Sunday ... 7 = Saturday
};

// Splits a date-time, rounded to milliseconds; raises FormatError outside
// the years 1 to 9999.
DateTimeParts DecodeDateTime(double dateTime);
// False for an impossible date (31.02., month 13, year 0 or above 9999).
bool TryEncodeDate(int year, int month, int day, double& dateTime);
double EncodeTime(int hour, int minute, int second, int milliSecond);

// Pattern letters (any case): c (short date, and the long time unless it is
// midnight), d dd ddd dddd ddddd (day, with zero, short and long day name,
// short date), m mm mmm mmmm (month, likewise; minutes right after an h),
// yy yyyy, h hh, n nn, s ss, z zzz, t (short time) tt (long time); "/" and
// ":" are the date and time separators; text in double or single quotes and
// every other character is copied.
std::string FormatDateTime(const std::string& pattern, double dateTime,
                           const NumberFormat& format = FormatSettings());
// The local date and time now in two strftime patterns ("%d.%m.%Y",
// "%H:%M"), taken at one instant, for the stamps of files whose format fixes
// how dates are written, whatever the user's.
std::pair<std::string, std::string> LocalNowText(const char* datePattern, const char* timePattern);
// Pattern "c".
std::string DateTimeToStr(double dateTime, const NumberFormat& format = FormatSettings());

// A date in the order of the short date format, with the date separator, the
// year in two (50 years around 2000: 00-49 are 20xx) or four digits,
// optionally followed by blanks and a time h:n or h:n:s.
bool TryStrToDateTime(const std::string& text, double& dateTime,
                      const NumberFormat& format = FormatSettings());
