#include "util/color.h"

#include <gtest/gtest.h>

#include "util/startup.h"

// Expected values worked out by hand from the HLS formulas (greys and pure
// colours) and, for the mixed colours, with an independent reimplementation.
TEST(Color, ChangeLightness) {
  const struct {
    uint32_t color;
    int percent;
    uint32_t expected;
  } cases[] = {
      {0xFFFFFF, 15, 0xFFFFFF},  {0x000000, 15, 0x000000},   {0x808080, 15, 0x929292},
      {0xF0F0F0, 15, 0xFFFFFF},  {0xC0C0C0, 15, 0xDDDDDD},   {0x808080, -50, 0x3F3F3F},
      {0x808080, 150, 0xFFFFFF}, {0x808080, -150, 0x000000}, {0x0000FF, 0, 0x0000FF},
      {0x0000FF, 50, 0x8080FF},  {0x0000FF, -50, 0x000080},  {0x00FF00, 50, 0x80FF80},
      {0xFF0000, 50, 0xFF8080},  {0xD4D0C8, 15, 0xEFEEEB},   {0x996633, 15, 0xAF753A},
      {0x996633, -30, 0x6C4824}, {0x336699, 40, 0x568EC7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KsColor::ChangeLightness(c.color, c.percent), c.expected)
        << std::hex << c.color << " " << std::dec << c.percent;
  }
}

TEST(Color, LowColourScreensAndSystemColours) {
  constexpr uint32_t kButtonFace = 0xFF00000F;
  KsColor::SetSystemColorResolver(
      [](uint32_t color) -> uint32_t { return color == kButtonFace ? 0x808080 : color; });
  EXPECT_EQ(KsColor::ChangeLightness(kButtonFace, 15), 0x929292u);
  SetScreenBitsPerPixel(8);
  EXPECT_EQ(KsColor::ChangeLightness(kButtonFace, 15), 0x808080u);
  EXPECT_EQ(KsColor::ChangeLightness(0xC0C0C0, 15), 0xC0C0C0u);
  SetScreenBitsPerPixel(32);
  KsColor::SetSystemColorResolver(nullptr);
  EXPECT_EQ(KsColor::ColorToRGB(kButtonFace), kButtonFace);
}
