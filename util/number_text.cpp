#include "util/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "util/trim.h"
#include "util/variant.h"

namespace {

// A decimal value 0.digits x 10^point; no digits means zero. Held without
// a heap block: amounts are written and shown by the hundred thousand.
struct Decimal {
  bool negative = false;
  char digits[20];  // 18 significant digits, one more when rounding carries
  int count = 0;
  int point = 0;

  std::string_view Digits(int from = 0) const {
    return {digits + from, static_cast<size_t>(count - from)};
  }
};

// Strips zeros at the end; a value of only zeros becomes zero.
void Normalize(Decimal& d) {
  while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
  if (d.count == 0) {
    d.point = 0;
    d.negative = false;
  }
}

// 18 significant digits first (the precision of an extended value), then the
// caller rounds from these half away from zero: 2.675 (stored as
// 2.67499999999999982) gives 2.67, while 0.125 gives 0.13.
Decimal ToDecimal(double value) {
  Decimal d;
  if (value == 0) return d;
  // "d.ddddddddddddddddde+XX": the digits around the point, then the exponent.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, 17);
  const char* const e = std::find(buffer, result.ptr, 'e');
  d.negative = value < 0;
  d.digits[d.count++] = buffer[0];
  for (const char* p = buffer + 2; p < e; ++p) d.digits[d.count++] = *p;
  const bool negativeExponent = e[1] == '-';
  int exponent = 0;
  for (const char* p = e + 2; p < result.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  d.point = (negativeExponent ? -exponent : exponent) + 1;
  Normalize(d);
  return d;
}

// Keeps the first `count` digits, rounding half away from zero.
void RoundDigits(Decimal& d, int count) {
  if (count < 0) {
    d.count = 0;
  } else if (count < d.count) {
    const bool up = d.digits[count] >= '5';
    d.count = count;
    if (up) {
      int i = count - 1;
      while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
      if (i < 0) {
        std::memmove(d.digits + 1, d.digits, static_cast<size_t>(count));
        d.digits[0] = '1';
        ++d.count;
        ++d.point;
      } else {
        ++d.digits[i];
      }
    }
  }
  Normalize(d);
}

char DigitAt(const Decimal& d, int index) {
  return index >= 0 && index < d.count ? d.digits[index] : '0';
}

std::string NonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

}  // namespace

bool TryTextToInt(const std::string& text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    magnitude = magnitude * base + digit;
    if (magnitude > int64_t{INT32_MAX} + 1) return false;
  }
  const int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT32_MAX) return false;
  value = static_cast<int32_t>(signedValue);
  return true;
}

bool TryTextToFloat(const std::string& text, double& value, const NumberFormat& format) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  const size_t end = text.find_last_not_of(' ') + 1;
  std::string ascii;
  size_t i = begin;
  if (text[i] == '-' || text[i] == '+') {
    if (text[i] == '-') ascii += '-';
    ++i;
  }
  int digits = 0;
  bool decimal = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      ascii += c;
      ++digits;
    } else if (c == format.DecimalSeparator && !decimal) {
      ascii += '.';
      decimal = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    ascii += 'e';
    ++i;
    if (i < end && (text[i] == '-' || text[i] == '+')) ascii += text[i++];
    const size_t exponentStart = i;
    while (i < end && text[i] >= '0' && text[i] <= '9') ascii += text[i++];
    if (i == exponentStart) return false;
  }
  if (i != end) return false;
  double parsed;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
  if (result.ec != std::errc{} || result.ptr != ascii.data() + ascii.size()) return false;
  value = parsed;
  return true;
}

