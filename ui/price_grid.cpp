#include "ui/price_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>
#include <exception>

#include "document/cell_text.h"
#include "document/entry_questions.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "ui/column_measure.h"
#include "ui/field_list.h"
#include "ui/frozen_column.h"
#include "ui/price_cell_delegate.h"
#include "ui/price_grid_model.h"
#include "ui/qstring_codec.h"
#include "util/message_boxes.h"

namespace {
constexpr int kEmptyColumnWidth = 64;
// The short text takes the free width, and at least this many characters.
const std::string kStretchColumn = "BEZ";
constexpr int kStretchChars = 20;
// Other text columns fit their longest text up to this many characters; a
// longer one ends in "…" and shows whole as a tooltip.
constexpr int kMaxTextChars = 40;
}  // namespace

PriceGrid::PriceGrid(QWidget* parent) : QTableView(parent), model_(new PriceGridModel(this)) {
  setObjectName(QStringLiteral("sg"));
  setModel(model_);
  setItemDelegate(new PriceCellDelegate(this));
  setFrameShape(QFrame::NoFrame);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(4);
  verticalHeader()->setDefaultSectionSize(kRowPitch);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);  // no column selection
  setCornerButtonEnabled(false);

  // The area without cells shows the button face, as the window does.
  QPalette colors = palette();
  colors.setColor(QPalette::Base, colors.color(QPalette::Button));
  setPalette(colors);

  frozenOz_ = new FrozenColumn(*this);
  eEdit = new CellEditor(viewport());
  connect(eEdit, &CellEditor::EditExit, this, &PriceGrid::CommitEdit);
  connect(eEdit, &CellEditor::EditCancelled, this, &PriceGrid::CancelEdit);
  connect(eEdit, &CellEditor::MoveRequested, this, &PriceGrid::Navigate);
  connect(eEdit, &CellEditor::EmptyEpRequested, this, &PriceGrid::EmptyEpRequested);
  connect(eEdit, &CellEditor::LeaveRequested, this, &PriceGrid::LeaveGrid);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, &PriceGrid::PlaceEditor);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, &PriceGrid::ColumnResized);
  connect(verticalHeader(), &QHeaderView::sectionResized, this, &PriceGrid::PlaceEditor);
}

void PriceGrid::SetColumns(const std::vector<const KsField*>& fields) {
  CommitEdit();
  model_->SetColumns(fields);
  FitColumns({});
  frozenOz_->SetFrozen(model_->columnCount() > 1 && model_->ColumnName(0) == "OZ");
}

void PriceGrid::FitColumns(const std::vector<GridRow>& rows) {
  needed_ = ColumnMeasure(font()).Needed(*model_, rows);
  ApplyWidths();
}

void PriceGrid::GrowColumns(const std::vector<GridRow>& rows) {
  const std::vector<int> needed = ColumnMeasure(font()).Needed(*model_, rows);
  if (needed.size() != needed_.size()) return;
  bool grown = false;
  for (size_t c = 0; c < needed.size(); ++c) {
    if (needed[c] <= needed_[c]) continue;
    needed_[c] = needed[c];
    grown = true;
  }
  if (grown) ApplyWidths();
}

void PriceGrid::ApplyWidths() {
  if (sizing_ || needed_.size() != static_cast<size_t>(model_->columnCount())) return;
  const QScopedValueRollback<bool> own(sizing_, true);
  const int average = fontMetrics().averageCharWidth();
  int stretch = -1;
  int others = 0;
  std::vector<int> widths(needed_.size());
  for (int c = 0; c < model_->columnCount(); ++c) {
    const KsField* field = model_->Field(c);
    if (!field) {
      widths[c] = kEmptyColumnWidth;
      continue;
    }
    const auto user = userWidths_.find(field->Name());
    const int header = horizontalHeader()->sectionSizeHint(c);
    const bool number = PriceGridModel::IsNumberType(field->Desc->FieldType);
    if (field->Name() == kStretchColumn) {
      stretch = c;
      widths[c] = user != userWidths_.end() ? user->second : kStretchChars * average;
      continue;
    }
    if (user != userWidths_.end())
      widths[c] = number ? std::max(user->second, needed_[c]) : user->second;
    else
      widths[c] =
          std::max(header, number ? needed_[c] : std::min(needed_[c], kMaxTextChars * average));
    others += widths[c];
  }
  if (stretch >= 0) widths[stretch] = std::max(widths[stretch], viewport()->width() - others);
  for (int c = 0; c < model_->columnCount(); ++c)
    if (columnWidth(c) != widths[c]) setColumnWidth(c, widths[c]);
}

