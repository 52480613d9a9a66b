#include "util/variant.h"

#include <gtest/gtest.h>

#include "tests/support/format_guard.h"

namespace {

KsVariant Date(double days) { return KsVariant::FromDateTime(days); }

}  // namespace

TEST(Variant, ToStringByFormat) {
  const struct {
    KsVariant value;
    std::string german;
    std::string english;
  } cases[] = {
      {KsVariant(), "", ""},
      {KsVariant(int32_t{-7}), "-7", "-7"},
      {KsVariant(12.5), "12,5", "12.5"},
      {KsVariant(20.0), "20", "20"},
      {KsVariant(1.0 / 3), "0,333333333333333", "0.333333333333333"},
      {KsVariant(0.1 + 0.2), "0,3", "0.3"},
      {KsVariant(123456789012345.0), "123456789012345", "123456789012345"},
      {KsVariant(1e15), "1E15", "1E15"},
      {KsVariant(0.0001), "0,0001", "0.0001"},
      {KsVariant(-2.5e-7), "-2,5E-7", "-2.5E-7"},
      {KsVariant::FromCurrency(1234.56789), "1234,5679", "1234.5679"},
      {KsVariant::FromCurrency(3), "3", "3"},
      {Date(0), "30.12.1899", "12/30/1899"},
      {Date(45000.5), "15.03.2023 12:00:00", "03/15/2023 12:00:00"},
      {KsVariant(true), "True", "True"},
      {KsVariant::FromStringList({"a", "", "b"}), "a||b", "a||b"},
  };
  for (const auto& c : cases) {
    {
      FormatGuard german(GermanFormatSettings());
      EXPECT_EQ(c.value.ToString(), c.german);
    }
    FormatGuard english(EnglishFormatSettings());
    EXPECT_EQ(c.value.ToString(), c.english);
  }
}

TEST(Variant, StringToNumberUsesOnlyTheDecimalSeparator) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_DOUBLE_EQ(KsVariant("12,50").ToFloat(), 12.5);
  EXPECT_DOUBLE_EQ(KsVariant(" -3,25E2 ").ToFloat(), -325);
  EXPECT_DOUBLE_EQ(KsVariant(",5").ToFloat(), 0.5);
  for (const char* bad : {"12.50", "1.234,5", "", "abc", "1,2,3", "1E", "--1"}) {
    EXPECT_THROW(KsVariant(bad).ToFloat(), KsVariantError) << bad;
  }
  FormatGuard english(EnglishFormatSettings());
  EXPECT_DOUBLE_EQ(KsVariant("12.50").ToFloat(), 12.5);
  EXPECT_THROW(KsVariant("12,50").ToFloat(), KsVariantError);
}

TEST(Variant, ToIntegerRoundsHalfToEven) {
  FormatGuard german(GermanFormatSettings());
  const struct {
    KsVariant value;
    int32_t expected;
  } cases[] = {
      {KsVariant("42"), 42},   {KsVariant(" -7"), -7},  {KsVariant("$1F"), 31},
      {KsVariant("12,5"), 12}, {KsVariant("13,5"), 14}, {KsVariant(2.5), 2},
      {KsVariant(-3.5), -4},   {KsVariant(true), 1},    {KsVariant(), 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].value.ToInteger(), cases[i].expected) << "case " << i;
  }
  EXPECT_THROW(KsVariant("abc").ToInteger(), KsVariantError);
  EXPECT_THROW(KsVariant("99999999999").ToInteger(), KsVariantError);
  EXPECT_THROW(KsVariant(3e9).ToInteger(), KsVariantError);
}

TEST(Variant, NullAndReferencesDoNotConvert) {
  const KsVariant null = KsVariant::Null();
  EXPECT_THROW(null.ToString(), KsVariantError);
  EXPECT_THROW(null.ToInteger(), KsVariantError);
  EXPECT_THROW(null.ToFloat(), KsVariantError);
  EXPECT_THROW(null.ToBoolean(), KsVariantError);
  EXPECT_THROW(KsVariant::FromPointer(nullptr).ToString(), KsVariantError);
  try {
    null.ToFloat();
  } catch (const KsVariantError& e) {
    EXPECT_NE(std::string(e.what()).find("(Null)"), std::string::npos);
  }
}

