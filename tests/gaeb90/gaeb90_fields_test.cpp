#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gaeb90/fixed_number.h"
#include "gaeb90/oz_mask.h"
#include "gaeb90/records.h"

namespace {

TEST(OzMaskTest, MasksOfRecord00) {
  const struct {
    const char* mask;
    bool valid;
    std::vector<size_t> areas;
    size_t position, index;
  } cases[] = {
      {"1122PPPPI", true, {2, 2}, 4, 1}, {"11PPPPI00", true, {2}, 4, 1},
      {"PPPP00000", true, {}, 4, 0},     {"123PPPP  ", true, {1, 1, 1}, 4, 0},
      {"2211PPPPI", false, {}, 0, 0},    {"11XXPPI00", false, {}, 0, 0},
      {"1122I0000", false, {}, 0, 0},    {"         ", false, {}, 0, 0},
      {"11PPPPI1 ", false, {}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    OzMask mask;
    ASSERT_EQ(mask.Parse(c.mask), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(mask.AreaLengths, c.areas);
    EXPECT_EQ(mask.PositionLength, c.position);
    EXPECT_EQ(mask.IndexLength, c.index);
  }
  OzMask mask;
  ASSERT_TRUE(mask.Parse("1122PPPPI"));
  EXPECT_EQ(mask.Split(" 1 1  10A"), (std::vector<std::string>{" 1", " 1", "  10", "A"}));
  EXPECT_EQ(mask.Width(), 9u);
}

TEST(FixedNumberTest, ReadAndWrite) {
  const struct {
    const char* field;
    bool valid;
    int64_t units;
  } reads[] = {
      {"00000004000", true, 4000}, {"   29481", true, 29481}, {"-0000005000", true, -5000},
      {"           ", false, 0},   {"0000x004000", false, 0}, {"00000004000 ", false, 0},
      {"--000004000", false, 0},   {"-", false, 0},
  };
  for (const auto& c : reads) {
    SCOPED_TRACE(c.field);
    int64_t units = 0;
    ASSERT_EQ(ReadFixedNumber(c.field, units), c.valid);
    if (c.valid) EXPECT_EQ(units, c.units);
  }
  EXPECT_EQ(FixedNumberText(29481, 3), "29.481");
  EXPECT_EQ(FixedNumberText(-5, 3), "-0.005");
  EXPECT_EQ(FixedNumberText(0, 2), "0.00");
  std::string field;
  ASSERT_TRUE(WriteFixedNumber(-5000, 11, field));
  EXPECT_EQ(field, "-0000005000");
  ASSERT_TRUE(WriteFixedNumber(99999999999, 11, field));
  EXPECT_EQ(field, "99999999999");
  EXPECT_FALSE(WriteFixedNumber(100000000000, 11, field));
  EXPECT_FALSE(WriteFixedNumber(-10000000000, 11, field));
}

TEST(Gaeb90RecordsTest, WhatBeginsAGaeb90File) {
  const struct {
    std::string head;
    bool gaeb90;
  } cases[] = {
      {"00        83L" + std::string(67, ' ') + "\n01", true},
      {"T0Baubeschreibung\r\n00", true},
      {"#begin[GAEB]\n", false},
      {"<?xml version=\"1.0\"?>", false},
      {"00" + std::string(80, ' ') + "\n", false},
      {"0", false},
  };
  for (const auto& c : cases) EXPECT_EQ(LooksLikeGaeb90(c.head), c.gaeb90) << c.head;
}

}  // namespace
