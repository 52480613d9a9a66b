#include "util/variant_compare.h"

#include <gtest/gtest.h>

#include "tests/support/format_guard.h"

namespace {

TEST(VarCompare, OrdersLikeTheVariantRules) {
  FormatGuard format(GermanFormatSettings());
  struct Case {
    KsVariant a, b;
    int order;
  } cases[] = {
      {KsVariant(1), KsVariant(2), -1},
      {KsVariant(2), KsVariant(2), 0},
      {KsVariant(10), KsVariant(9.5), 1},
      {KsVariant("10"), KsVariant(9), 1},     // number against text: as numbers
      {KsVariant("2,5"), KsVariant(2.5), 0},  // by the user's decimal comma
      {KsVariant("abc"), KsVariant("abd"), -1},
      {KsVariant("B"), KsVariant("a"), -1},    // case-sensitive, by byte
      {KsVariant("\xE4"), KsVariant("z"), 1},  // bytes above 127 after ASCII
      {KsVariant("10"), KsVariant("9"), -1},   // two texts stay texts
      {KsVariant(true), KsVariant(false), 1},
      {KsVariant(), KsVariant::Null(), -1},
      {KsVariant::Null(), KsVariant(-5), -1},
      {KsVariant(""), KsVariant(), 1},
      {KsVariant::FromDateTime(45000.5), KsVariant(45000), 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VarCompare(c.a, c.b), c.order) << c.a.ToString() << " ? " << c.b.ToString();
    EXPECT_EQ(VarCompare(c.b, c.a), -c.order) << c.b.ToString() << " ? " << c.a.ToString();
  }
  EXPECT_THROW(VarCompare(KsVariant("abc"), KsVariant(1)), KsVariantError);
}

}  // namespace
