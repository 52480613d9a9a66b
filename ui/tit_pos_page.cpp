#include "ui/tit_pos_page.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "archive/price_archive.h"
#include "document/lyx_obj.h"
#include "document/price_takeover.h"
#include "document/row_kind.h"
#include "document/value_entries.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "ui/archive_panel.h"
#include "ui/area_rows.h"
#include "ui/complement_panel.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/qstring_codec.h"
#include "ui/read_only_color.h"
#include "ui/totals_panel.h"
#include "util/entry_error.h"
#include "util/message_boxes.h"
#include "util/strings.h"

namespace {

// Where the rows of `area` begin among `rows`; rows.size() when it is not there.
int AreaStart(const std::vector<GridRow>& rows, const KsGAEBObj* area) {
  const auto isArea = [area](const GridRow& row) { return row.Element == area; };
  return static_cast<int>(std::find_if(rows.begin(), rows.end(), isArea) - rows.begin());
}

constexpr int kNormalFontSize = 8;

// A splitter that reports when it has laid out its panes after a resize.
class ResizeReportingSplitter : public QSplitter {
 public:
  ResizeReportingSplitter(std::function<void()> resized, QWidget* parent)
      : QSplitter(Qt::Vertical, parent), resized_(std::move(resized)) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QSplitter::resizeEvent(event);
    resized_();
  }

 private:
  std::function<void()> resized_;
};
}  // namespace

TitPosPage::TitPosPage(KsLyxObj& document, const KsFieldList& fields, GridColumnsEditor& columns,
                       QWidget* parent)
    : QWidget(parent),
      document_(&document),
      fields_(fields),
      columns_(columns),
      infoHeight_(7 * PriceGrid::kRowPitch) {
  sg = new PriceGrid(this);
  const QColor readOnly = ReadOnlyColor(sg->palette().color(QPalette::Button));
  sg->SetReadOnlyColor(readOnly);

  reLTxt = new QTextEdit(this);
  reLTxt->setObjectName(QStringLiteral("reLTxt"));
  reLTxt->setReadOnly(true);
  reLTxt->setFrameShape(QFrame::NoFrame);
  reLTxt->setFocusPolicy(Qt::ClickFocus);
  reLTxt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Paragraphs wrap at the view's width, a word longer than a line anywhere,
  // so the text never needs scrolling sideways.
  reLTxt->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  reLTxt->setLineWrapMode(QTextEdit::WidgetWidth);
  reLTxt->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QPalette colors = reLTxt->palette();
  colors.setColor(QPalette::Base, readOnly);
  colors.setColor(QPalette::Text, colors.color(QPalette::ButtonText));
  reLTxt->setPalette(colors);
  SetLongTextFontSize(kNormalFontSize);

  totals_ = new TotalsPanel(document, this);

  complements_ = new ComplementPanel(document, this);
  auto* text = new QWidget(this);
  auto* textLayout = new QVBoxLayout(text);
  textLayout->setContentsMargins(0, 0, 0, 0);
  textLayout->setSpacing(0);
  textLayout->addWidget(reLTxt, 1);
  textLayout->addWidget(complements_);

  auto* info = new QWidget(this);
  auto* infoLayout = new QHBoxLayout(info);
  infoLayout->setContentsMargins(0, 0, 0, 0);
  archive_ = new ArchivePanel(this);
  infoLayout->addWidget(text, 1);
  infoLayout->addWidget(archive_);
  infoLayout->addWidget(totals_);

  splitter_ = new ResizeReportingSplitter([this] { SnapToRows(); }, this);
  splitter_->addWidget(sg);
  splitter_->addWidget(info);
  splitter_->setChildrenCollapsible(false);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({20 * PriceGrid::kRowPitch, infoHeight_});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);

  connect(sg, &PriceGrid::RowElementShown, this, &TitPosPage::ShowLongText);
  connect(sg, &PriceGrid::ValueEntering, this,
          [this](KsGAEBObj* element) { document_->NoteEdit(*element); });
  connect(sg, &PriceGrid::ValueEntered, this, &TitPosPage::Edited);
  connect(sg, &PriceGrid::EmptyEpRequested, this, &TitPosPage::FindEmptyEp);
  connect(sg, &PriceGrid::LastRowPassed, this, &TitPosPage::ContinueIntoNextArea);
  connect(totals_, &TotalsPanel::VatChanged, this, &TitPosPage::Edited);
  connect(complements_, &ComplementPanel::Edited, this, &TitPosPage::Edited);
  connect(archive_, &ArchivePanel::PriceChosen, this, &TitPosPage::TakeArchivePrice);
  connect(totals_, &TotalsPanel::VatEntered, sg, [this] { sg->setFocus(); });
  connect(splitter_, &QSplitter::splitterMoved, sg, &PriceGrid::CommitEdit);
  connect(splitter_, &QSplitter::splitterMoved, this, [this] {
    infoHeight_ = splitter_->sizes().value(1, infoHeight_);
    SnapToRows();
  });

  BuildColumns();
}

