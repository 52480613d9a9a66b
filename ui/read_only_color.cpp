#include "ui/read_only_color.h"

#include "util/color.h"

QColor ReadOnlyColor(const QColor& buttonFace) {
  const uint32_t bgr = static_cast<uint32_t>(buttonFace.red()) |
                       static_cast<uint32_t>(buttonFace.green()) << 8 |
                       static_cast<uint32_t>(buttonFace.blue()) << 16;
  const uint32_t lighter = KsColor::ChangeLightness(bgr, 15);
  return QColor(lighter & 0xFF, (lighter >> 8) & 0xFF, (lighter >> 16) & 0xFF);
}
