#include "ui/price_grid_model.h"

#include <array>

#include "core/fb_desc.h"
#include "document/cell_text.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "ui/field_list.h"
#include "ui/qstring_codec.h"
#include "util/format_ex.h"

namespace {

const std::string kNoName;

// "%.<decimals>n": the number with thousands separators.
const std::string& NumberFormat(int decimals) {
  static const std::array<std::string, 19> formats = [] {
    std::array<std::string, 19> f;
    for (size_t i = 0; i < f.size(); ++i) f[i] = "%." + std::to_string(i) + "n";
    return f;
  }();
  return formats[decimals < 0 ? 0 : decimals > 18 ? 18 : decimals];
}

}  // namespace

bool PriceGridModel::IsNumberType(uint8_t type) {
  return type == ftInteger || type == ftFloat || type == ftCurrency;
}

std::string PriceGridModel::NumberText(double value, int decimals) {
  return FormatEx(NumberFormat(decimals), {Variant(value)});
}

PriceGridModel::PriceGridModel(QObject* parent) : QAbstractTableModel(parent) {
  columns_.emplace_back();
  rows_.emplace_back();
}

void PriceGridModel::SetColumns(const std::vector<const KsField*>& fields) {
  beginResetModel();
  columns_.clear();
  for (const KsField* field : fields) {
    Column column;
    column.field = field;
    column.name = field->Name();
    columns_.push_back(std::move(column));
  }
  if (columns_.empty()) columns_.emplace_back();
  endResetModel();
}

void PriceGridModel::SetElement(KsGAEBObj* element) {
  beginResetModel();
  if (!element || IsPositionRow(element))
    rows_ = {GridRow{element, -1}};
  else
    rows_ = AreaRows(*element);
  endResetModel();
}

int PriceGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PriceGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

KsGAEBObj* PriceGridModel::Element(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[row].Element : nullptr;
}

const KsField* PriceGridModel::Field(int column) const {
  return column >= 0 && column < static_cast<int>(columns_.size()) ? columns_[column].field
                                                                   : nullptr;
}

const std::string& PriceGridModel::ColumnName(int column) const {
  return column >= 0 && column < static_cast<int>(columns_.size()) ? columns_[column].name
                                                                   : kNoName;
}

int PriceGridModel::ColumnOf(const std::string& name) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].field && columns_[i].name == name) return static_cast<int>(i);
  return -1;
}

bool PriceGridModel::IsCellEditable(int column, const KsGAEBObj* element) const {
  return element && column >= 0 && column < static_cast<int>(columns_.size()) &&
         IsEnterable(*element, columns_[column].name);
}

QVariant PriceGridModel::DisplayText(KsGAEBObj& element, const Column& column) const {
  const KsMember& member = element.GetMember(column.name);
  if (!member.FieldDesc || member.Value.IsEmptyOrNull()) return {};
  const uint8_t type = member.GetFieldType();
  double value;
  // A value the file held as text that is no number is shown as it stands.
  if (!IsNumberType(type) || !member.TryAsFloat(value)) return FromCp1252(member.GetAsString());
  if (value == 0 && type != ftInteger && !ShowsZero(element, member)) return {};
  return FromCp1252(NumberText(value, member.FieldDesc->Size));
}

Qt::Alignment PriceGridModel::TextAlignment(KsGAEBObj& element, const Column& column) const {
  const bool right = IsNumberType(element.GetMember(column.name).GetFieldType());
  return right ? Qt::AlignRight : Qt::AlignLeft;
}

QVariant PriceGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  KsGAEBObj* element = Element(index.row());
  const Column& column = columns_.at(index.column());
  switch (role) {
    case Qt::DisplayRole:
      return element && column.field ? DisplayText(*element, column) : QVariant();
    case Qt::TextAlignmentRole:
      return element && column.field ? QVariant(TextAlignment(*element, column)) : QVariant();
    case Qt::BackgroundRole:
      return IsCellEditable(index.column(), element) ? editableBrush_ : readOnlyBrush_;
    case Qt::FontRole:
      return IsAreaRow(element) ? QVariant(AreaFont()) : QVariant();
    default:
      return {};
  }
}

QVariant PriceGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  const KsField* field = Field(section);
  if (!field) return {};
  switch (role) {
    case Qt::DisplayRole:
      return FromCp1252(field->Desc->DisplayLabel);
    case Qt::ToolTipRole:
      return field->Desc->Hint.empty() ? QVariant() : FromCp1252(field->Desc->Hint);
    default:
      return {};
  }
}

Qt::ItemFlags PriceGridModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void PriceGridModel::RowValuesChanged(int row) {
  const int last = static_cast<int>(columns_.size()) - 1;
  for (int r = row; r >= 0 && r < static_cast<int>(rows_.size()); r = rows_[r].ParentRow)
    emit dataChanged(index(r, 0), index(r, last), {Qt::DisplayRole});
}

QFont PriceGridModel::AreaFont() {
  QFont bold;
  bold.setBold(true);
  return bold;
}

std::vector<GridRow> PriceGridModel::RowAndAreasAbove(int row) const {
  std::vector<GridRow> chain;
  for (int r = row; r >= 0 && r < static_cast<int>(rows_.size()); r = rows_[r].ParentRow)
    if (rows_[r].Element) chain.push_back(rows_[r]);
  return chain;
}

void PriceGridModel::SetReadOnlyColor(const QColor& color) { readOnlyBrush_ = QBrush(color); }
