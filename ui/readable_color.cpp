#include "ui/readable_color.h"

#include <algorithm>
#include <cmath>

namespace {

double Channel(double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double Luminance(const QColor& color) {
  return 0.2126 * Channel(color.redF()) + 0.7152 * Channel(color.greenF()) +
         0.0722 * Channel(color.blueF());
}

QColor Mixed(const QColor& from, const QColor& to, double share) {
  return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * share),
                          static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * share),
                          static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * share));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableColor(const QColor& wanted, const QColor& background, const QColor& text) {
  for (int step = 0; step <= 10; ++step) {
    const QColor candidate = Mixed(wanted, text, step / 10.0);
    if (ContrastRatio(candidate, background) >= kMinContrast) return candidate;
  }
  return text;
}

QColor ValueColor(const QPalette& palette) {
  return ReadableColor(palette.color(QPalette::Link), palette.color(QPalette::Window),
                       palette.color(QPalette::WindowText));
}

QPalette DarkPalette() {
  const QColor window(53, 53, 53);
  const QColor base(35, 35, 35);
  QPalette palette;
  palette.setColor(QPalette::Window, window);
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::Base, base);
  palette.setColor(QPalette::AlternateBase, window);
  palette.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
  palette.setColor(QPalette::ToolTipText, Qt::white);
  palette.setColor(QPalette::Text, Qt::white);
  palette.setColor(QPalette::Button, window);
  palette.setColor(QPalette::ButtonText, Qt::white);
  palette.setColor(QPalette::Link, QColor(42, 130, 218));
  palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
  palette.setColor(QPalette::HighlightedText, Qt::black);
  palette.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(127, 127, 127));
  return palette;
}
