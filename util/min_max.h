#pragma once

// Integer maximum and minimum of two values.
inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }
