#pragma once

#include <QWidget>

class KsLyxObj;
class QSplitter;
class KsGAEBObj;
class KsFieldList;
class QTextEdit;
class GridColumnsEditor;
class PriceGrid;
class TotalsPanel;
class ComplementPanel;
class ArchivePanel;
struct ArchiveEntry;

// The page "&Titel-Positionen": the price grid with its in-place editor, the
// long-text view and the totals panel under a splitter. The main window owns
// the page and calls these operations; the page does no file I/O.
class TitPosPage : public QWidget {
  Q_OBJECT
 public:
  TitPosPage(KsLyxObj& document, const KsFieldList& fields, GridColumnsEditor& columns,
             QWidget* parent = nullptr);
  ~TitPosPage() override;

  // Columns from the checked and enabled items of the column editor (at least one).
  void BuildColumns();
  // Enables the unit-price component columns as the document's EpBreakdown says, then BuildColumns.
  void UpdateEpColumns();
  // Rows for an LV area (with everything below it) or a position; nullptr empties the grid.
  void ShowElement(KsGAEBObj* element);
  // Empties the grid (2 rows, 1 column, no elements).
  void Clear();
  // An LV area chosen to be priced: its rows, the first position's unit
  // price current and no editor open, so that typing starts the price.
  void ShowArea(KsGAEBObj* area);
  // The LV area holding the position, with the position's unit price being
  // entered.
  void ShowPosition(KsGAEBObj* position);
  // A hit of the search: a position as ShowPosition, an LV area as ShowArea
  // (the tree told), and the first of the words marked in the long text.
  void ShowHit(KsGAEBObj* element, const QString& word);
  // The VAT rate entry takes the focus.
  void FocusVatRate();
  // The page-change handling of the tab: BuildColumns, then the LV area,
  // row and column shown when the page was left (the first LV area as
  // ShowArea the first time).
  void ActivateFromTab();
  // Reaction to code 8: sum, VAT rate, VAT amount, gross sum.
  void ShowTotals();
  // Ctrl+N / Ctrl+L: the next (previous) position without a unit price, in
  // the rows shown and then on into the following (preceding) LV areas.
  void NextEmptyEP();
  void PreviousEmptyEP();
  // 8 or 10 points.
  void SetLongTextFontSize(int points);
  int LongTextFontSize() const;
  // Commits a pending edit (before saving, printing, closing).
  void CommitEdit();

  PriceGrid& Grid() const { return *sg; }
  // The earlier prices of the position shown, beside its long text.
  ArchivePanel& Archive() const { return *archive_; }
  // Shows nothing of the old document any more; the caller fills the page again.
  void SetDocument(KsLyxObj& document);

 signals:
  // A price, discount or VAT rate went into the document.
  void Edited();
  // The page itself chose the LV area the grid shows (nullptr: none), so the
  // tree can select it.
  void AreaShown(KsGAEBObj* area);

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  // Where the grid stood when the page was left.
  struct Place {
    KsGAEBObj* area = nullptr;
    int row = -1;
    int column = -1;
    int top = 0;
  };
  // Shows the area at the place it was left; false when it was not the one left.
  bool RestorePlace(KsGAEBObj* area);
  // Enter after the last row: the first position of the next LV area on the
  // level of the shown one, in the same column.
  void ContinueIntoNextArea(int column);
  void ShowLongText(KsGAEBObj* element);
  // An earlier price chosen in the archive panel, entered as if typed (its
  // components where the tender asks for a breakdown); one step to undo.
  void TakeArchivePrice(KsGAEBObj* position, const ArchiveEntry& entry);
  void FindEmptyEp(bool next);
  // Beyond the shown area: shows the area, on the level of the shown one,
  // that holds the next (previous) position without a price, and selects it.
  void ContinueEmptyEpSearch(bool next);
  // Gives the grid a whole number of rows: the information panel keeps its
  // height and takes the few pixels left over.
  void SnapToRows();

  KsLyxObj* document_;
  const KsFieldList& fields_;
  GridColumnsEditor& columns_;
  PriceGrid* sg;
  QTextEdit* reLTxt;
  TotalsPanel* totals_;
  ComplementPanel* complements_;
  ArchivePanel* archive_;
  QSplitter* splitter_;
  int infoHeight_;  // as designed, or as the user dragged it
  Place place_;
};
