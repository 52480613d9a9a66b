#include "util/variant.h"

#include <gtest/gtest.h>

#include "tests/support/format_guard.h"

namespace {

Variant Date(double days) { return Variant::FromDateTime(days); }

}  // namespace

TEST(Variant, ToStringByFormat) {
  const struct {
    Variant value;
    std::string german;
    std::string english;
  } cases[] = {
      {Variant(), "", ""},
      {Variant(int32_t{-7}), "-7", "-7"},
      {Variant(12.5), "12,5", "12.5"},
      {Variant(20.0), "20", "20"},
      {Variant(1.0 / 3), "0,333333333333333", "0.333333333333333"},
      {Variant(0.1 + 0.2), "0,3", "0.3"},
      {Variant(123456789012345.0), "123456789012345", "123456789012345"},
      {Variant(1e15), "1E15", "1E15"},
      {Variant(0.0001), "0,0001", "0.0001"},
      {Variant(-2.5e-7), "-2,5E-7", "-2.5E-7"},
      {Variant::FromCurrency(1234.56789), "1234,5679", "1234.5679"},
      {Variant::FromCurrency(3), "3", "3"},
      {Date(0), "30.12.1899", "12/30/1899"},
      {Date(45000.5), "15.03.2023 12:00:00", "03/15/2023 12:00:00"},
      {Variant(true), "True", "True"},
      {Variant::FromStringList({"a", "", "b"}), "a||b", "a||b"},
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
  EXPECT_DOUBLE_EQ(Variant("12,50").ToFloat(), 12.5);
  EXPECT_DOUBLE_EQ(Variant(" -3,25E2 ").ToFloat(), -325);
  EXPECT_DOUBLE_EQ(Variant(",5").ToFloat(), 0.5);
  for (const char* bad : {"12.50", "1.234,5", "", "abc", "1,2,3", "1E", "--1"}) {
    EXPECT_THROW(Variant(bad).ToFloat(), VariantError) << bad;
  }
  FormatGuard english(EnglishFormatSettings());
  EXPECT_DOUBLE_EQ(Variant("12.50").ToFloat(), 12.5);
  EXPECT_THROW(Variant("12,50").ToFloat(), VariantError);
}

TEST(Variant, ToIntegerRoundsHalfToEven) {
  FormatGuard german(GermanFormatSettings());
  const struct {
    Variant value;
    int32_t expected;
  } cases[] = {
      {Variant("42"), 42},   {Variant(" -7"), -7},  {Variant("$1F"), 31},
      {Variant("12,5"), 12}, {Variant("13,5"), 14}, {Variant(2.5), 2},
      {Variant(-3.5), -4},   {Variant(true), 1},    {Variant(), 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].value.ToInteger(), cases[i].expected) << "case " << i;
  }
  EXPECT_THROW(Variant("abc").ToInteger(), VariantError);
  EXPECT_THROW(Variant("99999999999").ToInteger(), VariantError);
  EXPECT_THROW(Variant(3e9).ToInteger(), VariantError);
}

TEST(Variant, NullAndReferencesDoNotConvert) {
  const Variant null = Variant::Null();
  EXPECT_THROW(null.ToString(), VariantError);
  EXPECT_THROW(null.ToInteger(), VariantError);
  EXPECT_THROW(null.ToFloat(), VariantError);
  EXPECT_THROW(null.ToBoolean(), VariantError);
  EXPECT_THROW(Variant::FromPointer(nullptr).ToString(), VariantError);
  try {
    null.ToFloat();
  } catch (const VariantError& e) {
    EXPECT_NE(std::string(e.what()).find("(Null)"), std::string::npos);
  }
}

TEST(Variant, ToBooleanAndToDateTime) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_TRUE(Variant("true").ToBoolean());
  EXPECT_FALSE(Variant("FALSE").ToBoolean());
  EXPECT_FALSE(Variant("0").ToBoolean());
  EXPECT_TRUE(Variant("2,5").ToBoolean());
  EXPECT_THROW(Variant("ja").ToBoolean(), VariantError);

  EXPECT_DOUBLE_EQ(Variant("15.03.2023").ToDateTime(), 45000);
  EXPECT_DOUBLE_EQ(Variant("15.03.23 12:00").ToDateTime(), 45000.5);
  EXPECT_DOUBLE_EQ(Variant("45000,25").ToDateTime(), 45000.25);
  EXPECT_THROW(Variant("31.02.2023").ToDateTime(), VariantError);
  EXPECT_THROW(Variant("15.03.2023 25:00").ToDateTime(), VariantError);
}

TEST(Variant, StringListCopiesAreDeep) {
  Variant original = Variant::FromStringList({"a"});
  Variant copy = original;
  copy.List().push_back("b");
  EXPECT_EQ(original.List().size(), 1u);
  EXPECT_FALSE(VarEquals(original, copy));
}

