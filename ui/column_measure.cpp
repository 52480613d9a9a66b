#include "ui/column_measure.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "core/fb_desc.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "ui/field_list.h"
#include "ui/price_grid_model.h"
#include "ui/qstring_codec.h"

namespace {

// The widest amount a column is made for, whatever the tender holds.
constexpr double kLargestAmount = 99999999.99;

}  // namespace

ColumnMeasure::ColumnMeasure(const QFont& font)
    : font_(font), bold_(PriceGridModel::AreaFont().resolve(font)) {
  const QFontMetricsF regular(font_);
  const QFontMetricsF bold(bold_);
  for (int c = 0; c < 256; ++c) {
    const QString character = FromCp1252(std::string(1, static_cast<char>(c)));
    regular_[c] = regular.horizontalAdvance(character);
    boldChars_[c] = bold.horizontalAdvance(character);
  }
}

int ColumnMeasure::TextWidth(const QString& text, bool bold) const {
  return QFontMetrics(bold ? bold_ : font_).horizontalAdvance(text);
}

int ColumnMeasure::Cp1252Width(const std::string& text, bool bold) const {
  const std::array<qreal, 256>& advance = bold ? boldChars_ : regular_;
  qreal width = 0;
  for (const char c : text) width += advance[static_cast<unsigned char>(c)];
  return static_cast<int>(std::ceil(width));
}

std::vector<int> ColumnMeasure::Needed(const PriceGridModel& model,
                                       const std::vector<GridRow>& rows) const {
  std::vector<int> widths(model.columnCount(), 0);
  for (int c = 0; c < model.columnCount(); ++c) {
    const KsField* field = model.Field(c);
    if (!field) continue;
    const std::string& name = model.ColumnName(c);
    const uint8_t type = field->Desc->FieldType;
    const bool amount = type == ftFloat || type == ftCurrency;
    // Numbers are measured once, at the largest magnitude, with a sign.
    double largest = amount ? kLargestAmount : 0;
    bool numbers = amount;
    int widest = 0;
    for (const GridRow& row : rows) {
      const KsMember& member = row.Element->GetMember(name);
      if (!member.FieldDesc || member.Value.IsEmptyOrNull()) continue;
      double value;
      if (PriceGridModel::IsNumberType(member.GetFieldType()) && member.TryAsFloat(value)) {
        largest = std::max(largest, std::fabs(value));
        numbers = true;
      } else {
        widest = std::max(widest, Cp1252Width(member.GetAsString(), IsAreaRow(row.Element)));
      }
    }
    if (numbers) {
      const std::string text = PriceGridModel::NumberText(-largest, field->Desc->Size);
      widest = std::max(widest, TextWidth(FromCp1252(text), true));
    }
    widths[c] = widest + kCellMargin;
  }
  return widths;
}
