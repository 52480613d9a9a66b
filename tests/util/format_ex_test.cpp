#include "util/format_ex.h"

#include <gtest/gtest.h>

#include "tests/support/format_guard.h"
#include "util/format_error.h"

namespace {

struct FormatCase {
  std::string format;
  std::vector<Variant> args;
  std::string expected;
};

Variant Date(double days) { return Variant::FromDateTime(days); }

constexpr double kMarch15 = 45000;  // 15.03.2023

}  // namespace

TEST(FormatEx, NumbersTakeTheDefaultDigits) {
  FormatGuard german(GermanFormatSettings(), 2);
  EXPECT_EQ(FormatEx("%n", {1234.5}), FormatEx("%.2n", {1234.5}));
  EXPECT_EQ(FormatEx("%n", {1234.5}), "1.234,50");
  EXPECT_EQ(FormatEx("[%8n]", {-1.5}), "[   -1,50]");
  EXPECT_EQ(FormatEx("%.3n", {1234.5}), "1.234,500");
  SetNumberDigits(3);
  EXPECT_EQ(FormatEx("%n", {1234.5}), "1.234,500");
  FormatGuard english(EnglishFormatSettings(), 2);
  EXPECT_EQ(FormatEx("%n", {-1234.5}), "-1,234.50");
}

TEST(FormatEx, DateConversions) {
  FormatGuard german(GermanFormatSettings());
  const FormatCase cases[] = {
      {"%\"dd.mm.yyyy\"a", {0.0}, "__.__.____"},
      {"%\"dd.mm.yyyy\"a", {Date(kMarch15)}, "15.03.2023"},
      {"%\"dd.mm.yyyy\"a", {kMarch15}, "15.03.2023"},
      {"%\"dd.mm.yyyy\"a", {0.000001}, "__.__.____"},
      {"%\"dd.mm.yyyy\"a", {Variant()}, "__.__.____"},
      {"%\"dd.mm.yyyy\"a", {Variant::Null()}, "__.__.____"},
      {"%\"dd.mm.yyyy\"a", {"15.03.2023"}, "15.03.2023"},
      {"%\"dd.mm.yyyy hh:nn\"a", {0.0}, "__.__.____ __:__"},
      {"%a", {0.0}, "_"},
      {"%a", {kMarch15 + 0.5}, "15.03.2023 12:00:00"},
      {"%t", {0.5}, "12:00"},
      {"%\"hh:nn:ss\"t", {0.0}, "00:00:00"},
      {"Am %\"dd.mm.yyyy\"a um %s", {kMarch15, "x"}, "Am 15.03.2023 um x"},
      {"%s am %\"dd.mm.yyyy\"a f\xFCr %.2n", {"x", kMarch15, 2.5}, "x am 15.03.2023 f\xFCr 2,50"},
      {"%\"dd.mm.yyyy\"a: 100%% %s", {kMarch15, "x"}, "15.03.2023: 100% x"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatEx(c.format, c.args), c.expected) << c.format;
}

TEST(FormatEx, Lookups) {
  FormatGuard german(GermanFormatSettings());
  const std::string numbers = "%\"#1=eins;#2=zwei\"z";
  const FormatCase cases[] = {
      {numbers, {1}, "eins"},
      {numbers, {2}, "zwei"},
      {numbers, {3}, "3"},
      {numbers, {"1"}, "1"},
      {"%\"A=Alpha;B=Beta\"z", {"B"}, "Beta"},
      {"%\"A=Alpha;B=Beta\"z", {"C"}, "C"},
      {"%\"AB=x;A=y\"z", {"A"}, "y"},
      {"%\"#1=eins=one\"z", {1}, "eins"},
      {"%\"#x=bad;#1=eins\"z", {1}, "eins"},
      {"%\"#1=100%\"z, %s", {1, "x"}, "100%, x"},
      {"%\"#1=eins\"z und %.2n und %s", {1, 1234.5, "x"}, "eins und 1.234,50 und x"},
      {"%\"#1=\xE4;#2=\xF6\"z", {2}, "\xF6"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatEx(c.format, c.args), c.expected) << c.format;
}

TEST(FormatEx, TextPassesThrough) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_EQ(FormatEx("", {}), "");
  EXPECT_EQ(FormatEx("%s", {""}), "");
  EXPECT_EQ(FormatEx("\xC4nderung \"%s\" \xFC", {"Gr\xF6\xDF"
                                                 "e"}),
            "\xC4nderung \"Gr\xF6\xDF"
            "e\" \xFC");
  EXPECT_EQ(
      FormatEx("Das Feld \"%s\" ist in der Tabelle \"%s\" nicht bekannt.", {"EP", "POSITION"}),
      "Das Feld \"EP\" ist in der Tabelle \"POSITION\" nicht bekannt.");
  const std::string longText(10000, 'x');
  EXPECT_EQ(FormatEx("%s", {longText}), longText);
  EXPECT_EQ(FormatEx(longText, {}), longText);
  EXPECT_EQ(FormatEx(longText + "%.2n", {1.0}), longText + "1,00");
}

TEST(FormatEx, MissingOrWrongArgumentsRaise) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_THROW(FormatEx("%a", {}), FormatError);
  EXPECT_THROW(FormatEx("%\"#1=eins\"z", {}), FormatError);
  EXPECT_THROW(FormatEx("%a", {"abc"}), FormatError);
  EXPECT_THROW(FormatEx("%.2n", {"abc"}), FormatError);
}