// Up to 15 significant digits come back from the nearest double unchanged,
// rounding them to as many decimals as they have changes nothing, and from
// 0.0001 on the general format writes them without exponent.
bool IsPlainNumberText(std::string_view text, int decimals, const NumberFormat& format) {
  constexpr size_t kMaxIntegerDigits = 12;  // below the amount limit of 1e12
  constexpr int kMaxDecimals = 4;
  size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  const size_t integerStart = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  const size_t integerDigits = i - integerStart;
  if (integerDigits == 0 || integerDigits > kMaxIntegerDigits) return false;
  const bool zero = text[integerStart] == '0';
  if (zero && integerDigits > 1) return false;
  if (i == text.size()) return !(zero && integerStart > 0);  // not "-0"
  if (text[i] != format.DecimalSeparator) return false;
  const size_t fractionStart = ++i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  const size_t fractionDigits = i - fractionStart;
  const size_t allowed =
      static_cast<size_t>(decimals > 0 ? std::min(decimals, kMaxDecimals) : kMaxDecimals);
  return i == text.size() && fractionDigits > 0 && fractionDigits <= allowed &&
         text.back() != '0' && (zero ? 0 : integerDigits) + fractionDigits <= 15;
}

bool TryPlainNumberUnits(std::string_view text, int decimals, int64_t& units,
                         const NumberFormat& format) {
  if (decimals < 0 || !IsPlainNumberText(text, decimals, format)) return false;
  const bool negative = text.front() == '-';
  int64_t value = 0;
  int fractionDigits = -1;  // none before the separator
  for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
    if (text[i] == format.DecimalSeparator) {
      fractionDigits = 0;
      continue;
    }
    value = value * 10 + (text[i] - '0');
    if (fractionDigits >= 0) ++fractionDigits;
  }
  // Without decimals a plain text may still hold some: those need rounding.
  if (fractionDigits > decimals) return false;
  for (int i = std::max(fractionDigits, 0); i < decimals; ++i) value *= 10;
  units = negative ? -value : value;
  return true;
}

std::string FloatToStr(double value, const NumberFormat& format, int precision) {
  if (!std::isfinite(value)) return NonFinite(value);
  precision = std::clamp(precision, 1, 18);
  Decimal d = ToDecimal(value);
  RoundDigits(d, precision);
  if (d.count == 0) return "0";
  // At most a sign, "0," and three zeros or an exponent, and 18 digits.
  char text[48];
  char* out = text;
  auto put = [&out](std::string_view part) { out = std::copy(part.begin(), part.end(), out); };
  if (d.negative) *out++ = '-';
  if (d.point > precision || d.point < -3) {
    *out++ = d.digits[0];
    if (d.count > 1) {
      *out++ = format.DecimalSeparator;
      put(d.Digits(1));
    }
    const int exponent = d.point - 1;
    *out++ = 'E';
    if (exponent < 0) *out++ = '-';
    out = std::to_chars(out, text + sizeof text, std::abs(exponent)).ptr;
  } else if (d.point <= 0) {
    *out++ = '0';
    *out++ = format.DecimalSeparator;
    out = std::fill_n(out, -d.point, '0');
    put(d.Digits());
  } else {
    for (int i = 0; i < d.point; ++i) *out++ = DigitAt(d, i);
    if (d.count > d.point) {
      *out++ = format.DecimalSeparator;
      put(d.Digits(d.point));
    }
  }
  return std::string(text, out);
}

std::string FloatToFixed(double value, int decimals, bool grouped, const NumberFormat& format) {
  if (!std::isfinite(value)) return NonFinite(value);
  decimals = std::clamp(decimals, 0, 18);
  Decimal d = ToDecimal(value);
  RoundDigits(d, d.point + decimals);
  std::string integral;
  for (int i = 0; i < d.point; ++i) integral += DigitAt(d, i);
  if (integral.empty()) integral = "0";
  if (grouped && format.ThousandSeparator != '\0') {
    for (int pos = static_cast<int>(integral.size()) - 3; pos > 0; pos -= 3) {
      integral.insert(integral.begin() + pos, format.ThousandSeparator);
    }
  }
  std::string out = d.negative ? "-" : "";
  out += integral;
  if (decimals > 0) {
    out += format.DecimalSeparator;
    for (int j = 0; j < decimals; ++j) out += DigitAt(d, d.point + j);
  }
  return out;
}

