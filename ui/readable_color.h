#pragma once

#include <QColor>
#include <QPalette>

// Colours taken from the palette so that light, dark and high-contrast
// themes stay readable.

// The contrast ratio of two colours by their relative luminance (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);
// `wanted`, moved toward `text` until it stands out from `background` by
// kMinContrast (text itself when even that does not).
QColor ReadableColor(const QColor& wanted, const QColor& background, const QColor& text);
inline constexpr double kMinContrast = 4.5;
// The highlight of read-only values shown beside their captions: the
// palette's link colour, readable on the window.
QColor ValueColor(const QPalette& palette);
// A dark palette for the Fusion style, as dark desktop themes give; the
// program takes it when TARVO_PALETTE=dark is set.
QPalette DarkPalette();