TitPosPage::~TitPosPage() = default;

// Computed from the whole height each time, never from the last split: a
// split that only ever handed the odd pixels on would let the grid shrink by
// a row with every resize, and every file opened resizes the page twice.
void TitPosPage::SnapToRows() {
  const QList<int> sizes = splitter_->sizes();
  if (sizes.size() != 2) return;
  const int total = sizes[0] + sizes[1];
  const int header = sg->horizontalHeader()->height();
  const int rows = (total - infoHeight_ - header) / PriceGrid::kRowPitch;
  if (rows < 1) return;
  const int grid = header + rows * PriceGrid::kRowPitch;
  if (grid != sizes[0]) splitter_->setSizes({grid, total - grid});
}

void TitPosPage::BuildColumns() {
  sg->SetColumns(columns_.ShownColumns());
  sg->FitColumns(AreaRows(document_->LvAreas));
}

void TitPosPage::UpdateEpColumns() {
  for (int i = 0; i < fields_.Count(); ++i) {
    const std::string& name = fields_.Items(i).Name();
    if (IsPriceComponent(name)) columns_.SetAvailable(FromCp1252(name), document_->EpBreakdown);
  }
  BuildColumns();
}

void TitPosPage::ShowElement(KsGAEBObj* element) {
  sg->ShowRows(element);
  ShowLongText(element);
}

void TitPosPage::Clear() {
  sg->SetColumns({});
  ShowElement(nullptr);
  complements_->Show(nullptr);
}

void TitPosPage::SetDocument(KsLyxObj& document) {
  Clear();
  place_ = {};
  document_ = &document;
  totals_->SetDocument(document);
  complements_->SetDocument(document);
}

void TitPosPage::ShowArea(KsGAEBObj* area) {
  if (RestorePlace(area)) return;
  ShowElement(area);
  sg->SelectFirstPrice();
}

void TitPosPage::ShowPosition(KsGAEBObj* position) {
  KsGAEBObj* area = position ? position->ParentElement() : nullptr;
  if (!IsAreaRow(area)) return;
  ShowElement(area);
  emit AreaShown(area);
  for (int row = 0; row < sg->Model().rowCount(); ++row)
    if (sg->Model().Element(row) == position) sg->SelectPrice(row);
}

void TitPosPage::FocusVatRate() { totals_->FocusVatRate(); }

void TitPosPage::ActivateFromTab() {
  BuildColumns();
  const KsGAEBObjList* areas = document_->LvAreas;
  KsGAEBObj* area = place_.area;
  if (!area) area = areas && areas->Count() > 0 ? areas->Element(0) : nullptr;
  ShowArea(area);
  emit AreaShown(area);
}

void TitPosPage::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  KsGAEBObj* shown = sg->Model().Element(0);
  if (IsAreaRow(shown)) place_ = {shown, sg->CurrentRow(), sg->CurrentColumn(), sg->TopRow()};
}

bool TitPosPage::RestorePlace(KsGAEBObj* area) {
  if (!area || area != place_.area) return false;
  ShowElement(area);
  sg->verticalScrollBar()->setValue(place_.top);
  if (!sg->SelectCell(place_.row, place_.column)) sg->SelectFirstPrice();
  return true;
}

void TitPosPage::ContinueIntoNextArea(int column) {
  KsGAEBObj* shown = sg->Model().Element(0);
  if (!IsAreaRow(shown)) return;
  const std::vector<GridRow> rows = AreaRows(document_->LvAreas);
  const int first = AreaStart(rows, shown);
  int found = first + sg->Model().rowCount();
  const int count = static_cast<int>(rows.size());
  while (found < count && !IsPositionRow(rows[found].Element)) ++found;
  if (first == count || found >= count) return;
  const std::string name = sg->Model().ColumnName(column);
  KsGAEBObj* area = rows[found].Element->ParentElement();
  for (int depth = AreaDepth(*area); depth > AreaDepth(*shown); --depth)
    area = area->ParentElement();
  int areaRow = found;
  while (rows[areaRow].Element != area) --areaRow;
  ShowElement(area);
  emit AreaShown(area);
  if (!sg->SelectCell(found - areaRow, sg->Model().ColumnOf(name)))
    sg->SelectPrice(found - areaRow);
}

