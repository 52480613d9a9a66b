#include "util/format.h"

#include <gtest/gtest.h>

#include "tests/support/format_guard.h"
#include "util/amount_limit.h"
#include "util/format_error.h"
#include "util/number_text.h"
#include "util/rounding.h"

namespace {

struct FormatCase {
  std::string format;
  std::vector<Variant> args;
  std::string expected;
};

}  // namespace

TEST(Format, GermanConversions) {
  FormatGuard german(GermanFormatSettings());
  const FormatCase cases[] = {
      {"%s", {"abc"}, "abc"},
      {"[%5s]", {"ab"}, "[   ab]"},
      {"[%-5s]", {"ab"}, "[ab   ]"},
      {"%.2s", {"abcdef"}, "ab"},
      {"%S", {"x"}, "x"},
      {"%s", {12.5}, "12,5"},
      {"%d", {42}, "42"},
      {"[%5d]", {-42}, "[  -42]"},
      {"%.4d", {-42}, "-0042"},
      {"%x", {255}, "FF"},
      {"%.4x", {255}, "00FF"},
      {"%u", {-1}, "4294967295"},
      {"%f", {1.5}, "1,50"},
      {"%.3f", {-0.0005}, "-0,001"},
      {"%.2n", {1234567.891}, "1.234.567,89"},
      {"%4.2n", {7.5}, "7,50"},
      {"[%10.2n]", {-7.5}, "[     -7,50]"},
      {"%.3n", {-1234.5}, "-1.234,500"},
      {"%.2n", {-1234567.0}, "-1.234.567,00"},
      {"%.0n", {999.5}, "1.000"},
      {"%.2n", {-0.001}, "0,00"},
      {"%.2n", {0.125}, "0,13"},
      {"%.2n", {2.675}, "2,67"},  // the double lies below 2.675
      {"%.2n", {1e15}, "1.000.000.000.000.000,00"},
      {"%.2n", {"1234,5"}, "1.234,50"},
      {"%1:s-%0:s", {"a", "b"}, "b-a"},
      {"%1:s %s", {"a", "b", "c"}, "b c"},
      {"100%% von %s", {"x"}, "100% von x"},
      {"[%*d]", {5, 42}, "[   42]"},
      {"", {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), c.expected) << c.format;
}

TEST(Format, EnglishNumbers) {
  FormatGuard english(EnglishFormatSettings());
  EXPECT_EQ(Format("%.2n", {1234567.891}), "1,234,567.89");
  EXPECT_EQ(Format("%.3n", {-1234.5}), "-1,234.500");
  EXPECT_EQ(Format("%f", {1.5}), "1.50");
}

TEST(Format, InvalidFormatsRaise) {
  FormatGuard german(GermanFormatSettings());
  const FormatCase cases[] = {
      {"%s", {}, ""},
      {"%s %s", {"a"}, ""},
      {"%q", {1}, ""},
      {"%d", {"abc"}, ""},
      {"abc%", {}, ""},
      {"%5", {1}, ""},
      {"%s", {Variant::Null()}, ""},
  };
  for (const auto& c : cases) EXPECT_THROW(Format(c.format, c.args), FormatError) << c.format;
}

TEST(Format, GeneralNumberText) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_EQ(FloatToStr(123.456789012345678), "123,456789012346");
  EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");
  EXPECT_EQ(FloatToStr(0.00009), "9E-5");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(0.0001), "0,0001");
  EXPECT_EQ(FloatToStr(-0.0000123456), "-1,23456E-5");
  EXPECT_EQ(FloatToStr(5e-324), "4,94065645841247E-324");
  EXPECT_EQ(FloatToStr(1e300), "1E300");
  EXPECT_EQ(FloatToStr(99.96, FormatSettings(), 3), "100");  // the carry adds a digit
  EXPECT_EQ(FloatToStr(1234.5, FormatSettings(), 2), "1,2E3");
  EXPECT_EQ(FloatToStr(0.1, FormatSettings(), 18), "0,100000000000000006");
  EXPECT_EQ(FloatToFixed(999999.999, 2, true), "1.000.000,00");
}

// A text taken as plain is exactly what reading, rounding and writing it in
// the general format would give: checked on every shape of number text, at
// every number of decimals a field may have.
TEST(Format, PlainNumberTextComesBackAsItStands) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_TRUE(IsPlainNumberText("1247,008", 3));
  EXPECT_TRUE(IsPlainNumberText("-0,5", 2));
  EXPECT_TRUE(IsPlainNumberText("0", 2));
  EXPECT_TRUE(IsPlainNumberText("999999999999,99", 2));
  for (const char* text : {"", "-", "-0", "012", "1,50", "1,", ",5", "1.247", "1,23456", "1E5",
                           " 1", "1 ", "+1", "1000000000000", "0,00001"})
    EXPECT_FALSE(IsPlainNumberText(text, 4)) << text;
  EXPECT_FALSE(IsPlainNumberText("1,234", 2)) << "more decimals than the field keeps";

  uint64_t state = 88172645463325252u;
  const auto next = [&state](uint64_t below) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state % below;
  };
  const std::string digits = "0123456789";
  int plain = 0;
  for (int n = 0; n < 200000; ++n) {
    std::string text = next(4) == 0 ? "-" : "";
    const uint64_t integerDigits = 1 + next(14);
    for (uint64_t i = 0; i < integerDigits; ++i) text += digits[next(10)];
    if (next(3) > 0) {
      text += next(20) == 0 ? '.' : ',';
      const uint64_t fractionDigits = next(7);
      for (uint64_t i = 0; i < fractionDigits; ++i) text += digits[next(10)];
    }
    for (const int decimals : {-1, 0, 1, 2, 3, 4, 6}) {
      if (!IsPlainNumberText(text, decimals)) continue;
      ++plain;
      double read = 0, typed = 0;
      ASSERT_TRUE(TryReadNumber(text, read)) << text;
      ASSERT_TRUE(TryTextToFloat(text, typed)) << text;
      ASSERT_EQ(read, typed) << text;
      ASSERT_TRUE(WithinAmountLimit(read)) << text;
      const double rounded = decimals > 0 ? RoundDec(decimals, read) : read;
      ASSERT_EQ(FloatToStr(rounded), text) << text << " at " << decimals << " decimals";
      // The units, where the text has no more decimals than they take.
      int64_t units = 0, expected = 0;
      if (TryPlainNumberUnits(text, decimals, units)) {
        ASSERT_TRUE(ToUnits(read, decimals, expected)) << text;
        ASSERT_EQ(units, expected) << text << " at " << decimals << " decimals";
      } else {
        const size_t separator = text.find(',');
        ASSERT_TRUE(decimals < 0 || (separator != std::string::npos &&
                                     text.size() - separator - 1 > static_cast<size_t>(decimals)))
            << text << " at " << decimals << " decimals";
      }
    }
  }
  EXPECT_GT(plain, 100000);
}
