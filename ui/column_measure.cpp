#include "ui/column_measure.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

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

int ColumnMeasure::Cp1252Width(std::string_view text, bool bold) const {
  const std::array<qreal, 256>& advance = bold ? boldChars_ : regular_;
  qreal width = 0;
  for (const char c : text) width += advance[static_cast<unsigned char>(c)];
  return static_cast<int>(std::ceil(width));
}

std::vector<int> ColumnMeasure::Needed(const PriceGridModel& model,
                                       const std::vector<GridRow>& rows) const {
  const int count = model.columnCount();
  // Numbers are measured once per column, at the largest magnitude, with a
  // sign; amounts at least at kLargestAmount.
  std::vector<double> largest(count, 0);
  std::vector<bool> numbers(count, false);
  std::vector<int> widest(count, 0);
  for (int c = 0; c < count; ++c) {
    const KsField* field = model.Field(c);
    const uint8_t type = field ? field->Desc->FieldType : static_cast<uint8_t>(ftUnknown);
    if (type == ftFloat || type == ftCurrency) {
      largest[c] = kLargestAmount;
      numbers[c] = true;
    }
  }
  // The columns each field of an element class shows, found once per class
  // through the element's own lookup by name (an area answers "GB" with its
  // SUMME, shown in both columns).
  using Shown = std::vector<std::pair<const KsFieldDesc*, int>>;
  std::unordered_map<const ObjClass*, Shown> shownBy;
  const auto shown = [&](KsGAEBObj& element) -> const Shown& {
    const auto [it, added] = shownBy.try_emplace(&element.Class());
    if (added)
      for (int c = 0; c < count; ++c)
        if (model.Field(c))
          if (const KsMember& m = element.GetMember(model.ColumnName(c)); m.FieldDesc)
            it->second.emplace_back(m.FieldDesc, c);
    return it->second;
  };
  // Row by row over the members an element has, so that a large area costs
  // one pass over its elements, not one per column.
  for (const GridRow& row : rows) {
    const bool bold = IsAreaRow(row.Element);
    const Shown& fields = shown(*row.Element);
    for (const KsMember& member : row.Element->Members.HeldMembers()) {
      if (member.Value.IsEmptyOrNull()) continue;
      for (const auto& [desc, c] : fields) {
        if (desc != member.FieldDesc) continue;
        double value;
        if (PriceGridModel::IsNumberType(member.GetFieldType()) && member.TryAsFloat(value)) {
          largest[c] = std::max(largest[c], std::fabs(value));
          numbers[c] = true;
        } else if (member.Value.Kind() == KsVarKind::String) {
          widest[c] = std::max(widest[c], Cp1252Width(member.Value.Str(), bold));
        } else {
          widest[c] = std::max(widest[c], Cp1252Width(member.GetAsString(), bold));
        }
      }
    }
  }
  std::vector<int> widths(count, 0);
  for (int c = 0; c < count; ++c) {
    const KsField* field = model.Field(c);
    if (!field) continue;
    if (numbers[c]) {
      const std::string text = PriceGridModel::NumberText(-largest[c], field->Desc->Size);
      widest[c] = std::max(widest[c], TextWidth(FromCp1252(text), true));
    }
    widths[c] = widest[c] + kCellMargin;
  }
  return widths;
}
