#pragma once

#include <QColor>

// Background of cells that cannot be edited and of the long-text view: the
// grid's button face, 15 percent lighter, yet never so light that it could
// be taken for the white of an editable cell.
QColor ReadOnlyColor(const QColor& buttonFace);
