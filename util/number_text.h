#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "util/format_settings.h"

// Numbers as text in the user's format. Independent of the C library's
// locale, so a process locale set by a toolkit cannot change the results.

// The standard integer conversion: leading blanks, an optional sign, decimal
// digits or hexadecimal digits after "$" or "0x"; nothing may follow; the
// value must fit 32 bits.
bool TryTextToInt(const std::string& text, int32_t& value);

// A number in the format's notation: blanks around it, an optional sign,
// digits with at most one decimal separator, an optional exponent "E" with
// sign and digits. Thousands separators are not accepted here: numbers held
// as text in this program never carry them, and reading "12.50" as 1250 under
// the German format would turn a misplaced point into a hundredfold price.
bool TryTextToFloat(const std::string& text, double& value,
                    const NumberFormat& format = FormatSettings());

// A number in the format's notation, as TryTextToFloat reads it; text that is
// not a number raises VariantError "'<text>' ist kein gültiger Gleitkommawert.".
double StrToFloat(const std::string& text, const NumberFormat& format = FormatSettings());

// A number as people write it, in tender files and entries, whatever their
// number format: blanks around it, an optional sign, digits with "." or ","
// (or the format's decimal separator), an optional exponent "E" with sign and
// digits. The last separator is the decimal separator; separators before it
// group thousands and must all be the other character, between groups of
// three digits. So "1.234,56", "1,234.56", "12.5" and "12,5" read as numbers
// and "1.2.3" or "1,234,56" do not (neither does "1.234.567": which of its
// points would be the decimal one cannot be told).
bool TryReadNumber(const std::string& text, double& value,
                   const NumberFormat& format = FormatSettings());

// Whether a number as people write it may mean two values a thousand times
// apart: one to three digits (the first not 0), then the one of "." and ","
// that is not the format's decimal separator (under the German format the
// point), then exactly three digits, and nothing else but a sign and blanks.
// "1.234" is 1234 to one who groups thousands with a point and 1,234 to one
// who writes the decimal point; TryReadNumber takes the latter.
bool IsAmbiguousGrouping(const std::string& text, const NumberFormat& format = FormatSettings());

// The German message for text that is not a number, quoting it as given.
std::string NotANumberText(const std::string& text);

// The general format: up to `precision` significant digits, no trailing
// zeros, no thousands separators; scientific ("1,5E-5", "1E15") when the
// value has more integer digits than `precision` or is below 0.0001.
std::string FloatToStr(double value, const NumberFormat& format = FormatSettings(),
                       int precision = 15);

// Whether a number read from `text` and rounded to `decimals` decimals (none
// for 0 or less) comes out in the general format as that same text, within
// the amount limit, so that the text can be kept as it stands: an optional
// "-", up to 12 integer digits without a leading zero (or a single 0), and
// up to `decimals` (at most 4) decimals after the format's separator, the
// last not 0; "1247,008", "-0,5" and "12" are, "1.247", "012", "1,50" and
// "-0" are not. False says nothing: such a text may still be a number.
bool IsPlainNumberText(std::string_view text, int decimals,
                       const NumberFormat& format = FormatSettings());

// The number of a plain text (see IsPlainNumberText) with at most `decimals`
// decimals (0 or more), exactly, in units of 10^-decimals; false for any
// other text.
bool TryPlainNumberUnits(std::string_view text, int decimals, int64_t& units,
                         const NumberFormat& format = FormatSettings());

// Fixed notation with `decimals` decimals (0 to 18), halves away from zero,
// optionally grouped with the thousands separator ("-1.234.567,89").
std::string FloatToFixed(double value, int decimals, bool grouped,
                         const NumberFormat& format = FormatSettings());
