#pragma once

// Money rounding. Amounts are rounded half away from zero to a number of
// decimals, computed in extended precision (long double) and stored as
// double. A small nudge of 10^-(decimals+1) scaled units is added before
// truncating, so 1.005 (stored as 1.00499999999999989...) rounds to 1.01.
// `decimals` may be 0 or negative (-1 rounds to tens).
double RoundDec(int decimals, double x);

// -1, 0 or 1 as RoundDec(decimals, a) is less than, equal to or greater than
// RoundDec(decimals, b).
int CompareRounded(int decimals, double a, double b);
