#include "util/rounding.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

constexpr int kSignificantDigits = 15;

__int128 PowerOfTen(int n) {
  __int128 p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// |x| rounded half away from zero at 10^-decimals, as a count of those units
// (for negative decimals, of 10^|decimals|). Works on the 15 significant
// digits of x; most values are decided from x itself, and only those close to
// a half go through the decimal digits. False when the count does not fit 63 bits.
long double PowerOfTenLong(int n) {
  // Money works with few decimals: those powers are looked up, not computed.
  static constexpr long double kPowers[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L};
  return n < static_cast<int>(std::size(kPowers)) ? kPowers[n] : std::pow(10.0L, n);
}

bool MagnitudeUnits(double x, int decimals, uint64_t& units) {
  const long double magnitude = std::fabs(static_cast<long double>(x));
  const long double scaled =
      decimals >= 0 ? magnitude * PowerOfTenLong(decimals) : magnitude / PowerOfTenLong(-decimals);
  if (!(scaled < 9.2e18L)) return false;
  const long double whole = std::floor(scaled);
  const long double fraction = scaled - whole;
  // The 15 digits of x lie within 5e-15 of x, relative: farther than that
  // from a half, x and its digits round alike.
  const long double tolerance = scaled * 1e-14L;
  if (tolerance < 0.25L && std::fabs(fraction - 0.5L) > tolerance) {
    units = static_cast<uint64_t>(whole) + (fraction > 0.5L ? 1 : 0);
    return true;
  }
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                                     std::chars_format::scientific, kSignificantDigits - 1);
  const std::string text(buffer, written.ptr);
  const size_t e = text.find('e');
  const uint64_t digits =
      std::strtoull((text.substr(0, 1) + text.substr(2, e - 2)).c_str(), nullptr, 10);
  // x = digits x 10^lowest; the units are 10^-decimals.
  const int lowest = std::atoi(text.c_str() + e + 1) - (kSignificantDigits - 1);
  const int dropped = -decimals - lowest;
  if (dropped <= 0) {
    const __int128 exact = static_cast<__int128>(digits) * PowerOfTen(-dropped);
    if (exact >= (static_cast<__int128>(1) << 63)) return false;
    units = static_cast<uint64_t>(exact);
  } else if (dropped > kSignificantDigits) {
    units = 0;
  } else {
    const uint64_t p = static_cast<uint64_t>(PowerOfTen(dropped));
    units = digits / p + (digits % p >= p / 2 ? 1 : 0);
  }
  return true;
}

double UnitsToDouble(uint64_t units, int decimals) {
  if (units < (uint64_t{1} << 53) && decimals >= -22 && decimals <= 22) {
    // Both operands exact: one correctly rounded operation.
    const double u = static_cast<double>(units);
    return decimals >= 0 ? u / std::pow(10.0, decimals) : u * std::pow(10.0, -decimals);
  }
  const std::string text = std::to_string(units) + "e" + std::to_string(-decimals);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace

double RoundDec(int decimals, double x) {
  if (!std::isfinite(x)) return x;
  uint64_t units;
  // Too large to hold such units: x has no digits that fine.
  if (!MagnitudeUnits(x, decimals, units)) return x;
  if (units == 0) return 0.0;
  const double r = UnitsToDouble(units, decimals);
  return x < 0 ? -r : r;
}

int CompareRounded(int decimals, double a, double b) {
  const double ra = RoundDec(decimals, a);
  const double rb = RoundDec(decimals, b);
  return ra < rb ? -1 : ra > rb ? 1 : 0;
}

bool ToUnits(double x, int decimals, int64_t& units) {
  uint64_t magnitude;
  if (!std::isfinite(x) || !MagnitudeUnits(x, decimals, magnitude)) return false;
  units = x < 0 ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

__int128 DivideRounded(__int128 value, int by) {
  const __int128 p = PowerOfTen(by);
  const __int128 magnitude = value < 0 ? -value : value;
  const __int128 q = magnitude / p + (magnitude % p * 2 >= p ? 1 : 0);
  return value < 0 ? -q : q;
}

double FromUnits(int64_t units, int decimals) {
  const uint64_t magnitude = units < 0 ? static_cast<uint64_t>(0) - static_cast<uint64_t>(units)
                                       : static_cast<uint64_t>(units);
  if (magnitude == 0) return 0.0;
  const double r = UnitsToDouble(magnitude, decimals);
  return units < 0 ? -r : r;
}
