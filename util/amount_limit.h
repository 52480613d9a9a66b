#pragma once

#include <string>

// No amount, price, quantity or rate of an offer reaches this. Values at or
// beyond it are refused wherever they enter (typed, read, computed), so no
// value is ever written that could not be read back, and exact sums of
// amounts never overflow.
constexpr double kAmountLimit = 1e12;

// Finite and below kAmountLimit in magnitude.
bool WithinAmountLimit(double x);

// "'<text>' ist zu groß: ..." for a value given as text.
std::string TooLargeText(const std::string& text);
// The reason alone, for messages that name the value themselves.
std::string AmountLimitReason();
