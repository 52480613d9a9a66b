#include "util/rounding.h"

#include <gtest/gtest.h>

TEST(Rounding, RoundDecHalvesAwayFromZero) {
  const struct {
    int decimals;
    double x;
    double expected;
  } cases[] = {
      {2, 1.005, 1.01},
      {2, -1.005, -1.01},
      {2, 0.0049, 0},
      {2, 2.675, 2.68},
      {2, -2.675, -2.68},
      {2, 1.0049, 1.0},
      {2, 1.00499, 1.01},
      {2, 0.125, 0.13},
      {2, 1.015, 1.02},
      {0, 2.5, 3},
      {0, -0.5, -1},
      {0, 0.49, 0},
      {0, 3.5, 4},
      {3, 1.0005, 1.001},
      {3, 2.0004, 2.0},
      {3, 1.23456, 1.235},
      {3, -0.0005, -0.001},
      {2, 0, 0},
      {2, 1e12 + 0.005, 1000000000000.01},
      {2, 123456789.125, 123456789.13},
      {2, -98765432.105, -98765432.11},
      {-1, 15, 20},
      {-2, 149, 100},
      {-2, -150, -200},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(RoundDec(c.decimals, c.x), c.expected) << c.decimals << " " << c.x;
  }
}

TEST(Rounding, CompareRounded) {
  EXPECT_EQ(CompareRounded(2, 1.004, 1.0), 0);
  EXPECT_EQ(CompareRounded(2, 1.0, 1.01), -1);
  EXPECT_EQ(CompareRounded(2, 1.015, 1.01), 1);
  EXPECT_EQ(CompareRounded(2, -1.005, -1.01), 0);
  EXPECT_EQ(CompareRounded(3, 0.0004, 0.0), 0);
  EXPECT_EQ(CompareRounded(0, -0.4, 0.4), 0);
}