std::string NotANumberText(const std::string& text) {
  return "'" + text + "' ist kein g\xFCltiger Gleitkommawert.";
}

double StrToFloat(const std::string& text, const NumberFormat& format) {
  double value = 0;
  if (!TryTextToFloat(text, value, format)) throw VariantError(NotANumberText(text));
  return value;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && IsTrimChar(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsTrimChar(s.back())) s.remove_suffix(1);
  return s;
}

// The decimal separator of a number as written: its last separator. Every
// separator before it groups thousands: the other character, after one to
// three digits and then between groups of exactly three. npos when the
// digits have no separator at all; false when the grouping is wrong.
bool FindDecimal(std::string_view digits, const NumberFormat& format, size_t& decimal) {
  auto isSeparator = [&](char c) { return c == '.' || c == ',' || c == format.DecimalSeparator; };
  decimal = std::string_view::npos;
  for (size_t i = 0; i < digits.size(); ++i)
    if (isSeparator(digits[i])) decimal = i;
  if (decimal == std::string_view::npos) return true;
  size_t groupStart = 0;
  bool grouped = false;
  for (size_t i = 0; i < decimal; ++i) {
    if (!isSeparator(digits[i])) continue;
    const size_t length = i - groupStart;
    if (digits[i] == digits[decimal] || length < 1 || length > 3 || (grouped && length != 3))
      return false;
    grouped = true;
    groupStart = i + 1;
  }
  return !grouped || decimal - groupStart == 3;
}

}  // namespace

bool IsAmbiguousGrouping(const std::string& text, const NumberFormat& format) {
  std::string_view t = TrimView(text);
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
  const char grouping = format.DecimalSeparator == '.' ? ',' : '.';
  const size_t separator = t.find(grouping);
  if (separator < 1 || separator > 3 || t.size() != separator + 4 || t[0] == '0') return false;
  for (size_t i = 0; i < t.size(); ++i)
    if (i != separator && !IsDigit(t[i])) return false;
  return true;
}

bool TryReadNumber(const std::string& text, double& value, const NumberFormat& format) {
  const std::string_view t = TrimView(text);
  if (t.empty()) return false;
  size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  size_t end = i;
  while (end < t.size() &&
         (IsDigit(t[end]) || t[end] == '.' || t[end] == ',' || t[end] == format.DecimalSeparator))
    ++end;
  const std::string_view mantissa = t.substr(i, end - i);
  size_t decimal;
  if (!FindDecimal(mantissa, format, decimal)) return false;
  std::string ascii(t[0] == '-' ? "-" : "");
  int digits = 0;
  for (size_t k = 0; k < mantissa.size(); ++k) {
    if (IsDigit(mantissa[k])) {
      ascii += mantissa[k];
      ++digits;
    } else if (k == decimal) {
      ascii += '.';
    }
  }
  if (digits == 0) return false;
  std::string_view rest = t.substr(end);
  if (!rest.empty()) {
    if (rest[0] != 'E' && rest[0] != 'e') return false;
    size_t k = 1;
    if (k < rest.size() && (rest[k] == '-' || rest[k] == '+')) ++k;
    if (k == rest.size()) return false;
    for (size_t d = k; d < rest.size(); ++d)
      if (!IsDigit(rest[d])) return false;
    ascii += 'e';
    ascii += rest.substr(1);
  }
  double parsed;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
  if (result.ptr != ascii.data() + ascii.size()) return false;
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond what a double holds: too small is 0, too large infinite, which
    // every caller refuses as too large.
    const bool tiny = ascii.find("e-") != std::string::npos;
    parsed = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    if (ascii[0] == '-' && !tiny) parsed = -parsed;
  } else if (result.ec != std::errc{}) {
    return false;
  }
  value = parsed;
  return true;
}
