#pragma once

#include <QString>
#include <QTableView>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/area_rows.h"
#include "ui/cell_editor.h"

class FrozenColumn;
class KsField;
class KsGAEBObj;
class PriceGridModel;

// The price grid `sg`: the rows of one LV area with the single in-place
// editor `eEdit`. Only editable cells become current; the editor opens on the
// current cell and its keys move the cursor between editable cells.
class PriceGrid : public QTableView {
  Q_OBJECT
 public:
  static constexpr int kRowPitch = 18;  // row height 17 and a grid line of 1

  explicit PriceGrid(QWidget* parent = nullptr);

  PriceGridModel& Model() const { return *model_; }
  CellEditor& Editor() const { return *eEdit; }

  // Both commit a pending edit first; the current cell is gone afterwards.
  void SetColumns(const std::vector<const KsField*>& fields);
  // Sizes the columns for every value of the rows (the whole tender, so the
  // widths stay as the user pages through its areas): no number is ever cut,
  // the short text takes the free width, and widths the user set are kept.
  void FitColumns(const std::vector<GridRow>& rows);
  // Widths the user set, by column name: "OZ=96;EP=120;", for the settings.
  QString UserWidthsText() const;
  void SetUserWidthsText(const QString& text);
  void ShowRows(KsGAEBObj* element);
  void SetReadOnlyColor(const QColor& color);

  // Makes the cell current and opens the editor on it when it is editable;
  // the long text follows the row either way. False when the cell was refused.
  bool SelectCell(int row, int column);
  // The first editable cell from the top.
  void SelectFirstEditable();
  // The first position's unit price (its first component where the price is
  // their sum) becomes current with the editor closed, so that the first key
  // typed starts the entry there; false when no position has one.
  bool SelectFirstPrice();
  // The row's unit price (or its first component) with the editor open.
  bool SelectPrice(int row);
  // Opens the editor on the current cell with `typed` as its entry; false
  // when the cell takes no entry, or no such text.
  bool StartEntry(const QString& typed);
  void Navigate(TGridMove move);
  // Moves to the next (previous) position below (above) the current row whose
  // unit price is 0; false when there is none or no "EP" column.
  bool FindEmptyEp(bool next);
  // Applies a modified entry and hides the editor.
  void CommitEdit();
  // Drops the entry and hides the editor; the cell stays current.
  void CancelEdit();
  // An entry being typed goes back to the cell's value, the editor staying
  // open; false when nothing was typed.
  bool DropPendingEntry();

  int CurrentRow() const;
  int CurrentColumn() const;
  // Rows that fit completely into the visible area.
  int VisibleRowCount() const;
  int TopRow() const;

 signals:
  // The row whose element the long-text view should show.
  void RowElementShown(KsGAEBObj* element);
  // An entry is about to change the element's values, and has changed them.
  void ValueEntering(KsGAEBObj* element);
  void ValueEntered();
  // Ctrl+N (true) or Ctrl+L in the grid or its editor; the page searches,
  // beyond the rows shown if need be.
  void EmptyEpRequested(bool next);
  // Enter in the last row of the column; the page goes on into the
  // next LV area.
  void LastRowPassed(int column);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  // Also keeps the cell out from under the OZ column kept in sight.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OpenEditor(const QModelIndex& index, const std::optional<QString>& typed = std::nullopt);
  void ShowEntryHint(const QModelIndex& index);
  // Where the unit price of the row is typed: EP, or its first component
  // shown when it has a breakdown; -1 when neither can be edited (or shown).
  int PriceColumn(int row, int epColumn) const;
  // Widens the columns where the rows need more than they have.
  void GrowColumns(const std::vector<GridRow>& rows);
  void ApplyWidths();
  void ColumnResized(int column, int oldWidth, int newWidth);
  // Takes a modified entry into its cell; the editor stays where it is.
  void ApplyPendingEdit();
  void HideEditor();
  void KeepEntry();
  void PlaceEditor();
  void LeaveGrid(bool forward);
  bool Matches(int row, int column) const;
  int MatchUp(int from, int column) const;
  int MatchDown(int from, int column) const;
  // The cell a move goes to: a column of the row, or a row in the column; -1 for none.
  int ColumnTarget(int row, int column, int step) const;
  int RowTarget(TGridMove move, int row, int column, bool& revealAbove) const;
  // Tab's cell: the next editable one in reading order (the previous one
  // for Shift+Tab); false when there is none.
  bool CellTarget(bool next, int& row, int& column) const;
  // Keeps one more row visible above a row reached by moving up.
  void RevealAbove(int row, int column);

  PriceGridModel* model_;
  CellEditor* eEdit;
  FrozenColumn* frozenOz_;  // the OZ in sight while the grid is scrolled sideways
  bool committing_ = false;
  std::vector<int> needed_;                // per column, for its values
  std::map<std::string, int> userWidths_;  // by column name
  bool sizing_ = false;                    // widths being set by the grid itself
};
