#include "util/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "util/variant.h"

namespace {

TEST(StrToFloat, ReadsTheFormatsNotationAndNamesBadText) {
  EXPECT_DOUBLE_EQ(StrToFloat("12,5", GermanFormatSettings()), 12.5);
  EXPECT_DOUBLE_EQ(StrToFloat("-3", GermanFormatSettings()), -3.0);
  EXPECT_DOUBLE_EQ(StrToFloat("12.5", EnglishFormatSettings()), 12.5);
  for (const char* bad : {"", "abc", "1.234,5", "12,5x"}) {
    try {
      StrToFloat(bad, GermanFormatSettings());
      FAIL() << bad;
    } catch (const VariantError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("'") + bad + "' ist kein g\xFCltiger Gleitkommawert.");
    }
  }
}

// Numbers as people write them: the last separator is the decimal one.
TEST(TryReadNumber, ReadsEitherSeparatorAndGroupedThousands) {
  const struct {
    const char* text;
    bool isNumber;
    double value;
  } cases[] = {
      {"12,5", true, 12.5},
      {"12.5", true, 12.5},
      {"1.234,56", true, 1234.56},
      {"1,234.56", true, 1234.56},
      {"-1.234.567,8", true, -1234567.8},
      {"1,234,567.8", true, 1234567.8},
      {"1.234", true, 1.234},
      {"1,000", true, 1},
      {" +3 ", true, 3},
      {"\t7,5\r\n", true, 7.5},
      {",5", true, 0.5},
      {"5,", true, 5},
      {"1,5E-5", true, 1.5e-5},
      {"1E3", true, 1000},
      {"2e+2", true, 200},
      {"1e400", true, INFINITY},
      {"-1e400", true, -INFINITY},
      {"1e-400", true, 0},
      {"1.2.3", false, 0},
      {"1,234,56", false, 0},
      {"1.234.567", false, 0},
      {"12,34.5", false, 0},
      {"1234.567,8", false, 0},
      {".234,5", false, 0},
      {"19 %", false, 0},
      {"12 EUR", false, 0},
      {"abc", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {",", false, 0},
      {"1E", false, 0},
      {"1E+", false, 0},
      {"--1", false, 0},
      {"1-2", false, 0},
  };
  for (const auto& c : cases) {
    for (const NumberFormat& format : {GermanFormatSettings(), EnglishFormatSettings()}) {
      double value = -99;
      EXPECT_EQ(TryReadNumber(c.text, value, format), c.isNumber) << c.text;
      EXPECT_EQ(value, c.isNumber ? c.value : -99) << c.text;
    }
  }
  EXPECT_EQ(NotANumberText("1.2.3"), "'1.2.3' ist kein g\xFCltiger Gleitkommawert.");
}

// Only what a thousands separator could have made is ambiguous: one to
// three digits before it, exactly three after, nothing else.
TEST(IsAmbiguousGrouping, ThreeDigitsAfterTheOtherSeparator) {
  const struct {
    const char* text;
    bool german, english;
  } cases[] = {
      {"1.234", true, false},       {"1,234", false, true},      {"-12.500", true, false},
      {" +999.000\t", true, false}, {"1.234,5", false, false},   {"1,234.5", false, false},
      {"1234.567", false, false},   {"0.125", false, false},     {"1.23", false, false},
      {"1.2345", false, false},     {"1.234.567", false, false}, {".234", false, false},
      {"1.234E2", false, false},    {"1.23a", false, false},     {"", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAmbiguousGrouping(c.text, GermanFormatSettings()), c.german) << c.text;
    EXPECT_EQ(IsAmbiguousGrouping(c.text, EnglishFormatSettings()), c.english) << c.text;
  }
}

}  // namespace
