#include "util/variant_compare.h"

#include <gtest/gtest.h>

#include "tests/support/format_guard.h"

namespace {

TEST(VarCompare, OrdersLikeTheVariantRules) {
  FormatGuard format(GermanFormatSettings());
  struct Case {
    Variant a, b;
    int order;
  } cases[] = {
      {Variant(1), Variant(2), -1},
      {Variant(2), Variant(2), 0},
      {Variant(10), Variant(9.5), 1},
      {Variant("10"), Variant(9), 1},     // number against text: as numbers
      {Variant("2,5"), Variant(2.5), 0},  // by the user's decimal comma
      {Variant("abc"), Variant("abd"), -1},
      {Variant("B"), Variant("a"), -1},    // case-sensitive, by byte
      {Variant("\xE4"), Variant("z"), 1},  // bytes above 127 after ASCII
      {Variant("10"), Variant("9"), -1},   // two texts stay texts
      {Variant(true), Variant(false), 1},
      {Variant(), Variant::Null(), -1},
      {Variant::Null(), Variant(-5), -1},
      {Variant(""), Variant(), 1},
      {Variant::FromDateTime(45000.5), Variant(45000), 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VarCompare(c.a, c.b), c.order) << c.a.ToString() << " ? " << c.b.ToString();
    EXPECT_EQ(VarCompare(c.b, c.a), -c.order) << c.b.ToString() << " ? " << c.a.ToString();
  }
  EXPECT_THROW(VarCompare(Variant("abc"), Variant(1)), VariantError);
}

}  // namespace
