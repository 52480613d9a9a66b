#include "ui/read_only_color.h"

#include "util/color.h"

namespace {
// Where the button face is nearly white (as on most desktops today) the
// lighter colour is white as well, and read-only cells would look like the
// editable ones. They keep at least this much grey.
constexpr int kLightest = 230;
}  // namespace

QColor ReadOnlyColor(const QColor& buttonFace) {
  const uint32_t bgr = static_cast<uint32_t>(buttonFace.red()) |
                       static_cast<uint32_t>(buttonFace.green()) << 8 |
                       static_cast<uint32_t>(buttonFace.blue()) << 16;
  const uint32_t lighter = KsColor::ChangeLightness(bgr, 15);
  const QColor color(lighter & 0xFF, (lighter >> 8) & 0xFF, (lighter >> 16) & 0xFF);
  if (color.lightness() <= kLightest) return color;
  return QColor::fromHsl(color.hslHue(), color.hslSaturation(), kLightest);
}
