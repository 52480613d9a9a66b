#include "util/amount_limit.h"

#include <cmath>

bool WithinAmountLimit(double x) { return std::isfinite(x) && std::fabs(x) < kAmountLimit; }

std::string AmountLimitReason() {
  return "Betr\xE4ge, Preise und Mengen m\xFCssen unter 1.000.000.000.000 bleiben.";
}

std::string TooLargeText(const std::string& text) {
  return "'" + text + "' ist zu gro\xDF: " + AmountLimitReason();
}
