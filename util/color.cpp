#include "util/color.h"

#include <algorithm>

#include "util/startup.h"

namespace {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kHueUndefined = kHlsMax * 2 / 3;

KsColor::SystemColorResolver& Resolver() {
  static KsColor::SystemColorResolver resolver = nullptr;
  return resolver;
}

struct Hls {
  int hue;
  int lightness;
  int saturation;
};

Hls RgbToHls(int r, int g, int b) {
  const int cMax = std::max({r, g, b});
  const int cMin = std::min({r, g, b});
  Hls hls;
  hls.lightness = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
  if (cMax == cMin) {
    hls.saturation = 0;
    hls.hue = kHueUndefined;
    return hls;
  }
  const int range = cMax - cMin;
  if (hls.lightness <= kHlsMax / 2) {
    hls.saturation = (range * kHlsMax + (cMax + cMin) / 2) / (cMax + cMin);
  } else {
    const int rest = 2 * kRgbMax - cMax - cMin;
    hls.saturation = (range * kHlsMax + rest / 2) / rest;
  }
  const auto distance = [&](int channel) {
    return ((cMax - channel) * (kHlsMax / 6) + range / 2) / range;
  };
  if (r == cMax) {
    hls.hue = distance(b) - distance(g);
  } else if (g == cMax) {
    hls.hue = kHlsMax / 3 + distance(r) - distance(b);
  } else {
    hls.hue = 2 * kHlsMax / 3 + distance(g) - distance(r);
  }
  if (hls.hue < 0) hls.hue += kHlsMax;
  if (hls.hue > kHlsMax) hls.hue -= kHlsMax;
  return hls;
}

int HueToValue(int m1, int m2, int hue) {
  if (hue < 0) hue += kHlsMax;
  if (hue > kHlsMax) hue -= kHlsMax;
  if (hue < kHlsMax / 6) return m1 + ((m2 - m1) * hue + kHlsMax / 12) / (kHlsMax / 6);
  if (hue < kHlsMax / 2) return m2;
  if (hue < kHlsMax * 2 / 3) {
    return m1 + ((m2 - m1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
  }
  return m1;
}

uint32_t HlsToRgb(const Hls& hls) {
  int r, g, b;
  if (hls.saturation == 0) {
    r = g = b = hls.lightness * kRgbMax / kHlsMax;
  } else {
    const int l = hls.lightness;
    const int s = hls.saturation;
    const int m2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                                    : l + s - (l * s + kHlsMax / 2) / kHlsMax;
    const int m1 = 2 * l - m2;
    const auto channel = [&](int hue) {
      return (HueToValue(m1, m2, hue) * kRgbMax + kHlsMax / 2) / kHlsMax;
    };
    r = channel(hls.hue + kHlsMax / 3);
    g = channel(hls.hue);
    b = channel(hls.hue - kHlsMax / 3);
  }
  return static_cast<uint32_t>(r + g * 256 + b * 65536);
}

}  // namespace

void KsColor::SetSystemColorResolver(SystemColorResolver resolver) { Resolver() = resolver; }

uint32_t KsColor::ColorToRGB(uint32_t color) {
  if ((color & 0xFF000000u) == 0xFF000000u && Resolver()) return Resolver()(color);
  return color;
}

uint32_t KsColor::ChangeLightness(uint32_t color, int percent) {
  const uint32_t rgb = ColorToRGB(color);
  if (ScreenBitsPerPixel() < 9) return rgb;
  Hls hls = RgbToHls(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  percent = std::clamp(percent, -100, 100);
  hls.lightness = std::clamp(hls.lightness + percent * hls.lightness / 100, 0, kHlsMax);
  return HlsToRgb(hls);
}
