#include "util/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(Rounding, RoundDecHalvesAwayFromZero) {
  const struct {
    int decimals;
    double x;
    double expected;
  } cases[] = {
      {2, 1.005, 1.01},
      {2, 0.0049, 0},
      {2, 2.675, 2.68},
      {2, 1.0049, 1.0},
      {2, 1.00499, 1.0},
      {2, 1.004999999, 1.0},
      {2, 1.027 * 1.037, 1.06},      // exactly 1,064999
      {2, 25 * 1201.011, 30025.28},  // exactly 30.025,275
      {2, 0.125, 0.13},
      {2, 1.015, 1.02},
      {2, 0.285, 0.29},
      {0, 2.5, 3},
      {0, 0.49, 0},
      {0, 3.5, 4},
      {3, 1.0005, 1.001},
      {3, 2.0004, 2.0},
      {3, 1.23456, 1.235},
      {3, 1.0004999, 1.0},
      {3, 12.3456, 12.346},
      {2, 0, 0},
      {2, 999999999.125, 999999999.13},
      {2, 999999999.12499, 999999999.12},
      {3, 999999999.1235, 999999999.124},
      {3, 999999999.12349, 999999999.123},
      {2, 123456789.125, 123456789.13},
      {2, 98765432.105, 98765432.11},
      {2, 999999999999.995, 1000000000000},
      {2, 1e12 + 0.005, 1000000000000.01},
      {-1, 15, 20},
      {-2, 149, 100},
      {-2, 150, 200},
      {2, 1e300, 1e300},
  };
  for (const auto& c : cases) {
    for (const int sign : {1, -1}) {
      EXPECT_EQ(RoundDec(c.decimals, sign * c.x), sign * c.expected)
          << c.decimals << " " << sign * c.x;
    }
  }
  EXPECT_TRUE(std::isnan(RoundDec(2, NAN)));
  EXPECT_EQ(RoundDec(2, INFINITY), INFINITY);
  EXPECT_FALSE(std::signbit(RoundDec(2, -0.001)));
}

TEST(Rounding, CompareRounded) {
  EXPECT_EQ(CompareRounded(2, 1.004, 1.0), 0);
  EXPECT_EQ(CompareRounded(2, 1.0, 1.01), -1);
  EXPECT_EQ(CompareRounded(2, 1.015, 1.01), 1);
  EXPECT_EQ(CompareRounded(2, -1.005, -1.01), 0);
  EXPECT_EQ(CompareRounded(2, 1.00499, 1.0), 0);
  EXPECT_EQ(CompareRounded(3, 0.0004, 0.0), 0);
  EXPECT_EQ(CompareRounded(0, -0.4, 0.4), 0);
}

TEST(Rounding, UnitsAreTheDecimalsAValueStandsFor) {
  const struct {
    double x;
    int decimals;
    int64_t units;
  } cases[] = {
      {1.005, 2, 101},
      {1.00499, 2, 100},
      {-2.675, 2, -268},
      {12.3456, 3, 12346},
      {0.1 + 0.2, 2, 30},
      {970.485, 2, 97049},
      {999999999999.99, 2, 99999999999999},
      {1234.5, 0, 1235},
      {7.5, 2, 750},
      {-0.004, 2, 0},
      {1e15, 3, 1000000000000000000},
  };
  for (const auto& c : cases) {
    int64_t units = -1;
    ASSERT_TRUE(ToUnits(c.x, c.decimals, units)) << c.x;
    EXPECT_EQ(units, c.units) << c.x;
    EXPECT_EQ(FromUnits(units, c.decimals), RoundDec(c.decimals, c.x)) << c.x;
  }
  int64_t units = 0;
  for (const double x : {1e17, -1e17, static_cast<double>(INFINITY), static_cast<double>(NAN)})
    EXPECT_FALSE(ToUnits(x, 2, units)) << x;
}

TEST(Rounding, DivideRoundedHalvesAwayFromZero) {
  const struct {
    __int128 value;
    int by;
    int64_t expected;
  } cases[] = {
      {1064999, 4, 106}, {1065000, 4, 107}, {-1065000, 4, -107}, {-1064999, 4, -106},
      {12345, 0, 12345}, {49, 2, 0},        {50, 2, 1},          {-50, 2, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<int64_t>(DivideRounded(c.value, c.by)), c.expected)
        << static_cast<int64_t>(c.value);
  const __int128 large =
      static_cast<__int128>(999999999999999) * 1000000000000000 + 500000000000000;
  EXPECT_EQ(static_cast<int64_t>(DivideRounded(large, 15)), 1000000000000000);
}

TEST(Rounding, FromUnitsGivesTheNearestDouble) {
  EXPECT_EQ(FromUnits(3002528, 2), 30025.28);
  EXPECT_EQ(FromUnits(-101, 2), -1.01);
  EXPECT_EQ(FromUnits(12346, 3), 12.346);
  EXPECT_EQ(FromUnits(99999999999999, 2), 999999999999.99);
  EXPECT_EQ(FromUnits(0, 2), 0.0);
  EXPECT_EQ(FromUnits(123456789012345678, 2), 1234567890123456.78);
}

}  // namespace
