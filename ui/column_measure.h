#pragma once

#include <QFont>
#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ui/area_rows.h"

class PriceGridModel;

// What the price grid's columns need so that nothing they show is cut,
// measured with the grid's own font (area rows in bold): every value of the
// given rows, and for amounts at least -99.999.999,99 in the column's
// decimals, so that a column does not change width with every other tender.
class ColumnMeasure {
 public:
  // Room a cell needs beside its text: 1 pixel left, 2 right, the grid line.
  static constexpr int kCellMargin = 4;

  explicit ColumnMeasure(const QFont& font);

  // Width of each column of the model (0 for the empty column), margins included.
  std::vector<int> Needed(const PriceGridModel& model, const std::vector<GridRow>& rows) const;
  int TextWidth(const QString& text, bool bold) const;

 private:
  // Windows-1252 text by the fractional advance of each character: exact but
  // for kerning, and fast enough for every row of a large tender.
  int Cp1252Width(std::string_view text, bool bold) const;

  QFont font_;
  QFont bold_;
  std::array<qreal, 256> regular_{};
  std::array<qreal, 256> boldChars_{};
};
