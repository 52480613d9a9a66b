#pragma once

#include "util/variant.h"

// Order of two values for searches over sorted keys: -1, 0 or 1. Numbers
// (and numbers against strings or dates) compare as floating point, two
// integers as integers, two strings byte by byte (case-sensitive), booleans
// as 0 and 1. Empty comes before Null, and both before every other value.
// Raises VariantError when a conversion is impossible.
int VarCompare(const Variant& a, const Variant& b);