// A width the grid did not set itself is the user's.
void PriceGrid::ColumnResized(int column, int, int newWidth) {
  if (sizing_) return;
  if (const KsField* field = model_->Field(column)) {
    userWidths_[field->Name()] = newWidth;
    ApplyWidths();
  }
}

QString PriceGrid::UserWidthsText() const {
  QString text;
  for (const auto& [name, width] : userWidths_)
    text += QStringLiteral("%1=%2;").arg(FromCp1252(name)).arg(width);
  return text;
}

void PriceGrid::SetUserWidthsText(const QString& text) {
  userWidths_.clear();
  for (const QString& entry : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QStringList parts = entry.split(QLatin1Char('='));
    bool number = false;
    const int width = parts.value(1).toInt(&number);
    if (parts.size() == 2 && number && width > 0) userWidths_[ToCp1252(parts[0])] = width;
  }
  ApplyWidths();
}

void PriceGrid::ShowRows(KsGAEBObj* element) {
  CommitEdit();
  model_->SetElement(element);
}

void PriceGrid::SetReadOnlyColor(const QColor& color) {
  model_->SetReadOnlyColor(color);
  viewport()->update();
}

int PriceGrid::CurrentRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

int PriceGrid::CurrentColumn() const {
  return currentIndex().isValid() ? currentIndex().column() : -1;
}

int PriceGrid::VisibleRowCount() const {
  const int rows = viewport()->height() / kRowPitch;
  return rows > 0 ? rows : 1;
}

int PriceGrid::TopRow() const {
  const int row = rowAt(0);
  return row < 0 ? 0 : row;
}

bool PriceGrid::SelectCell(int row, int column) {
  if (row < 0 || row >= model_->rowCount() || column < 0 || column >= model_->columnCount())
    return false;
  KsGAEBObj* element = model_->Element(row);
  emit RowElementShown(element);
  if (!model_->IsCellEditable(column, element)) return false;
  const QModelIndex index = model_->index(row, column);
  if (index == currentIndex() && !eEdit->isHidden()) return true;
  // The open editor moves along with the focus; hiding it in between would
  // bounce the focus through the grid and repaint all of it.
  ApplyPendingEdit();
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
  OpenEditor(index);
  return true;
}

void PriceGrid::SelectFirstEditable() {
  for (int row = 0; row < model_->rowCount(); ++row) {
    const KsGAEBObj* element = model_->Element(row);
    for (int column = 0; column < model_->columnCount(); ++column) {
      if (!model_->IsCellEditable(column, element)) continue;
      RevealAbove(row, column);
      SelectCell(row, column);
      return;
    }
  }
}

