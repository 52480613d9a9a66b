#pragma once

#include <QString>

// A text for a place that shows one line (a grid cell, a tree entry): its
// first non-empty line, ended with "…" when more text follows.
QString OneLine(const QString& text);
