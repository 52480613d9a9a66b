#pragma once

#include <cstdint>

// Money rounding. A double stands for the decimal number it was made from (a
// price or quantity typed or read with a few decimals, or an amount computed
// exactly); rounding works on that number, read with the 15 significant
// digits a double holds for certain, half away from zero. So 1.005 (held as
// 1.00499999999999989...) rounds to 1.01 and 30025.274999999998 (25 x
// 1201.011 computed in doubles) to 30025.28, while 1.00499 gives 1.00 and
// 1.064999 gives 1.06. `decimals` may be 0 or negative (-1 rounds to tens).
double RoundDec(int decimals, double x);

// -1, 0 or 1 as RoundDec(decimals, a) is less than, equal to or greater than
// RoundDec(decimals, b).
int CompareRounded(int decimals, double a, double b);

// Exact decimal arithmetic for amounts: a value is held as an integer count
// of units of 10^-decimals (cents for decimals 2), so sums and products carry
// no binary rounding error.

// The decimal number x stands for, rounded as RoundDec does to `decimals`
// (0 to 9), in units; false when x is not finite or its units do not fit 64 bits.
bool ToUnits(double x, int decimals, int64_t& units);

// value / 10^by, rounded half away from zero (by 0 to 30).
__int128 DivideRounded(__int128 value, int by);

// The double nearest to units x 10^-decimals.
double FromUnits(int64_t units, int decimals);