void TitPosPage::ShowHit(KsGAEBObj* element, const QString& word) {
  if (IsPositionRow(element)) {
    ShowPosition(element);
  } else if (IsAreaRow(element)) {
    place_ = {};
    ShowArea(element);
    emit AreaShown(element);
  }
  ShowLongText(element);
  if (!word.isEmpty()) reLTxt->find(word);
}

void TitPosPage::ShowTotals() { totals_->ShowTotals(); }

void TitPosPage::NextEmptyEP() { FindEmptyEp(true); }

void TitPosPage::PreviousEmptyEP() { FindEmptyEp(false); }

void TitPosPage::FindEmptyEp(bool next) {
  if (!sg->FindEmptyEp(next) && sg->Model().ColumnOf("EP") >= 0) ContinueEmptyEpSearch(next);
}

// The rows of all LV areas in the order of the grid; the shown area's rows
// are a stretch of them, and the search goes on beyond its ends.
void TitPosPage::ContinueEmptyEpSearch(bool next) {
  KsGAEBObj* shown = sg->Model().Element(0);
  if (!IsAreaRow(shown)) return;
  const std::vector<GridRow> rows = AreaRows(document_->LvAreas);
  const int first = AreaStart(rows, shown);
  const int count = static_cast<int>(rows.size());
  if (first == count) return;
  const auto isEmpty = [&rows](int i) {
    return IsPositionRow(rows[i].Element) && HasEmptyUnitPrice(*rows[i].Element);
  };
  int found = next ? first + sg->Model().rowCount() : first - 1;
  while (found >= 0 && found < count && !isEmpty(found)) found += next ? 1 : -1;
  if (found < 0 || found >= count) return;

  KsGAEBObj* area = rows[found].Element->ParentElement();
  for (int depth = AreaDepth(*area); depth > AreaDepth(*shown); --depth)
    area = area->ParentElement();
  int areaRow = found;
  while (rows[areaRow].Element != area) --areaRow;
  ShowElement(area);
  emit AreaShown(area);
  sg->SelectCell(found - areaRow, sg->Model().ColumnOf("EP"));
}

void TitPosPage::SetLongTextFontSize(int points) {
  QFont font = reLTxt->font();
  font.setPointSize(points);
  reLTxt->setFont(font);
}

int TitPosPage::LongTextFontSize() const { return reLTxt->font().pointSize(); }

void TitPosPage::CommitEdit() { sg->CommitEdit(); }

// The element's number ("OZ", its first member), then its long text.
void TitPosPage::ShowLongText(KsGAEBObj* element) {
  complements_->Show(element);
  archive_->Show(*document_, element);
  if (!element) {
    reLTxt->clear();
    return;
  }
  std::string text = element->Members.Count() > 0 ? element->Members.Get(0).GetAsString() : "";
  text += "\n";
  if (IsPositionRow(element))
    text += LongText(*element);
  else if (IsAreaRow(element))
    text += AreaLongText(*element);
  // Every line break of the text (CR LF, or a lone CR or LF) starts a new line.
  reLTxt->setPlainText(FromCp1252(ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n")));
}

void TitPosPage::TakeArchivePrice(KsGAEBObj* position, const ArchiveEntry& entry) {
  CommitEdit();
  OfferedValues values;
  values.Ep = entry.Position.Ep;
  values.Components = entry.Position.Components;
  PriceTakeOver plan;
  PlanPositionValues(values, *position, plan);
  if (!plan.Refusals.empty()) {
    MessageBoxes().ShowMessage(plan.Refusals.front());
    return;
  }
  if (!plan.Questions.empty() && !MessageBoxes().AskYesNo(plan.Questions.front() + " \xDC"
                                                                                   "bernehmen?"))
    return;
  try {
    ApplyEntries(*document_, plan.Entries);
  } catch (const EntryError& e) {
    MessageBoxes().ShowMessage(e.what());
  }
  emit Edited();  // the step closes, whether it holds the price or nothing
  ShowTotals();
  sg->viewport()->update();
  for (int row = 0; row < sg->Model().rowCount(); ++row)
    if (sg->Model().Element(row) == position) sg->SelectPrice(row);
  sg->setFocus();
}
