#pragma once

#include <QLineEdit>

class QValidator;
#include <optional>

class QKeyEvent;

// Moves of the price grid's current cell.
enum class TGridMove {
  PreviousColumn,  // nearest editable column to the left
  NextColumn,
  PreviousCell,  // Shift+Tab: the previous editable cell, on into the row above
  NextCell,      // Tab: the next editable cell, on into the row below
  PreviousRow,   // nearest matching row above
  NextRow,
  NextEntry,  // Enter: the next row, after the last one on into the next LV area
  FirstRow,
  LastRow,
  PageDown,
  PageUp,
};

// The move a navigation key asks for, the same in the grid and its editor:
// Enter / Shift+Enter, Up, Down (not Alt+Down), Page Up / Down, Home, End,
// Left, Right.
std::optional<TGridMove> GridMoveForKey(const QKeyEvent& event);
// Tab and Shift+Tab (with or without Ctrl, not with Alt): the next or previous cell.
std::optional<TGridMove> TabMove(const QKeyEvent& event);
// Ctrl+N (true) and Ctrl+L (false): next / previous position without a unit price.
std::optional<bool> EmptyEpKey(const QKeyEvent& event);

// The single in-place editor `eEdit` of the price grid. It edits one cell at
// a time; the grid places it over the cell and decides what its keys do.
class CellEditor : public QLineEdit {
  Q_OBJECT
 public:
  explicit CellEditor(QWidget* parent);

  // With the filter on, only what makes a number can be typed: digits, "."
  // and "," (IsNumberEntry); backspace and the editing keys always work.
  void SetNumeric(bool numeric);
  bool Numeric() const { return numeric_; }
  // Whether typed characters pass the number filter.
  static bool IsNumberInput(const QString& text);

 signals:
  void MoveRequested(TGridMove move);
  void EmptyEpRequested(bool next);
  // Ctrl+Tab (forward) and Ctrl+Shift+Tab leave the grid.
  void LeaveRequested(bool forward);
  // The editor lost the focus to another control: commit.
  void EditExit();
  // Esc: the entry is dropped and the editor closed; the window stays.
  void EditCancelled();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool numeric_ = false;
  QValidator* numberValidator_ = nullptr;
};
