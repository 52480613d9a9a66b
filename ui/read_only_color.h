#pragma once

#include <QColor>

// Background of cells that cannot be edited and of the long-text view: the
// grid's button face, 15 percent lighter.
QColor ReadOnlyColor(const QColor& buttonFace);
