#include "util/date_time.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "util/format_error.h"

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Day numbers of 01.01.0001 and 31.12.9999.
constexpr int64_t kMinDay = -693593;
constexpr int64_t kMaxDay = 2958465;
// 01.01.1970 in our day count.
constexpr int64_t kUnixEpochDay = 25569;

// Days since 01.01.1970 of a date in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

std::string Number(int value, int minDigits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", minDigits, value);
  return buffer;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

class DateTimeWriter {
 public:
  DateTimeWriter(const DateTimeParts& parts, const NumberFormat& format)
      : parts_(parts), format_(format) {}

  void Write(const std::string& pattern, std::string& out) {
    char lastToken = ' ';
    size_t i = 0;
    while (i < pattern.size()) {
      const char c = pattern[i];
      if (c == '"' || c == '\'') {
        const size_t close = pattern.find(c, i + 1);
        const size_t end = close == std::string::npos ? pattern.size() : close;
        out.append(pattern, i + 1, end - i - 1);
        i = end + 1;
        continue;
      }
      if (!IsLetter(c)) {
        out += c == '/' ? format_.DateSeparator : c == ':' ? format_.TimeSeparator : c;
        ++i;
        continue;
      }
      char token = Lower(c);
      size_t count = 1;
      while (i + count < pattern.size() && Lower(pattern[i + count]) == token) ++count;
      i += count;
      if (token == 'm' && lastToken == 'h' && count <= 2) token = 'n';
      lastToken = token;
      WriteToken(token, count, out, c);
    }
  }

 private:
  void WriteToken(char token, size_t count, std::string& out, char original) {
    switch (token) {
      case 'c':
        Write(format_.ShortDateFormat, out);
        if (parts_.Hour != 0 || parts_.Minute != 0 || parts_.Second != 0) {
          out += ' ';
          Write(format_.LongTimeFormat, out);
        }
        break;
      case 'd':
        if (count <= 2) {
          out += Number(parts_.Day, static_cast<int>(count));
        } else if (count == 3) {
          out += format_.ShortDayNames[parts_.DayOfWeek - 1];
        } else if (count == 4) {
          out += format_.LongDayNames[parts_.DayOfWeek - 1];
        } else {
          Write(format_.ShortDateFormat, out);
        }
        break;
      case 'm':
        if (count <= 2) {
          out += Number(parts_.Month, static_cast<int>(count));
        } else if (count == 3) {
          out += format_.ShortMonthNames[parts_.Month - 1];
        } else {
          out += format_.LongMonthNames[parts_.Month - 1];
        }
        break;
      case 'y':
        out += count <= 2 ? Number(parts_.Year % 100, 2) : Number(parts_.Year, 4);
        break;
      case 'h':
        out += Number(parts_.Hour, count == 1 ? 1 : 2);
        break;
      case 'n':
        out += Number(parts_.Minute, count == 1 ? 1 : 2);
        break;
      case 's':
        out += Number(parts_.Second, count == 1 ? 1 : 2);
        break;
      case 'z':
        out += Number(parts_.MilliSecond, count <= 2 ? 1 : 3);
        break;
      case 't':
        Write(count == 1 ? format_.ShortTimeFormat : format_.LongTimeFormat, out);
        break;
      default:
        out.append(count, original);
        break;
    }
  }

  const DateTimeParts& parts_;
  const NumberFormat& format_;
};

// Reads up to maxDigits digits at text[pos]; false when there is none.
bool ReadNumber(const std::string& text, size_t& pos, size_t maxDigits, int& value,
                size_t& digits) {
  value = 0;
  digits = 0;
  while (pos < text.size() && digits < maxDigits &&
         std::isdigit(static_cast<unsigned char>(text[pos]))) {
    value = value * 10 + (text[pos++] - '0');
    ++digits;
  }
  return digits > 0;
}

bool ReadTime(const std::string& text, size_t& pos, char separator, double& time) {
  int hour, minute, second = 0;
  size_t digits;
  if (!ReadNumber(text, pos, 2, hour, digits)) return false;
  if (pos >= text.size() || text[pos++] != separator) return false;
  if (!ReadNumber(text, pos, 2, minute, digits)) return false;
  if (pos < text.size() && text[pos] == separator) {
    ++pos;
    if (!ReadNumber(text, pos, 2, second, digits)) return false;
  }
  if (hour > 23 || minute > 59 || second > 59) return false;
  time = EncodeTime(hour, minute, second, 0);
  return true;
}

}  // namespace