bool PriceGrid::SelectFirstPrice() {
  CommitEdit();
  const int epColumn = model_->ColumnOf("EP");
  for (int row = 0; row < model_->rowCount(); ++row) {
    KsGAEBObj* element = model_->Element(row);
    const int column = IsPositionRow(element) ? PriceColumn(row, epColumn) : -1;
    if (column < 0) continue;
    const QModelIndex index = model_->index(row, column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    RevealAbove(row, column);
    scrollTo(index);
    emit RowElementShown(element);
    return true;
  }
  return false;
}

bool PriceGrid::SelectPrice(int row) {
  const int column = PriceColumn(row, model_->ColumnOf("EP"));
  return column >= 0 && SelectCell(row, column);
}

bool PriceGrid::StartEntry(const QString& typed) {
  const QModelIndex index = currentIndex();
  if (!index.isValid() || typed.isEmpty() || !typed.at(0).isPrint() ||
      !model_->IsCellEditable(index.column(), model_->Element(index.row())))
    return false;
  OpenEditor(index, typed);
  return !eEdit->isHidden();
}

void PriceGrid::OpenEditor(const QModelIndex& index, const std::optional<QString>& typed) {
  KsGAEBObj* element = model_->Element(index.row());
  if (!element) return;
  const CellEdit edit = CellEditText(element->GetMember(model_->ColumnName(index.column())));
  if (!edit.Editable) {
    HideEditor();
    return;
  }
  if (typed && edit.Numeric && !CellEditor::IsNumberInput(*typed)) return;
  eEdit->SetNumeric(edit.Numeric);
  eEdit->setText(typed ? *typed : FromCp1252(edit.Text));
  eEdit->show();
  PlaceEditor();
  eEdit->setModified(typed.has_value());
  eEdit->setFocus();
  if (typed)
    eEdit->end(false);
  else
    eEdit->selectAll();
}

void PriceGrid::CommitEdit() {
  if (committing_) return;
  committing_ = true;
  ApplyPendingEdit();
  HideEditor();
  committing_ = false;
}

void PriceGrid::CancelEdit() {
  eEdit->setModified(false);
  HideEditor();
}

bool PriceGrid::DropPendingEntry() {
  if (eEdit->isHidden() || !eEdit->isModified()) return false;
  OpenEditor(currentIndex());
  return true;
}

void PriceGrid::HideEditor() {
  if (!eEdit->isHidden()) {
    // Hiding a focused editor would pass the focus on to any next control.
    if (eEdit->hasFocus() || !QApplication::focusWidget()) setFocus();
    eEdit->hide();
  }
  eEdit->setModified(false);
}

void PriceGrid::ApplyPendingEdit() {
  if (eEdit->isHidden() || !eEdit->isModified()) return;
  eEdit->setModified(false);
  const QModelIndex index = currentIndex();
  KsGAEBObj* element = model_->Element(index.row());
  if (!index.isValid() || !element) return;
  KsMember& member = element->GetMember(model_->ColumnName(index.column()));
  if (!member.FieldDesc) return;
  const std::string text = ToCp1252(eEdit->text());
  // Asked once per entry: the entry is no longer pending while the question is open.
  const std::string question = EntryQuestion(*element, member.Name(), text);
  if (!question.empty() && !MessageBoxes().AskYesNo(question)) {
    eEdit->setText(FromCp1252(CellEditText(member).Text));
    eEdit->setModified(false);
    return;
  }
  emit ValueEntering(element);
  try {
    ApplyCellText(*element, member, text);
  } catch (const std::exception& error) {
    MessageBoxes().ShowError(error.what());
  }
  model_->RowValuesChanged(index.row());
  GrowColumns(model_->RowAndAreasAbove(index.row()));
  emit ValueEntered();
}

// Over its cell; a cell scrolled out of view lends its place to the nearest
// fully visible row of the column, so the editor stays in sight.
void PriceGrid::PlaceEditor() {
  const QModelIndex index = currentIndex();
  if (eEdit->isHidden() || !index.isValid()) return;
  QRect cell = visualRect(index);
  const int height = viewport()->height();
  if (cell.top() < 0 || cell.top() + rowHeight(index.row()) > height) {
    int row = cell.top() < 0 ? rowAt(0) : rowAt(height - 1);
    if (row < 0) row = model_->rowCount() - 1;
    if (cell.top() < 0 && rowViewportPosition(row) < 0) ++row;
    if (cell.top() >= 0 && rowViewportPosition(row) + rowHeight(row) > height && row > 0) --row;
    cell = visualRect(model_->index(row, index.column()));
  }
  eEdit->setGeometry(cell);
}

void PriceGrid::LeaveGrid(bool forward) {
  CommitEdit();
  focusNextPrevChild(forward);
}

// A row the cursor may move to in this column. Only editable cells can be
// current, so rows of the same kind whose cell is read-only (price
// components of a position without breakdown) are passed over.
bool PriceGrid::Matches(int row, int column) const {
  return model_->IsCellEditable(column, model_->Element(row));
}

int PriceGrid::MatchUp(int from, int column) const {
  for (int row = from; row >= 0; --row)
    if (Matches(row, column)) return row;
  return -1;
}

int PriceGrid::MatchDown(int from, int column) const {
  for (int row = from; row < model_->rowCount(); ++row)
    if (Matches(row, column)) return row;
  return -1;
}

void PriceGrid::RevealAbove(int row, int column) {
  const int above = row > 0 ? MatchUp(row - 1, column) : -1;
  const int top = above <= 0 ? 0 : above - 1;
  if (top < TopRow()) verticalScrollBar()->setValue(top);
}

int PriceGrid::ColumnTarget(int row, int column, int step) const {
  for (int to = column + step; to >= 0 && to < model_->columnCount(); to += step)
    if (Matches(row, to)) return to;
  return -1;
}

int PriceGrid::RowTarget(TGridMove move, int row, int column, bool& revealAbove) const {
  const int last = model_->rowCount() - 1;
  switch (move) {
    case TGridMove::PreviousRow:
      revealAbove = true;
      return row > 0 ? MatchUp(row - 1, column) : -1;
    case TGridMove::NextRow:
    case TGridMove::NextEntry:
      return MatchDown(row + 1, column);
    case TGridMove::FirstRow:
      revealAbove = true;
      return MatchDown(0, column);
    case TGridMove::LastRow:
      return MatchUp(last, column);
    case TGridMove::PageDown: {
      const int to = row + VisibleRowCount();
      return to >= last ? MatchUp(last, column) : MatchDown(to, column);
    }
    case TGridMove::PageUp: {
      const int to = row - VisibleRowCount();
      const int target = to >= 0 ? MatchUp(to, column) : -1;
      if (target >= 0) return target;
      revealAbove = true;
      return MatchDown(0, column);
    }
    default:
      return -1;
  }
}

bool PriceGrid::CellTarget(bool next, int& row, int& column) const {
  const int step = next ? 1 : -1;
  for (int r = row, c = column + step; r >= 0 && r < model_->rowCount(); r += step) {
    for (; c >= 0 && c < model_->columnCount(); c += step) {
      if (!Matches(r, c)) continue;
      row = r;
      column = c;
      return true;
    }
    c = next ? 0 : model_->columnCount() - 1;
  }
  return false;
}

void PriceGrid::Navigate(TGridMove move) {
  int row = CurrentRow();
  int column = CurrentColumn();
  if (move == TGridMove::NextCell || move == TGridMove::PreviousCell) {
    const bool next = move == TGridMove::NextCell;
    if (row < 0 || column < 0)
      SelectFirstEditable();
    else if (CellTarget(next, row, column))
      SelectCell(row, column);
    else
      KeepEntry();
    return;
  }
  const bool sideways = move == TGridMove::PreviousColumn || move == TGridMove::NextColumn;
  if (row < 0 || column < 0) {
    if (!sideways) SelectFirstEditable();
    return;
  }
  bool revealAbove = false;
  const int target = sideways ? ColumnTarget(row, column, move == TGridMove::NextColumn ? 1 : -1)
                              : RowTarget(move, row, column, revealAbove);
  if (target < 0 || target == (sideways ? column : row)) {
    KeepEntry();
    if (move == TGridMove::NextEntry && target < 0) emit LastRowPassed(column);
  } else if (sideways) {
    SelectCell(row, target);
  } else {
    if (revealAbove) RevealAbove(target, column);
    SelectCell(target, column);
  }
}

// A changed entry is taken even when there is no cell to move to (Enter in
// the last row); the editor stays open on it.
void PriceGrid::KeepEntry() {
  if (eEdit->isHidden() || !eEdit->isModified()) return;
  ApplyPendingEdit();
  OpenEditor(currentIndex());
}

bool PriceGrid::FindEmptyEp(bool next) {
  const int column = model_->ColumnOf("EP");
  if (column < 0) return false;
  const int row = CurrentRow();
  const int step = next ? 1 : -1;
  for (int r = row + step; r >= 0 && r < model_->rowCount(); r += step) {
    const KsGAEBObj* element = model_->Element(r);
    if (!IsPositionRow(element) || !HasEmptyUnitPrice(*element)) continue;
    const int target = PriceColumn(r, column);
    if (target < 0) continue;
    SelectCell(r, target);
    return true;
  }
  return false;
}

// A price made of components is entered in the first component shown.
int PriceGrid::PriceColumn(int row, int epColumn) const {
  const KsGAEBObj* element = model_->Element(row);
  if (epColumn >= 0 && model_->IsCellEditable(epColumn, element)) return epColumn;
  for (int c = 0; c < model_->columnCount(); ++c)
    if (IsPriceComponent(model_->ColumnName(c)) && model_->IsCellEditable(c, element)) return c;
  return -1;
}

bool PriceGrid::event(QEvent* event) {
  // Ctrl+N and Ctrl+L act on the grid while it has the focus.
  if (event->type() == QEvent::ShortcutOverride && EmptyEpKey(*static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  // Tab moves between the cells; only Ctrl+Tab leaves the grid.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (const auto tab = TabMove(*key)) {
      if (key->modifiers() & Qt::ControlModifier)
        LeaveGrid(*tab == TGridMove::NextCell);
      else
        Navigate(*tab);
      return true;
    }
  }
  return QTableView::event(event);
}

void PriceGrid::keyPressEvent(QKeyEvent* event) {
  if (const auto next = EmptyEpKey(*event)) {
    emit EmptyEpRequested(*next);
    return;
  }
  if (const auto move = GridMoveForKey(*event)) {
    Navigate(*move);
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    QTableView::keyPressEvent(event);
    return;
  }
  // Typing into the grid opens the editor on the current cell with that text.
  if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && StartEntry(event->text()))
    return;
  event->ignore();
}

void PriceGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && !SelectCell(index.row(), index.column())) ShowEntryHint(index);
  event->accept();
}

// The unit price of a position priced by its components is their sum: a
// click on it, to type a price there, says where the price goes instead.
void PriceGrid::ShowEntryHint(const QModelIndex& index) {
  const KsGAEBObj* element = model_->Element(index.row());
  if (IsPositionRow(element) && model_->ColumnName(index.column()) == "EP" &&
      HasPriceBreakdown(*element))
    MessageBoxes().ShowMessage(PriceBreakdownHint());
}

// No range selection: the selection is always the current cell.
void PriceGrid::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) QTableView::mouseMoveEvent(event);
}

void PriceGrid::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void PriceGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid()) SelectCell(index.row(), index.column());
  event->accept();
}

// The view never moves the current cell by itself; every move goes through
// the editing rule.
QModelIndex PriceGrid::moveCursor(CursorAction, Qt::KeyboardModifiers) { return currentIndex(); }

void PriceGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  PlaceEditor();
}

void PriceGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  ApplyWidths();
  PlaceEditor();
  frozenOz_->Follow();
}

void PriceGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  QTableView::scrollTo(index, hint);
  if (!index.isValid() || index.column() == 0 || !frozenOz_->isVisible()) return;
  const int covered = columnWidth(0) - visualRect(index).left();
  if (covered > 0)
    horizontalScrollBar()->setValue(std::max(0, horizontalScrollBar()->value() - covered));
}