TEST(Variant, ToBooleanAndToDateTime) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_TRUE(KsVariant("true").ToBoolean());
  EXPECT_FALSE(KsVariant("FALSE").ToBoolean());
  EXPECT_FALSE(KsVariant("0").ToBoolean());
  EXPECT_TRUE(KsVariant("2,5").ToBoolean());
  EXPECT_THROW(KsVariant("ja").ToBoolean(), KsVariantError);

  EXPECT_DOUBLE_EQ(KsVariant("15.03.2023").ToDateTime(), 45000);
  EXPECT_DOUBLE_EQ(KsVariant("15.03.23 12:00").ToDateTime(), 45000.5);
  EXPECT_DOUBLE_EQ(KsVariant("45000,25").ToDateTime(), 45000.25);
  EXPECT_THROW(KsVariant("31.02.2023").ToDateTime(), KsVariantError);
  EXPECT_THROW(KsVariant("15.03.2023 25:00").ToDateTime(), KsVariantError);
}

TEST(Variant, StringListCopiesAreDeep) {
  KsVariant original = KsVariant::FromStringList({"a"});
  KsVariant copy = original;
  copy.List().push_back("b");
  EXPECT_EQ(original.List().size(), 1u);
  EXPECT_FALSE(VarEquals(original, copy));
}

TEST(Variant, VarEqualsGerman) {
  FormatGuard german(GermanFormatSettings());
  int object = 0;
  const struct {
    KsVariant a;
    KsVariant b;
    bool equal;
  } cases[] = {
      {KsVariant("12,50"), KsVariant(12.5), true},
      {KsVariant("12,50"), KsVariant(13.0), false},
      {KsVariant(int32_t{12}), KsVariant(int32_t{12}), true},
      {KsVariant(int32_t{12}), KsVariant(12.0), true},
      {KsVariant(int32_t{12}), KsVariant("12"), true},
      {KsVariant(int32_t{12}), KsVariant("12,0001"), false},
      {KsVariant("abc"), KsVariant("ABC"), false},
      {KsVariant("abc"), KsVariant("abc"), true},
      {KsVariant("12,5"), KsVariant("12,50"), false},
      {KsVariant(), KsVariant(), true},
      {KsVariant(), KsVariant(""), false},
      {KsVariant(), KsVariant(int32_t{0}), false},
      {KsVariant::Null(), KsVariant::Null(), true},
      {KsVariant::Null(), KsVariant(""), false},
      {KsVariant(), KsVariant::Null(), false},
      {KsVariant(true), KsVariant("True"), true},
      {KsVariant(true), KsVariant(int32_t{1}), true},
      {KsVariant(false), KsVariant(int32_t{0}), true},
      {Date(45000), KsVariant("15.03.2023"), true},
      {Date(45000), KsVariant(45000.0), true},
      {Date(45000.5), KsVariant("15.03.2023"), false},
      {KsVariant::FromCurrency(1.5), KsVariant("1,5"), true},
      {KsVariant::FromPointer(&object), KsVariant::FromPointer(&object), true},
      {KsVariant::FromStringList({"a", "b"}), KsVariant::FromStringList({"a", "b"}), true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(VarEquals(cases[i].a, cases[i].b), cases[i].equal) << "case " << i;
    EXPECT_EQ(VarEquals(cases[i].b, cases[i].a), cases[i].equal) << "case " << i;
  }
}

TEST(Variant, VarEqualsRaisesOnImpossibleConversion) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_THROW(VarEquals(KsVariant("abc"), KsVariant(12.5)), KsVariantError);
  EXPECT_THROW(VarEquals(KsVariant(int32_t{1}), KsVariant("12.50")), KsVariantError);
  EXPECT_THROW(VarEquals(KsVariant::FromPointer(nullptr), KsVariant("x")), KsVariantError);
  EXPECT_THROW(VarEquals(KsVariant::FromStringList({}), KsVariant("")), KsVariantError);
  FormatGuard english(EnglishFormatSettings());
  EXPECT_TRUE(VarEquals(KsVariant("12.50"), KsVariant(12.5)));
  EXPECT_THROW(VarEquals(KsVariant("12,50"), KsVariant(12.5)), KsVariantError);
}
