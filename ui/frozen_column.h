#pragma once

#include <QTableView>

// The first column of a table kept in sight while the table is scrolled
// sideways, as spreadsheets freeze it: a view of the same model and item
// delegate laid over the table's left edge, showing that column only, its
// rows following the table's. It takes neither the focus nor the mouse; the
// table beneath does. Shown only while the table's own first column is
// scrolled (partly) out of sight and `Frozen` says it should be.
class FrozenColumn : public QTableView {
  Q_OBJECT
 public:
  explicit FrozenColumn(QTableView& table);

  // Whether the first column is to be kept in sight (it is the OZ).
  void SetFrozen(bool frozen);
  // Follows the table's columns, rows, widths and scrolling.
  void Follow();

 private:
  QTableView& table_;
  bool frozen_ = false;
};
