#include "gaebxml/xml_decimal.h"

#include <charconv>

#include "util/rounding.h"
#include "util/trim.h"

namespace {
// Amounts and quantities of a bill of quantities stay far below this; more
// digits would lose cents in a double.
constexpr int kMaxWholeDigits = 15;
}  // namespace

bool ParseXmlDecimal(std::string_view text, double& value) {
  size_t b = 0, e = text.size();
  while (b < e && IsTrimChar(text[b])) ++b;
  while (e > b && IsTrimChar(text[e - 1])) --e;
  text = text.substr(b, e - b);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int digits = 0, points = 0, wholeDigits = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
      if (points == 0 && (wholeDigits > 0 || c != '0')) ++wholeDigits;
    } else if (c == '.') {
      ++points;
    } else {
      return false;
    }
  }
  if (digits == 0 || points > 1 || wholeDigits > kMaxWholeDigits) return false;
  double parsed = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = negative ? -parsed : parsed;
  return true;
}

std::string XmlDecimal(double value, int decimals) {
  double rounded = RoundDec(decimals, value);
  if (rounded == 0) rounded = 0;  // no "-0.00"
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

std::string XmlRate(double value) {
  std::string text = XmlDecimal(value, 2);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}
