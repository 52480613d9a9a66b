#include "gaeb90/fixed_number.h"

#include <cstdlib>

bool ReadFixedNumber(std::string_view field, int64_t& units) {
  size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  const bool negative = i < field.size() && field[i] == '-';
  if (negative) ++i;
  if (i == field.size() || field.size() - i > 18) return false;
  int64_t value = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') return false;
    value = value * 10 + (field[i] - '0');
  }
  units = negative ? -value : value;
  return true;
}

std::string FixedNumberText(int64_t units, int decimals) {
  const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : units;
  std::string digits = std::to_string(magnitude);
  if (digits.size() <= static_cast<size_t>(decimals))
    digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - static_cast<size_t>(decimals), ".");
  return units < 0 ? "-" + digits : digits;
}

bool WriteFixedNumber(int64_t units, size_t width, std::string& field) {
  const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : units;
  const std::string digits = std::to_string(magnitude);
  const size_t room = units < 0 ? width - 1 : width;
  if (digits.size() > room) return false;
  field = (units < 0 ? "-" : "") + std::string(room - digits.size(), '0') + digits;
  return true;
}
