#include "util/rounding.h"

#include <cmath>

double RoundDec(int decimals, double x) {
  const long double p = std::pow(10.0L, static_cast<long double>(decimals));
  long double v = std::fabs(static_cast<long double>(x)) * p + 0.5L;
  if (decimals > 0) v += std::pow(10.0L, -static_cast<long double>(decimals + 1));
  const long double r = std::trunc(v) / p;
  return static_cast<double>(x >= 0 ? r : -r);
}

int CompareRounded(int decimals, double a, double b) {
  const double ra = RoundDec(decimals, a);
  const double rb = RoundDec(decimals, b);
  return ra < rb ? -1 : ra > rb ? 1 : 0;
}
