#pragma once

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/area_rows.h"

class KsField;
class KsGAEBObj;

// The rows of the price grid: one LV area with everything below it, depth
// first, or a single position. Cells are read from the elements' members each
// time they are drawn; the model keeps no copies of values, so a recomputed
// amount shows as soon as its row is redrawn.
class PriceGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit PriceGridModel(QObject* parent = nullptr);

  // Columns in order; an empty list gives one empty column.
  void SetColumns(const std::vector<const KsField*>& fields);
  // Rows for an area (itself, then its areas recursively, then its own
  // positions) or a position; nullptr leaves one empty row.
  void SetElement(KsGAEBObj* element);

  // Numbers are right-aligned and shown with thousands separators and the
  // decimals of their field; 0 stays empty except for integers.
  static bool IsNumberType(uint8_t type);
  static std::string NumberText(double value, int decimals);
  // Area rows are bold; only the weight is set, the rest is the view's font.
  static QFont AreaFont();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  KsGAEBObj* Element(int row) const;
  const KsField* Field(int column) const;
  // The member name a column shows; "" for the empty column.
  const std::string& ColumnName(int column) const;
  // Column of the field with this name, -1 when it is not shown.
  int ColumnOf(const std::string& name) const;
  // Areas take discounts; positions take unit prices and discounts, and the
  // price components only when the client asked for them ("EPAUFGL" = "J").
  bool IsCellEditable(int column, const KsGAEBObj* element) const;
  // Announces that a value of the row changed, and with it the sums of the
  // areas above it.
  void RowValuesChanged(int row);
  // The row and the rows of the areas above it, whose sums an entry changes.
  std::vector<GridRow> RowAndAreasAbove(int row) const;
  // Background of cells that cannot be edited.
  void SetReadOnlyColor(const QColor& color);

 private:
  struct Column {
    const KsField* field = nullptr;
    std::string name;
  };

  QVariant DisplayText(KsGAEBObj& element, const Column& column) const;
  Qt::Alignment TextAlignment(KsGAEBObj& element, const Column& column) const;

  std::vector<Column> columns_;
  // With the row of the area each row belongs to, to redraw the sums above
  // an edited row.
  std::vector<GridRow> rows_;
  QBrush editableBrush_{Qt::white};
  QBrush readOnlyBrush_;
};
