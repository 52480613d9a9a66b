#pragma once

#include <cstdint>

// Colours are 0x00BBGGRR. A system colour carries 0xFF in the top byte and
// its index in the low byte; only the window knows its current value.
class KsColor {
 public:
  using SystemColorResolver = uint32_t (*)(uint32_t color);

  // Installed by the window; nullptr restores the default, which leaves
  // system colours as they are.
  static void SetSystemColorResolver(SystemColorResolver resolver);
  static uint32_t ColorToRGB(uint32_t color);

  // The colour lighter (percent > 0) or darker (< 0) by a share of its
  // lightness, through the integer HLS model on a 0-240 scale. On screens of
  // 8 bits per pixel or less the colour is returned as it is.
  static uint32_t ChangeLightness(uint32_t color, int percent);
};