// Every kind survives a copy, a move and an assignment over every other
// kind (a text, a list and a number share the same bytes); what was moved
// from is Empty, and reading a value as another kind raises.
TEST(Variant, EveryKindKeepsItsValueAcrossCopiesAndMoves) {
  const std::string longText(40, 'L');
  int target = 0;
  const std::vector<Variant> values = {Variant(),
                                       Variant::Null(),
                                       Variant("kurz"),
                                       Variant(longText),
                                       Variant(std::string(13, 'x')),
                                       Variant(std::string(14, 'y')),
                                       Variant(int32_t{-7}),
                                       Variant(2.5),
                                       Variant::FromCurrency(1234.5678),
                                       Variant::FromDateTime(45000.5),
                                       Variant(true),
                                       Variant::FromPointer(&target),
                                       Variant::FromStringList({"a", longText})};
  auto same = [](const Variant& a, const Variant& b) {
    return a.Kind() == b.Kind() && (a.IsEmptyOrNull() || VarEquals(a, b));
  };
  for (const Variant& value : values) {
    SCOPED_TRACE(static_cast<int>(value.Kind()));
    Variant copy = value;
    EXPECT_TRUE(same(copy, value));
    Variant moved = std::move(copy);
    EXPECT_TRUE(same(moved, value));
    EXPECT_TRUE(copy.IsEmpty());  // NOLINT: a moved-from variant is Empty
    for (const Variant& other : values) {
      Variant assigned = other;
      assigned = value;
      EXPECT_TRUE(same(assigned, value));
      assigned = Variant(other);
      EXPECT_TRUE(same(assigned, other));
    }
  }
  EXPECT_THROW(Variant(int32_t{1}).Str(), VariantError);
  EXPECT_THROW(Variant("1").List(), VariantError);
  EXPECT_THROW(Variant().Ptr(), VariantError);
  EXPECT_EQ(Variant::FromPointer(&target).Ptr(), &target);
  EXPECT_EQ(Variant::FromStringList({"a", longText}).List()[1], longText);
}

TEST(Variant, VarEqualsGerman) {
  FormatGuard german(GermanFormatSettings());
  int object = 0;
  const struct {
    Variant a;
    Variant b;
    bool equal;
  } cases[] = {
      {Variant("12,50"), Variant(12.5), true},
      {Variant("12,50"), Variant(13.0), false},
      {Variant(int32_t{12}), Variant(int32_t{12}), true},
      {Variant(int32_t{12}), Variant(12.0), true},
      {Variant(int32_t{12}), Variant("12"), true},
      {Variant(int32_t{12}), Variant("12,0001"), false},
      {Variant("abc"), Variant("ABC"), false},
      {Variant("abc"), Variant("abc"), true},
      {Variant("12,5"), Variant("12,50"), false},
      {Variant(), Variant(), true},
      {Variant(), Variant(""), false},
      {Variant(), Variant(int32_t{0}), false},
      {Variant::Null(), Variant::Null(), true},
      {Variant::Null(), Variant(""), false},
      {Variant(), Variant::Null(), false},
      {Variant(true), Variant("True"), true},
      {Variant(true), Variant(int32_t{1}), true},
      {Variant(false), Variant(int32_t{0}), true},
      {Date(45000), Variant("15.03.2023"), true},
      {Date(45000), Variant(45000.0), true},
      {Date(45000.5), Variant("15.03.2023"), false},
      {Variant::FromCurrency(1.5), Variant("1,5"), true},
      {Variant::FromPointer(&object), Variant::FromPointer(&object), true},
      {Variant::FromStringList({"a", "b"}), Variant::FromStringList({"a", "b"}), true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(VarEquals(cases[i].a, cases[i].b), cases[i].equal) << "case " << i;
    EXPECT_EQ(VarEquals(cases[i].b, cases[i].a), cases[i].equal) << "case " << i;
  }
}

TEST(Variant, VarEqualsRaisesOnImpossibleConversion) {
  FormatGuard german(GermanFormatSettings());
  EXPECT_THROW(VarEquals(Variant("abc"), Variant(12.5)), VariantError);
  EXPECT_THROW(VarEquals(Variant(int32_t{1}), Variant("12.50")), VariantError);
  EXPECT_THROW(VarEquals(Variant::FromPointer(nullptr), Variant("x")), VariantError);
  EXPECT_THROW(VarEquals(Variant::FromStringList({}), Variant("")), VariantError);
  FormatGuard english(EnglishFormatSettings());
  EXPECT_TRUE(VarEquals(Variant("12.50"), Variant(12.5)));
  EXPECT_THROW(VarEquals(Variant("12,50"), Variant(12.5)), VariantError);
}