DateTimeParts DecodeDateTime(double dateTime) {
  if (!std::isfinite(dateTime) || dateTime < kMinDay || dateTime >= kMaxDay + 1) {
    throw FormatError("Ung\xFCltiges Datum");
  }
  int64_t day = static_cast<int64_t>(std::trunc(dateTime));
  int64_t ms = std::llround(std::fabs(dateTime - static_cast<double>(day)) * kMsPerDay);
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    ++day;
  }
  DateTimeParts parts;
  CivilFromDays(day - kUnixEpochDay, parts.Year, parts.Month, parts.Day);
  parts.Hour = static_cast<int>(ms / 3600000);
  parts.Minute = static_cast<int>(ms / 60000 % 60);
  parts.Second = static_cast<int>(ms / 1000 % 60);
  parts.MilliSecond = static_cast<int>(ms % 1000);
  // Day 0 was a Saturday.
  parts.DayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
  return parts;
}

bool TryEncodeDate(int year, int month, int day, double& dateTime) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return false;
  }
  dateTime = static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
  return true;
}

double EncodeTime(int hour, int minute, int second, int milliSecond) {
  return ((hour * 3600 + minute * 60 + second) * 1000.0 + milliSecond) / kMsPerDay;
}

std::string FormatDateTime(const std::string& pattern, double dateTime,
                           const NumberFormat& format) {
  std::string out;
  DateTimeWriter(DecodeDateTime(dateTime), format).Write(pattern, out);
  return out;
}

std::string DateTimeToStr(double dateTime, const NumberFormat& format) {
  return FormatDateTime("c", dateTime, format);
}

bool TryStrToDateTime(const std::string& text, double& dateTime, const NumberFormat& format) {
  std::string order;
  for (char c : format.ShortDateFormat) {
    const char l = Lower(c);
    if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order += l;
  }
  if (order.size() != 3) return false;
  size_t pos = text.find_first_not_of(' ');
  if (pos == std::string::npos) return false;
  int day = 0, month = 0, year = 0;
  for (size_t part = 0; part < 3; ++part) {
    if (part > 0 && (pos >= text.size() || text[pos++] != format.DateSeparator)) return false;
    int value;
    size_t digits;
    if (!ReadNumber(text, pos, order[part] == 'y' ? 4 : 2, value, digits)) return false;
    if (order[part] == 'd') {
      day = value;
    } else if (order[part] == 'm') {
      month = value;
    } else {
      if (digits != 2 && digits != 4) return false;
      year = digits == 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
    }
  }
  double date;
  if (!TryEncodeDate(year, month, day, date)) return false;
  double time = 0;
  const size_t timeStart = text.find_first_not_of(' ', pos);
  if (timeStart != std::string::npos) {
    if (timeStart == pos) return false;
    pos = timeStart;
    if (!ReadTime(text, pos, format.TimeSeparator, time)) return false;
    if (text.find_first_not_of(' ', pos) != std::string::npos) return false;
  }
  dateTime = date >= 0 ? date + time : date - time;
  return true;
}

std::pair<std::string, std::string> LocalNowText(const char* datePattern, const char* timePattern) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[64], time[64];
  const size_t dateLength = std::strftime(date, sizeof date, datePattern, &local);
  const size_t timeLength = std::strftime(time, sizeof time, timePattern, &local);
  return {std::string(date, dateLength), std::string(time, timeLength)};
}
