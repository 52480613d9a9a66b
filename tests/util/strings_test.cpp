#include "util/strings.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/format_guard.h"

TEST(Strings, TokenCountAndToken) {
  EXPECT_EQ(TokenCount("", ";"), 0);
  EXPECT_EQ(TokenCount("a;b", ";"), 2);
  EXPECT_EQ(TokenCount(";", ";"), 2);
  EXPECT_EQ(TokenCount("a,b;c", ",;"), 3);
  const struct {
    std::string s;
    int n;
    std::string expected;
  } cases[] = {
      {"a;b;c", 1, "a"}, {"a;b;c", 2, "b"}, {"a;b;c", 3, "c"}, {"a;b;c", 0, ""},
      {"a;b;c", 4, ""},  {"a;b;c", -1, ""}, {"a;;c", 2, ""},   {"a;;c", 3, "c"},
      {";", 1, ""},      {";", 2, ""},      {"", 1, ""},       {"ab", 1, "ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(Token(c.s, c.n, ";"), c.expected) << c.s << " " << c.n;
  EXPECT_EQ(Token("a,b;c", 3, ",;"), "c");
}

TEST(Strings, Padding) {
  EXPECT_EQ(PadLeft("  12 ", 5, '0'), "00012");
  EXPECT_EQ(PadLeft("\t12\r\n", 4), "  12");
  EXPECT_EQ(PadLeft(" 123456 ", 3, '0'), "123456");
  EXPECT_EQ(PadLeft("", 3, '*'), "***");
  EXPECT_EQ(PadLeft("\xE4", 2, '0'), "0\xE4");  // characters above 127 are no blanks
  std::string inPlace = " 7";
  PadLeft(&inPlace, 3, '0');
  EXPECT_EQ(inPlace, "007");

  EXPECT_EQ(PadRight("abcdef", 4), "abcd");
  EXPECT_EQ(PadRight("ab", 4, '.'), "ab..");
  EXPECT_EQ(PadRight("ab", 0), "");
  EXPECT_EQ(AlignRight("abcdef", 4), "cdef");
  EXPECT_EQ(AlignRight("ab", 4, '*'), "**ab");
  EXPECT_EQ(AlignRight("ab", -1), "");
}

TEST(Strings, StripTrailing) {
  std::string dir = "/tmp/Tarvo\\/";
  StripTrailing(dir, "\\/");
  EXPECT_EQ(dir, "/tmp/Tarvo");
  std::string all = "\\\\";
  StripTrailing(all, "\\");
  EXPECT_EQ(all, "");
  std::string none = "abc";
  StripTrailing(none, "");
  EXPECT_EQ(none, "abc");
}

TEST(Strings, TranslateAndReplace) {
  EXPECT_EQ(TranslateChars("1.234,5", ".", ""), "1234,5");
  EXPECT_EQ(TranslateChars("dd.mm", "dm", "__"), "__.__");
  EXPECT_EQ(TranslateChars("abcabc", "abc", "x"), "xx");
  EXPECT_EQ(TranslateChars("a\xE4", "\xE4", "\xC4"), "a\xC4");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("xx", "x", "xx"), "xxxx");
  EXPECT_EQ(ReplaceAll("a.b.c", ".", ""), "abc");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("abc", "z", "x"), "abc");
}

TEST(Strings, StrToIntZero) {
  const struct {
    std::string s;
    int32_t expected;
  } cases[] = {
      {"42", 42},
      {" -7", -7},
      {"+5", 5},
      {"$FF", 255},
      {"0x10", 16},
      {"7 ", 0},
      {"abc", 0},
      {"", 0},
      {"12,5", 0},
      {"-", 0},
      {"2147483647", INT32_MAX},
      {"2147483648", 0},
      {"-2147483648", INT32_MIN},
      {"99999999999999999999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToIntZero(c.s), c.expected) << c.s;
}

TEST(Strings, StrToFloatZeroDropsThousandsSeparators) {
  FormatGuard german(GermanFormatSettings());
  const struct {
    std::string s;
    double expected;
  } cases[] = {
      {"1.234,56", 1234.56},
      {"-1.000,5", -1000.5},
      {"12,5", 12.5},
      {" 3 ", 3},
      {"1.2.3", 123},
      {"", 0},
      {"abc", 0},
      {"12,5,1", 0},
      {"1,5E3", 1500},
      {"1E999", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(StrToFloatZero(c.s), c.expected) << c.s;
  FormatGuard english(EnglishFormatSettings());
  EXPECT_DOUBLE_EQ(StrToFloatZero("1,234.56"), 1234.56);
  EXPECT_DOUBLE_EQ(StrToFloatZero("1.234,56"), 1.23456);
  EXPECT_DOUBLE_EQ(StrToFloatZero("1.234.5"), 0);
}
